// Orvane: the process entry. No command line is read; the exit code is 0.
#include <QApplication>

#include "app/application.h"

int main(int argc, char** argv) {
  QApplication toolkit(argc, argv);
  int code = 0;
  {
    orvane::Application app;
    app.Start();
    code = app.Run();
  }  // the exit routine runs here, while the toolkit still exists
  return code;
}
