// orvane-drive: builds the real application (real Qt window, libcurl, libmpv)
// against a given service and runs a script of user actions from standard
// input. See README.md beside this file.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "app/application.h"
#include "driver.h"
#ifdef ORVANE_HAVE_STATION
#include "station/station.h"
#endif

namespace {

constexpr char kScreenConfig[] =
    R"({"windowFrameMargins":false,"screens":[{"name":"s","x":0,"y":0,"width":1366,)"
    R"("height":768,"logicalDpi":96,"dpr":1}]})";

void Usage() {
  std::fprintf(stderr,
               "usage: orvane-drive [--service BASE_URL | --station] [--run-dir DIR]\n"
               "                    [--audio] [--display] [--interactive] [--timing]\n"
               "Reads commands from standard input, one a line:\n"
               "  click NAME | press NAME | release NAME | select NAME INDEX | slide NAME POS\n"
               "  check NAME 0|1 | colour NAME VALUE | wait MS | pointer X Y | move X Y\n"
               "  waitstate STATE MS | stats | fault ENDPOINT FAULT [TIMES [MS]] | fault clear\n"
               "  dump | shot DIR | close\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string service, runDir;
  bool audio = false, display = false, interactive = false, station = false, timing = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--service" && i + 1 < argc) {
      service = argv[++i];
    } else if (arg == "--run-dir" && i + 1 < argc) {
      runDir = argv[++i];
    } else if (arg == "--audio") {
      audio = true;
    } else if (arg == "--display") {
      display = true;
    } else if (arg == "--interactive") {
      interactive = true;
    } else if (arg == "--timing") {
      timing = true;
    } else if (arg == "--station") {
      station = true;
    } else {
      Usage();
      return 2;
    }
  }

  // Offscreen with an exact 1366 x 768 screen unless told to use the display.
  QString screenFile;
  if (!display) {
    screenFile = QDir::temp().filePath(QString("orvane-drive-screen-%1.json").arg(getpid()));
    QFile f(screenFile);
    if (f.open(QIODevice::WriteOnly)) f.write(kScreenConfig);
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screenFile).toUtf8());
  }

  // Our options are not Qt's: Qt would read --display as the X display's name.
  int toolkitArgc = 1;
  QApplication toolkit(toolkitArgc, argv);

#ifdef ORVANE_HAVE_STATION
  std::unique_ptr<orvane::station::Station> local;
  if (station) {
    local = std::make_unique<orvane::station::Station>();
    if (!local->Start(0)) {
      std::fprintf(stderr, "orvane-drive: the local station did not start\n");
      return 1;
    }
    service = local->BaseUrl();
    std::fprintf(stderr, "orvane-drive: local station at %s\n", service.c_str());
  }
#else
  if (station) {
    std::fprintf(stderr, "orvane-drive: built without the local station\n");
    return 2;
  }
#endif

  orvane::ApplicationOptions options;
  if (!service.empty()) {
    options.service.api = service;
    options.service.music = service;
  }
  if (!runDir.empty()) {
    QDir().mkpath(QString::fromStdString(runDir));
    options.runDirectory = QDir(QString::fromStdString(runDir)).absolutePath().toStdString();
  }
  options.nullAudio = !audio;
  options.recordUrls = true;

  int code = 0;
  {
    orvane::Application app(options);
    app.Start();
    if (interactive) {
      code = app.Run();
    } else {
      orvane::station::Station* inProcess = nullptr;
#ifdef ORVANE_HAVE_STATION
      inProcess = local.get();
#endif
      orvane::drive::Driver driver(app, std::cout, inProcess, timing);
      std::string line;
      bool running = true;
      while (running && std::getline(std::cin, line)) running = driver.Execute(line);
      // End of input without `close`: close as the user would.
      if (running) driver.Execute("close");
      code = driver.exitCode();
    }
  }
  if (!screenFile.isEmpty()) QFile::remove(screenFile);
  return code;
}
