#pragma once
// Everything a handler reaches: the program state, the main window's controls
// and the desktop services. Built once by the application (or by a test with
// fakes) and passed to every handler by reference.

#include <string>

#include "app/program_state.h"
#include "platform/desktop.h"
#include "platform/http_get.h"
#include "platform/ui.h"

namespace orvane {

struct Context {
  ProgramState& state;
  Ui& ui;
  Screen& screen;
  Clipboard& clipboard;
  Shell& shell;
  HttpGetter& http;          // the toolkit's blocking GET: covers and album pages
  std::string runDirectory;  // where gcsz.ini lives, without a trailing '/'
};

}  // namespace orvane
