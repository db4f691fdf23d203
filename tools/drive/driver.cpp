#include "driver.h"

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <sstream>

#include "json_writer.h"
#include "platform/qt_desktop.h"
#include "platform/qt_ui.h"
#ifdef ORVANE_HAVE_STATION
#include "station/station.h"
#include "station/station_names.h"
#endif

namespace orvane::drive {
namespace {

std::vector<std::string> Split(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

bool ToInt(const std::string& s, long long& v) {
  try {
    std::size_t used = 0;
    v = std::stoll(s, &used, 0);
    return used == s.size();
  } catch (...) {
    return false;
  }
}

void Geometry(JsonWriter& j, const Ui& ui, std::string_view name) {
  j.Key("visible").Bool(ui.Visible(name));
  j.Key("left").Int(ui.Left(name));
  j.Key("top").Int(ui.Top(name));
  j.Key("width").Int(ui.Width(name));
  j.Key("height").Int(ui.Height(name));
}

}  // namespace

void Driver::Error(const std::string& what) {
  JsonWriter j;
  j.BeginObject().Key("error").String(what).EndObject();
  out_ << j.str() << std::endl;
}

void Driver::Wait(int ms) {
  // A real event loop that sleeps between events: the driver itself must not
  // burn CPU, or the benchmarks would measure it instead of the program.
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  if (!app_.closed()) loop.exec();
  QCoreApplication::processEvents();
}

bool Driver::Execute(const std::string& line) {
  const auto w = Split(line);
  if (w.empty() || w[0][0] == '#') return true;
  QElapsedTimer t;
  t.start();
  const bool more = Run(w, line);
  if (timing_ && w[0] != "close") {
    JsonWriter j;
    j.BeginObject().Key("command").String(line).Key("ms").Int(t.elapsed()).EndObject();
    out_ << j.str() << std::endl;
  }
  return more;
}

void Driver::Fault(const std::vector<std::string>& w) {
#ifdef ORVANE_HAVE_STATION
  if (station_ == nullptr) return Error("fault needs --station");
  if (w.size() == 2 && w[1] == "clear") {
    station_->ClearFaults();
    return;
  }
  station::Endpoint endpoint{};
  station::FaultSpec rule;
  long long times = -1, ms = 0;
  if (w.size() < 3 || !station::ParseEndpoint(w[1], endpoint) ||
      !station::ParseFaultName(w[2], rule.fault) || (w.size() > 3 && !ToInt(w[3], times)) ||
      (w.size() > 4 && !ToInt(w[4], ms)))
    return Error("usage: fault ENDPOINT FAULT [TIMES [MS]] | fault clear");
  rule.times = static_cast<int>(times);
  rule.delayMs = static_cast<int>(ms);
  station_->SetFault(endpoint, rule);
#else
  (void)w;
  Error("built without the local station");
#endif
}

bool Driver::Run(const std::vector<std::string>& w, const std::string& line) {
  QtUi& ui = app_.ui();
  const std::string& cmd = w[0];
  long long a = 0, b = 0;
  if (cmd == "click" && w.size() == 2) {
    ui.Click(w[1]);
  } else if (cmd == "press" && w.size() == 2) {
    ui.Press(w[1]);
  } else if (cmd == "release" && w.size() == 2) {
    ui.Release(w[1]);
  } else if (cmd == "select" && w.size() == 3 && ToInt(w[2], a)) {
    ui.Select(w[1], static_cast<int>(a));
  } else if (cmd == "slide" && w.size() == 3 && ToInt(w[2], a)) {
    ui.Slide(w[1], static_cast<int>(a));
  } else if (cmd == "check" && w.size() == 3 && ToInt(w[2], a)) {
    ui.CheckBox(w[1], a != 0);
  } else if (cmd == "colour" && w.size() == 3 && ToInt(w[2], a)) {
    ui.PickColour(w[1], static_cast<std::int32_t>(a));
  } else if (cmd == "wait" && w.size() == 2 && ToInt(w[1], a)) {
    Wait(static_cast<int>(a));
  } else if (cmd == "pointer" && w.size() == 3 && ToInt(w[1], a) && ToInt(w[2], b)) {
    app_.desktop().SetPointerOverride(static_cast<int>(a), static_cast<int>(b));
  } else if (cmd == "move" && w.size() == 3 && ToInt(w[1], a) && ToInt(w[2], b)) {
    ui.Move(Ui::kWindow, static_cast<int>(a), static_cast<int>(b));
    QCoreApplication::processEvents();
  } else if (cmd == "waitstate" && w.size() == 3 && ToInt(w[1], a) && ToInt(w[2], b)) {
    WaitState(static_cast<int>(a), static_cast<int>(b));
  } else if (cmd == "queue" && w.size() >= 2) {
#ifdef ORVANE_HAVE_STATION
    if (station_) station_->QueueSongs(std::vector<std::string>(w.begin() + 1, w.end()));
#endif
  } else if (cmd == "fault") {
    Fault(w);
  } else if (cmd == "stats" && w.size() == 1) {
    Stats();
  } else if (cmd == "dump" && w.size() == 1) {
    Dump();
  } else if (cmd == "shot" && w.size() == 2) {
    Shot(w[1]);
  } else if (cmd == "close" && w.size() == 1) {
    ui.Close();
    Wait(0);
    exitCode_ = app_.Run();
    JsonWriter j;
    j.BeginObject().Key("exit").Int(exitCode_).EndObject();
    out_ << j.str() << std::endl;
    return false;
  } else {
    Error("unknown command: " + line);
  }
  return true;
}

void Driver::WaitState(int state, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  MediaPlayer* player = app_.state().player.get();
  bool reached = false;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (player && player->GetPlayState() == state) {
      reached = true;
      loop.quit();
    } else if (t.elapsed() > timeoutMs || app_.closed()) {
      loop.quit();
    }
  });
  reached = player && player->GetPlayState() == state;
  if (!reached) {
    poll.start(2);
    loop.exec();
  }
  JsonWriter j;
  j.BeginObject()
      .Key("waitstate")
      .Int(state)
      .Key("reached")
      .Bool(reached)
      .Key("ms")
      .Int(t.elapsed())
      .EndObject();
  out_ << j.str() << std::endl;
}

void Driver::Stats() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const long long cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000LL +
                          (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
  long long rssKb = 0, peakKb = 0;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      std::sscanf(line, "VmRSS: %lld", &rssKb);
      std::sscanf(line, "VmHWM: %lld", &peakKb);
    }
    std::fclose(f);
  }
  JsonWriter j;
  j.BeginObject()
      .Key("cpuMs")
      .Int(cpuMs)
      .Key("rssKb")
      .Int(rssKb)
      .Key("peakRssKb")
      .Int(peakKb)
      .EndObject();
  out_ << j.str() << std::endl;
}

void Driver::Shot(const std::string& dir) {
  QDir().mkpath(QString::fromStdString(dir));
  const QString base = QString::fromStdString(dir);
  QtUi& ui = app_.ui();
  const bool mainOk = ui.window()->grab().save(base + "/main.png");
  bool overlayOk = false;
  if (auto* overlay = app_.state().lyricsWindow.get()) {
    QImage picture = overlay->Picture();
    overlayOk = !picture.isNull() && picture.save(base + "/overlay.png");
  }
  // On a real display, also the whole screen: the overlay over what lies below.
  bool desktopOk = false;
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
      desktopOk = screen->grabWindow(0).save(base + "/desktop.png");
  }
  JsonWriter j;
  j.BeginObject()
      .Key("main")
      .String(mainOk ? dir + "/main.png" : "")
      .Key("overlay")
      .String(overlayOk ? dir + "/overlay.png" : "");
  if (desktopOk) j.Key("desktop").String(dir + "/desktop.png");
  j.EndObject();
  out_ << j.str() << std::endl;
}

void Driver::Dump() {
  QtUi& ui = app_.ui();
  ProgramState& st = app_.state();
  JsonWriter j;
  j.BeginObject();

  j.Key("window").BeginObject();
  j.Key("title").String(ui.Caption(Ui::kWindow));
  j.Key("left").Int(ui.Left(Ui::kWindow));
  j.Key("top").Int(ui.Top(Ui::kWindow));
  j.Key("width").Int(ui.Width(Ui::kWindow));
  j.Key("height").Int(ui.Height(Ui::kWindow));
  j.EndObject();

  j.Key("controls").BeginObject();
  for (const std::string& name : ui.ControlNames()) {
    const std::string kind = ui.KindOf(name);
    j.Key(name).BeginObject();
    j.Key("kind").String(kind);
    if (kind == "timer") {
      j.Key("period").Int(ui.Period(name));
      j.EndObject();
      continue;
    }
    Geometry(j, ui, name);
    if (kind == "label" || kind == "push button" || kind == "check box" || kind == "group box")
      j.Key("caption").String(ui.Caption(name));
    if (kind == "picture box") {
      j.Key("picture").Bool(ui.HasPicture(name));
      j.Key("pointer").String(ui.Pointer(name) == MousePointer::Hand ? "hand" : "default");
      j.Key("animation").Bool(ui.AnimationRunning(name));
    }
    if (kind == "check box") j.Key("checked").Bool(ui.Checked(name));
    if (kind == "combo box") {
      const int sel = ui.SelectedItem(name);
      j.Key("selected").Int(sel);
      j.Key("text").String(ui.ItemText(name, sel));
      j.Key("count").Int(ui.ItemCount(name));
    }
    if (kind == "slider") j.Key("position").Int(ui.SliderPosition(name));
    if (kind == "colour picker") j.Key("colour").Int(ui.Colour(name));
    j.EndObject();
  }
  j.EndObject();

  j.Key("overlay").BeginObject();
  if (LyricsWindow* o = st.lyricsWindow.get()) {
    j.Key("created").Bool(o->IsCreated());
    j.Key("visible").Bool(o->IsShown());
    j.Key("text").String(o->TextUtf8());
    j.Key("left").Int(o->GetLeft());
    j.Key("top").Int(o->GetTop());
    j.Key("width").Int(o->GetWidth());
    j.Key("height").Int(o->GetHeight());
  }
  j.EndObject();

  j.Key("state").BeginObject();
  j.Key("channelId").String(st.channelId);
  j.Key("channelName").String(st.channelName);
  j.Key("overlayShown").String(st.overlayShown);
  const CurrentSong& s = st.currentSong;
  j.Key("currentSong").BeginObject();
  j.Key("status").String(s.status);
  j.Key("album").String(s.album);
  j.Key("info").BeginArray();
  for (int slot = 1; slot <= 6; ++slot) j.String(s.info(slot));
  j.EndArray();
  j.Key("sid").String(s.sid);
  j.Key("ssid").String(s.ssid);
  j.Key("kbps").String(s.kbps);
  j.Key("lyricResponse").String(s.lyricResponse);
  j.Key("lyricText").String(s.lyricText);
  j.EndObject();
  j.EndObject();

  j.Key("player").BeginObject();
  if (MediaPlayer* p = st.player.get()) {
    j.Key("state").Int(p->GetPlayState());
    j.Key("position").Double(p->GetPosition());
    j.Key("duration").Double(p->GetDuration());
    MediaControl* c = p->control();
    j.Key("volume").Int(c ? c->Volume() : 0);
    j.Key("url").String(c ? c->Url() : "");
  }
  j.EndObject();

  j.Key("clipboard").String(app_.desktop().Text());
  j.Key("opened").BeginArray();
  for (const std::string& url : app_.desktop().OpenedUrls()) j.String(url);
  j.EndArray();
  j.Key("settingsFile").String(app_.settingsPath());
  j.EndObject();
  out_ << j.str() << std::endl;
}

}  // namespace orvane::drive
