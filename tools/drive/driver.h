#pragma once
// Runs the driver's script commands against a started Application.

#include <ostream>
#include <string>
#include <vector>

#include "app/application.h"

namespace orvane::drive {

class Driver {
 public:
  Driver(Application& app, std::ostream& out) : app_(app), out_(out) {}
  // Runs one command line; returns false after `close` (the script ends).
  bool Execute(const std::string& line);
  void Dump();
  int exitCode() const { return exitCode_; }

 private:
  void Wait(int ms);
  void WaitState(int state, int timeoutMs);
  void Stats();
  void Shot(const std::string& dir);
  void Error(const std::string& what);

  Application& app_;
  std::ostream& out_;
  int exitCode_ = 0;
};

}  // namespace orvane::drive
