#pragma once
// Runs the real program through orvane-drive against an in-process station
// and hands back what the script printed, each line parsed as JSON.

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace orvane::e2e {

struct DriveResult {
  std::vector<QJsonObject> lines;  // every line of standard output, in order
  QByteArray stderrText;
  int exitCode = -1;
  bool finished = false;

  // The dumps only (lines with a "window" member), in order.
  std::vector<QJsonObject> dumps() const;
  QJsonObject lastDump() const;
};

// `service` is the base URL for both the API and the music site; empty when
// the extra arguments say where the service is (--station).
DriveResult RunDrive(const std::string& service, const std::string& runDir,
                     const std::string& script, int timeoutMs = 120000,
                     const QStringList& extraArgs = {});

// Shorthands into a dump.
QJsonObject Control(const QJsonObject& dump, const char* name);
QString Caption(const QJsonObject& dump, const char* name);
QJsonObject SongOf(const QJsonObject& dump);

}  // namespace orvane::e2e
