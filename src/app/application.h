#pragma once
// The application: builds ProgramState with its three long-lived objects, the
// real main window and the desktop services, runs the start-up sequence, and
// on destruction runs the exit routine. main.cpp uses it with the service's
// real addresses; the driver and the demo point it at the local station.

#include <memory>
#include <string>

#include "app/context.h"
#include "app/program_state.h"

namespace orvane {

class QtUi;
class QtDesktop;
class CurlHttpGetter;

struct ApplicationOptions {
  ServiceAddresses service;
  std::string runDirectory;  // empty: the directory of the program file
  bool nullAudio = false;    // no sound output (tests, the driver)
  bool recordUrls = false;   // record the URLs the shell would open instead of opening them
};

class Application {
 public:
  explicit Application(ApplicationOptions options = {});
  ~Application();  // the exit routine
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up steps 2 to 5: the program-wide objects, the overlay's set-up, and
  // the main window with its creation handler; the window is shown at the end.
  void Start();
  // The message loop until the main window has been closed; always 0.
  int Run();

  ProgramState& state() { return state_; }
  QtUi& ui() { return *ui_; }
  QtDesktop& desktop() { return *desktop_; }
  Context& context() { return *context_; }
  const std::string& runDirectory() const { return options_.runDirectory; }
  std::string settingsPath() const { return options_.runDirectory + "/gcsz.ini"; }
  bool closed() const { return closed_; }

 private:
  void ExitRoutine();

  ApplicationOptions options_;
  ProgramState state_;
  std::unique_ptr<QtDesktop> desktop_;
  std::unique_ptr<CurlHttpGetter> http_;
  std::unique_ptr<QtUi> ui_;
  std::unique_ptr<Context> context_;
  bool closed_ = false;
  bool exited_ = false;
};

}  // namespace orvane
