#include "e2e/drive_session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

namespace orvane::e2e {

std::vector<QJsonObject> DriveResult::dumps() const {
  std::vector<QJsonObject> out;
  for (const QJsonObject& o : lines)
    if (o.contains("window")) out.push_back(o);
  return out;
}

QJsonObject DriveResult::lastDump() const {
  auto d = dumps();
  return d.empty() ? QJsonObject{} : d.back();
}

DriveResult RunDrive(const std::string& service, const std::string& runDir,
                     const std::string& script, int timeoutMs, const QStringList& extraArgs) {
  DriveResult result;
  QProcess proc;
  QStringList args{"--run-dir", QString::fromStdString(runDir)};
  if (!service.empty()) args << "--service" << QString::fromStdString(service);
  args << extraArgs;
  proc.start(QStringLiteral(ORVANE_DRIVE_PATH), args);
  if (!proc.waitForStarted(10000)) return result;
  proc.write(QByteArray::fromStdString(script));
  proc.closeWriteChannel();
  result.finished = proc.waitForFinished(timeoutMs);
  if (!result.finished) {
    proc.kill();
    proc.waitForFinished(5000);
  }
  result.exitCode = proc.exitCode();
  result.stderrText = proc.readAllStandardError();
  const QList<QByteArray> out = proc.readAllStandardOutput().split('\n');
  for (const QByteArray& line : out) {
    if (line.trimmed().isEmpty()) continue;
    QJsonDocument doc = QJsonDocument::fromJson(line);
    if (doc.isObject()) result.lines.push_back(doc.object());
  }
  return result;
}

QJsonObject Control(const QJsonObject& dump, const char* name) {
  return dump["controls"].toObject()[QString::fromUtf8(name)].toObject();
}

QString Caption(const QJsonObject& dump, const char* name) {
  return Control(dump, name)["caption"].toString();
}

QJsonObject SongOf(const QJsonObject& dump) {
  return dump["state"].toObject()["currentSong"].toObject();
}

}  // namespace orvane::e2e
