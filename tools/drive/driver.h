#pragma once
// Runs the driver's script commands against a started Application.

#include <ostream>
#include <string>
#include <vector>

#include "app/application.h"

namespace orvane::station {
class Station;
}

namespace orvane::drive {

class Driver {
 public:
  // `station` is the in-process station when the driver started one (the
  // `fault` command needs it); `timing` prints each command's duration.
  Driver(Application& app, std::ostream& out, station::Station* station = nullptr,
         bool timing = false)
      : app_(app), out_(out), station_(station), timing_(timing) {}
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
  bool Run(const std::vector<std::string>& words, const std::string& line);
  void Fault(const std::vector<std::string>& words);

  Application& app_;
  std::ostream& out_;
  station::Station* station_;
  bool timing_;
  int exitCode_ = 0;
};

}  // namespace orvane::drive
