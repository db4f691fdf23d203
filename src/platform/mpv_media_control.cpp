#include "platform/mpv_media_control.h"

#include <dlfcn.h>
#include <mpv/client.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>

#include "platform/text.h"

namespace orvane {
namespace {

// libmpv is opened with the first song rather than linked: it brings some
// 180 libraries of its own (FFmpeg, the sound servers, the GPU stacks), and
// loading them at process start cost most of the time to the first window.
struct MpvApi {
  bool loaded = false;
  decltype(&::mpv_command_async) command_async = nullptr;
  decltype(&::mpv_create) create = nullptr;
  decltype(&::mpv_error_string) error_string = nullptr;
  decltype(&::mpv_get_property_async) get_property_async = nullptr;
  decltype(&::mpv_initialize) initialize = nullptr;
  decltype(&::mpv_observe_property) observe_property = nullptr;
  decltype(&::mpv_set_option_string) set_option_string = nullptr;
  decltype(&::mpv_set_property_async) set_property_async = nullptr;
  decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
  decltype(&::mpv_wait_event) wait_event = nullptr;
  decltype(&::mpv_wakeup) wakeup = nullptr;
};

const MpvApi& Mpv() {
  static const MpvApi api = [] {
    MpvApi a;
    void* lib = ::dlopen("libmpv.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!lib) lib = ::dlopen("libmpv.so", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return a;
    bool all = true;
    auto bind = [&](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(::dlsym(lib, name));
      all = all && fn != nullptr;
    };
    bind(a.command_async, "mpv_command_async");
    bind(a.create, "mpv_create");
    bind(a.error_string, "mpv_error_string");
    bind(a.get_property_async, "mpv_get_property_async");
    bind(a.initialize, "mpv_initialize");
    bind(a.observe_property, "mpv_observe_property");
    bind(a.set_option_string, "mpv_set_option_string");
    bind(a.set_property_async, "mpv_set_property_async");
    bind(a.terminate_destroy, "mpv_terminate_destroy");
    bind(a.wait_event, "mpv_wait_event");
    bind(a.wakeup, "mpv_wakeup");
    a.loaded = all;
    return a;  // the library stays loaded until the process ends
  }();
  return api;
}

using Clock = std::chrono::steady_clock;

// Where the open song is. The play state code is derived from this together
// with the observed "pause", "paused-for-cache" and "seeking".
enum class Phase {
  kNothing,  // never loaded
  kLoading,  // loadfile sent, file not open yet
  kOpened,   // FILE_LOADED, no PLAYBACK_RESTART yet
  kRunning,  // playback has started
  kEnded,    // reached its end, not yet reported
  kStopped,
  kFailed,
};

// Observed properties, by their reply_userdata.
enum Observed : std::uint64_t {
  kTimePos = 1,
  kDuration,
  kPause,
  kCoreIdle,
  kPausedForCache,
  kCacheBufferingState,
  kIdleActive,
  kEofReached,
  kVolume,
  kMute,
  kMetadata,
  kAudioBitrate,
  kSeeking,
};

// Asynchronous requests whose replies matter carry the load generation in the
// upper bits and what they were in the lowest byte.
enum ReplyTag : std::uint64_t {
  kUntracked = 0,
  kLoadReply = 1,
  kDurationReply = 2,
  kMetadataReply = 3
};
std::uint64_t ReplyId(std::uint64_t generation, ReplyTag tag) {
  return (generation << 8) | tag;
}

struct ObservedSpec {
  Observed id;
  const char* name;
  mpv_format format;
};
constexpr ObservedSpec kObserved[] = {
    {kTimePos, "time-pos", MPV_FORMAT_DOUBLE},
    {kDuration, "duration", MPV_FORMAT_DOUBLE},
    {kPause, "pause", MPV_FORMAT_FLAG},
    {kCoreIdle, "core-idle", MPV_FORMAT_FLAG},
    {kPausedForCache, "paused-for-cache", MPV_FORMAT_FLAG},
    {kCacheBufferingState, "cache-buffering-state", MPV_FORMAT_INT64},
    {kIdleActive, "idle-active", MPV_FORMAT_FLAG},
    {kEofReached, "eof-reached", MPV_FORMAT_FLAG},
    {kVolume, "volume", MPV_FORMAT_DOUBLE},
    {kMute, "mute", MPV_FORMAT_FLAG},
    {kMetadata, "metadata", MPV_FORMAT_NODE},
    {kAudioBitrate, "audio-bitrate", MPV_FORMAT_DOUBLE},
    {kSeeking, "seeking", MPV_FORMAT_FLAG},
};

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool IsHttpUrl(std::string_view url) {
  std::string head = Lowered(url.substr(0, 8));
  return head.starts_with("http://") || head.starts_with("https://");
}

std::map<std::string, std::string> MetadataFrom(const mpv_node& node) {
  std::map<std::string, std::string> out;
  if (node.format != MPV_FORMAT_NODE_MAP || !node.u.list) return out;
  const mpv_node_list& list = *node.u.list;
  for (int i = 0; i < list.num; ++i)
    if (list.values[i].format == MPV_FORMAT_STRING && list.keys[i] && list.values[i].u.string)
      out[Lowered(list.keys[i])] = list.values[i].u.string;
  return out;
}

std::int64_t EntryIdFrom(const mpv_node& result) {
  if (result.format != MPV_FORMAT_NODE_MAP || !result.u.list) return 0;
  const mpv_node_list& list = *result.u.list;
  for (int i = 0; i < list.num; ++i)
    if (list.keys[i] && std::string_view(list.keys[i]) == "playlist_entry_id" &&
        list.values[i].format == MPV_FORMAT_INT64)
      return list.values[i].u.int64;
  return 0;
}

void SetOption(mpv_handle* mpv, const char* name, const char* value) {
  // An option this libmpv build does not know is not worth failing for.
  Mpv().set_option_string(mpv, name, value);
}

}  // namespace

struct MpvMediaControl::Impl {
  mpv_handle* mpv = nullptr;
  std::thread events;
  // libmpv starts with the first song: until then the program holds none of
  // its memory or threads. Touched on the owning thread only.
  MpvSettings settings;
  bool startTried = false;
  bool Start();

  mutable std::mutex mu;
  // Everything below is guarded by mu.
  bool quitting = false;
  std::chrono::seconds stallLimit{0};
  std::optional<Clock::time_point> waitingSince;
  std::string url;
  mutable Phase phase = Phase::kNothing;
  // Bumped by every load and stop: replies to older requests are ignored.
  std::uint64_t generation = 0;
  bool replyPending = false;
  // Playlist entry of the current load; 0 while unknown (the next START_FILE
  // is adopted), -1 when there is none.
  std::int64_t entry = -1;
  bool entryStarted = false;
  std::string failure;
  int loadRequests = 0;

  bool pause = false;
  bool pausedForCache = false;
  bool seeking = false;
  bool coreIdle = true;
  bool idleActive = true;
  double volume = 100;
  bool mute = false;
  int playCount = 1;

  double position = 0;
  double duration = 0;
  double bitrate = 0;
  int cacheFill = 0;
  int bufferingCount = 0;
  std::map<std::string, std::string> metadata;

  bool FileOpen() const { return phase == Phase::kOpened || phase == Phase::kRunning; }
  bool OurFileActive() const {
    return entryStarted &&
           (phase == Phase::kLoading || phase == Phase::kOpened || phase == Phase::kRunning);
  }

  int Code() const {
    switch (phase) {
      case Phase::kNothing:
        return kPlayStateUndefined;
      case Phase::kLoading:
        return kPlayStateTransitioning;
      case Phase::kOpened:
        return pause ? kPlayStatePaused : kPlayStateBuffering;
      case Phase::kRunning:
        if (pause) return kPlayStatePaused;
        return (pausedForCache || seeking) ? kPlayStateBuffering : kPlayStatePlaying;
      case Phase::kEnded:
        return kPlayStateMediaEnded;
      case Phase::kStopped:
        return kPlayStateStopped;
      case Phase::kFailed:
        return kPlayStateReady;
    }
    return kPlayStateUndefined;
  }

  void ResetMedia() {
    position = duration = bitrate = 0;
    cacheFill = 0;
    bufferingCount = 0;
    pausedForCache = seeking = false;
    metadata.clear();
    failure.clear();
  }

  void Fail(std::string why) {
    phase = Phase::kFailed;
    failure = std::move(why);
    entryStarted = false;
  }

  // Starts loading `playUrl` (already checked and unescaped). Called with mu held;
  // libmpv's asynchronous calls only queue the request, so holding the lock is cheap.
  void BeginLoad(const std::string& playUrl) {
    ++generation;
    replyPending = true;
    entry = 0;
    entryStarted = false;
    ResetMedia();
    phase = Phase::kLoading;
    ++loadRequests;
    // A new song always starts playing, whatever the last one was left at.
    int no = 0;
    pause = false;
    Mpv().set_property_async(mpv, kUntracked, "pause", MPV_FORMAT_FLAG, &no);
    const char* args[] = {"loadfile", playUrl.c_str(), "replace", nullptr};
    if (Mpv().command_async(mpv, ReplyId(generation, kLoadReply), args) < 0) {
      replyPending = false;
      Fail("cannot queue the load");
    }
  }

  void StopPlayback() {
    ++generation;
    replyPending = false;
    entry = -1;
    entryStarted = false;
    position = 0;
    const char* args[] = {"stop", nullptr};
    Mpv().command_async(mpv, kUntracked, args);
  }

  void OnEvent(const mpv_event& e) {
    switch (e.event_id) {
      case MPV_EVENT_COMMAND_REPLY:
        OnLoadReply(e);
        break;
      case MPV_EVENT_START_FILE: {
        auto id = static_cast<const mpv_event_start_file*>(e.data)->playlist_entry_id;
        if (phase == Phase::kLoading && !replyPending && (entry == 0 || entry == id)) {
          entry = id;
          entryStarted = true;
        }
        break;
      }
      case MPV_EVENT_FILE_LOADED:
        if (phase == Phase::kLoading && entryStarted) {
          phase = Phase::kOpened;
          ++bufferingCount;
          // A song may report the same duration and tags as the one before, and
          // then no property change follows: ask once for this file's own.
          Mpv().get_property_async(mpv, ReplyId(generation, kDurationReply), "duration",
                                   MPV_FORMAT_DOUBLE);
          Mpv().get_property_async(mpv, ReplyId(generation, kMetadataReply), "metadata",
                                   MPV_FORMAT_NODE);
        }
        break;
      case MPV_EVENT_PLAYBACK_RESTART:
        if (FileOpen() && entryStarted) phase = Phase::kRunning;
        break;
      case MPV_EVENT_END_FILE:
        OnEndFile(*static_cast<const mpv_event_end_file*>(e.data));
        break;
      case MPV_EVENT_PROPERTY_CHANGE:
        OnProperty(e.reply_userdata, *static_cast<const mpv_event_property*>(e.data));
        break;
      case MPV_EVENT_GET_PROPERTY_REPLY:
        OnGetReply(e);
        break;
      default:
        break;
    }
  }

  void OnLoadReply(const mpv_event& e) {
    if (!replyPending || e.reply_userdata != ReplyId(generation, kLoadReply)) return;
    replyPending = false;
    if (e.error < 0) {
      Fail(Mpv().error_string(e.error));
      return;
    }
    entry = EntryIdFrom(static_cast<const mpv_event_command*>(e.data)->result);
  }

  void OnEndFile(const mpv_event_end_file& end) {
    if (replyPending || !OurFileActive() || end.playlist_entry_id != entry) return;
    switch (end.reason) {
      case MPV_END_FILE_REASON_EOF:
        phase = Phase::kEnded;
        entryStarted = false;
        break;
      case MPV_END_FILE_REASON_ERROR:
        Fail(Mpv().error_string(end.error));
        break;
      case MPV_END_FILE_REASON_REDIRECT:
        // A playlist in place of the stream: follow its first entry.
        entry = end.playlist_insert_id;
        entryStarted = false;
        phase = Phase::kLoading;
        break;
      default:
        phase = Phase::kStopped;
        entryStarted = false;
        break;
    }
  }

  void OnGetReply(const mpv_event& e) {
    if (e.error < 0 || !FileOpen()) return;
    const auto& p = *static_cast<const mpv_event_property*>(e.data);
    if (e.reply_userdata == ReplyId(generation, kDurationReply) && p.format == MPV_FORMAT_DOUBLE)
      duration = *static_cast<const double*>(p.data);
    if (e.reply_userdata == ReplyId(generation, kMetadataReply) && p.format == MPV_FORMAT_NODE)
      metadata = MetadataFrom(*static_cast<const mpv_node*>(p.data));
  }

  void OnProperty(std::uint64_t id, const mpv_event_property& p) {
    const bool has = p.format != MPV_FORMAT_NONE && p.data != nullptr;
    auto flag = [&] { return has && p.format == MPV_FORMAT_FLAG && *static_cast<int*>(p.data); };
    auto real = [&] { return *static_cast<double*>(p.data); };
    switch (id) {  // properties of the player, whatever is loaded
      case kPause:
        pause = flag();
        return;
      case kVolume:
        if (has && p.format == MPV_FORMAT_DOUBLE) volume = real();
        return;
      case kMute:
        mute = flag();
        return;
      case kCoreIdle:
        coreIdle = flag();
        return;
      case kIdleActive:
        idleActive = flag();
        return;
      default:
        break;
    }
    // Properties of the file: only ours, and a value that has gone away at the
    // end of the file keeps its last reading.
    if (!OurFileActive()) return;
    switch (id) {
      case kTimePos:
        if (has && p.format == MPV_FORMAT_DOUBLE) position = std::max(0.0, real());
        break;
      case kDuration:
        if (has && p.format == MPV_FORMAT_DOUBLE) duration = real();
        break;
      case kAudioBitrate:
        if (has && p.format == MPV_FORMAT_DOUBLE && real() > 0) bitrate = real();
        break;
      case kMetadata:
        if (has && p.format == MPV_FORMAT_NODE)
          metadata = MetadataFrom(*static_cast<const mpv_node*>(p.data));
        break;
      case kPausedForCache: {
        bool now = flag();
        if (now && !pausedForCache && phase == Phase::kRunning) ++bufferingCount;
        pausedForCache = now;
        break;
      }
      case kCacheBufferingState:
        if (has && p.format == MPV_FORMAT_INT64)
          cacheFill = static_cast<int>(
              std::clamp<std::int64_t>(*static_cast<std::int64_t*>(p.data), 0, 100));
        break;
      case kSeeking:
        seeking = flag();
        break;
      default:
        break;
    }
  }

  // Gives up on a song that has been connecting or buffering for too long.
  void CheckStall(Clock::time_point now) {
    const int code = Code();
    const bool waiting = !pause && (code == kPlayStateTransitioning || code == kPlayStateBuffering);
    if (!waiting || stallLimit.count() <= 0) {
      waitingSince.reset();
      return;
    }
    if (!waitingSince) waitingSince = now;
    if (now - *waitingSince < stallLimit) return;
    waitingSince.reset();
    StopPlayback();
    Fail("no data");
  }

  void Run() {
    for (;;) {
      // Woken at least twice a second, so a stall is noticed without events.
      mpv_event* e = Mpv().wait_event(mpv, 0.5);
      std::lock_guard lock(mu);
      if (quitting || e->event_id == MPV_EVENT_SHUTDOWN) return;
      OnEvent(*e);
      CheckStall(Clock::now());
    }
  }
};

bool MpvMediaControl::Impl::Start() {
  if (startTried) return mpv != nullptr;
  startTried = true;
  // libmpv refuses to start under any other numeric locale.
  std::setlocale(LC_NUMERIC, "C");
  if (!Mpv().loaded) return false;
  mpv_handle* core = Mpv().create();
  if (!core) return false;
  SetOption(core, "config", "no");
  SetOption(core, "terminal", "no");
  SetOption(core, "idle", "yes");  // stay alive between songs
  SetOption(core, "ytdl", "no");
  SetOption(core, "load-scripts", "no");
  SetOption(core, "osc", "no");
  SetOption(core, "input-default-bindings", "no");
  SetOption(core, "vid", "no");
  SetOption(core, "vo", "null");
  SetOption(core, "audio-display", "no");
  SetOption(core, "audio-client-name", "Orvane");
  SetOption(core, "audio-fallback-to-null", "yes");
  // A playlist fetched from the network may not point at local files.
  SetOption(core, "load-unsafe-playlists", "no");
  if (settings.nullAudio) SetOption(core, "ao", "null");
  SetOption(core, "volume-max", "100");
  SetOption(core, "network-timeout",
            std::to_string(std::max(1, settings.networkTimeoutSeconds)).c_str());
  // Songs are a few megabytes (128 kbit/s: about 1 MB a minute): hold the
  // whole stream once read, so a network hiccup mid-song does not stop it,
  // start at once, and after running dry wait for a second's worth before
  // going on. The cap keeps a stream that never ends (or a 100 MB body that
  // claims to be a song) from growing the process.
  SetOption(core, "cache", "yes");
  SetOption(core, "demuxer-max-bytes", "12MiB");
  SetOption(core, "demuxer-max-back-bytes", "2MiB");
  SetOption(core, "cache-pause-initial", "no");
  SetOption(core, "cache-pause-wait", "1");
  {
    // What was set before the first song.
    std::lock_guard lock(mu);
    SetOption(core, "volume", std::to_string(std::lround(volume)).c_str());
    SetOption(core, "mute", mute ? "yes" : "no");
  }
  if (Mpv().initialize(core) < 0) {
    Mpv().terminate_destroy(core);
    return false;
  }
  for (const ObservedSpec& observed : kObserved)
    Mpv().observe_property(core, observed.id, observed.name, observed.format);
  {
    std::lock_guard lock(mu);
    mpv = core;
    stallLimit = std::chrono::seconds(std::max(0, settings.stallSeconds));
  }
  events = std::thread([this] { Run(); });
  return true;
}

MpvMediaControl::MpvMediaControl(MpvSettings settings) : impl_(std::make_unique<Impl>()) {
  impl_->settings = settings;
}

MpvMediaControl::~MpvMediaControl() {
  if (!impl_->mpv) return;
  {
    std::lock_guard lock(impl_->mu);
    impl_->quitting = true;
  }
  Mpv().wakeup(impl_->mpv);
  impl_->events.join();
  Mpv().terminate_destroy(impl_->mpv);
}

bool MpvMediaControl::Started() const {
  // Asking is a reason to start: tests and diagnostics want the real answer.
  return impl_->Start();
}

int MpvMediaControl::LoadRequests() const {
  std::lock_guard lock(impl_->mu);
  return impl_->loadRequests;
}

void MpvMediaControl::SetUrl(std::string_view url) {
  Impl& m = *impl_;
  if (!m.Start()) return;
  std::lock_guard lock(m.mu);
  m.url = std::string(url);
  std::string playUrl = UndoJsonSlashes(url);
  if (playUrl.empty()) {
    m.StopPlayback();
    m.ResetMedia();
    m.phase = Phase::kStopped;
    return;
  }
  if (!IsHttpUrl(playUrl)) {
    // Never handed to libmpv: it would open local files and other protocols.
    m.StopPlayback();
    m.ResetMedia();
    m.Fail("unsupported address");
    return;
  }
  m.BeginLoad(playUrl);
}

std::string MpvMediaControl::Url() const {
  std::lock_guard lock(impl_->mu);
  return impl_->url;
}

void MpvMediaControl::Play() {
  Impl& m = *impl_;
  if (!m.mpv) return;
  std::lock_guard lock(m.mu);
  if (m.phase == Phase::kStopped || m.phase == Phase::kEnded) {
    std::string playUrl = UndoJsonSlashes(m.url);
    if (IsHttpUrl(playUrl)) m.BeginLoad(playUrl);
    return;
  }
  if (m.phase == Phase::kNothing || m.phase == Phase::kFailed) return;
  int no = 0;
  m.pause = false;
  Mpv().set_property_async(m.mpv, kUntracked, "pause", MPV_FORMAT_FLAG, &no);
}

void MpvMediaControl::Pause() {
  Impl& m = *impl_;
  if (!m.mpv) return;
  std::lock_guard lock(m.mu);
  if (m.phase != Phase::kLoading && !m.FileOpen()) return;
  int yes = 1;
  m.pause = true;
  Mpv().set_property_async(m.mpv, kUntracked, "pause", MPV_FORMAT_FLAG, &yes);
}

void MpvMediaControl::Stop() {
  Impl& m = *impl_;
  if (!m.mpv) return;
  std::lock_guard lock(m.mu);
  if (m.phase == Phase::kNothing) return;
  m.StopPlayback();
  m.phase = Phase::kStopped;
}

double MpvMediaControl::Position() const {
  std::lock_guard lock(impl_->mu);
  const Phase p = impl_->phase;
  return (p == Phase::kOpened || p == Phase::kRunning || p == Phase::kEnded) ? impl_->position
                                                                             : 0.0;
}

void MpvMediaControl::SetPosition(double seconds) {
  Impl& m = *impl_;
  if (!m.mpv || !std::isfinite(seconds)) return;
  std::lock_guard lock(m.mu);
  if (!m.FileOpen()) return;
  seconds = std::max(0.0, seconds);
  m.position = seconds;
  Mpv().set_property_async(m.mpv, kUntracked, "time-pos", MPV_FORMAT_DOUBLE, &seconds);
}

double MpvMediaControl::Duration() const {
  std::lock_guard lock(impl_->mu);
  return impl_->duration;
}

int MpvMediaControl::Volume() const {
  std::lock_guard lock(impl_->mu);
  const bool failed = impl_->startTried && !impl_->mpv;
  return failed ? 0 : static_cast<int>(std::lround(impl_->volume));
}

void MpvMediaControl::SetVolume(int volume) {
  Impl& m = *impl_;
  if (m.startTried && !m.mpv) return;
  std::lock_guard lock(m.mu);
  double v = std::clamp(volume, 0, 100);
  m.volume = v;
  if (m.mpv) Mpv().set_property_async(m.mpv, kUntracked, "volume", MPV_FORMAT_DOUBLE, &v);
}

bool MpvMediaControl::Mute() const {
  std::lock_guard lock(impl_->mu);
  return impl_->mute;
}

void MpvMediaControl::SetMute(bool mute) {
  Impl& m = *impl_;
  if (m.startTried && !m.mpv) return;
  std::lock_guard lock(m.mu);
  int flag = mute ? 1 : 0;
  m.mute = mute;
  if (m.mpv) Mpv().set_property_async(m.mpv, kUntracked, "mute", MPV_FORMAT_FLAG, &flag);
}

int MpvMediaControl::PlayCount() const {
  std::lock_guard lock(impl_->mu);
  return impl_->startTried && !impl_->mpv ? 0 : impl_->playCount;
}

void MpvMediaControl::SetPlayCount(int count) {
  Impl& m = *impl_;
  if (!m.mpv || count < 1) return;
  std::lock_guard lock(m.mu);
  m.playCount = count;
  // loop-file counts the repeats after the first play.
  std::string loops = count == 1 ? "no" : std::to_string(count - 1);
  const char* value = loops.c_str();
  Mpv().set_property_async(m.mpv, kUntracked, "loop-file", MPV_FORMAT_STRING, &value);
}

std::string MpvMediaControl::ItemInfo(std::string_view attribute) const {
  const Impl& m = *impl_;
  std::lock_guard lock(m.mu);
  const std::string name = Lowered(attribute);
  auto tag = [&](std::initializer_list<const char*> keys) -> std::string {
    for (const char* key : keys)
      if (auto it = m.metadata.find(key); it != m.metadata.end() && !it->second.empty())
        return it->second;
    return {};
  };
  if (name == "title") return tag({"title"});
  if (name == "author") return tag({"artist", "author", "album_artist"});
  if (name == "copyright") return tag({"copyright"});
  if (name == "strtype") {
    const bool opened = m.FileOpen() || m.phase == Phase::kEnded;
    return opened ? "audio" : "";
  }
  if (name == "bitrate") {
    return m.bitrate > 0 ? std::to_string(static_cast<long long>(std::llround(m.bitrate))) : "";
  }
  return {};
}

int MpvMediaControl::BufferingCount() const {
  std::lock_guard lock(impl_->mu);
  return impl_->bufferingCount;
}

int MpvMediaControl::BufferingProgress() const {
  const Impl& m = *impl_;
  std::lock_guard lock(m.mu);
  if (!m.FileOpen()) return 0;
  if (m.phase == Phase::kOpened || m.pausedForCache) return m.cacheFill;
  return 100;
}

std::string MpvMediaControl::StatusText() const {
  const Impl& m = *impl_;
  std::lock_guard lock(m.mu);
  switch (m.Code()) {
    case kPlayStateStopped:
      return "Stopped";
    case kPlayStatePaused:
      return "Paused";
    case kPlayStatePlaying:
      return "Playing";
    case kPlayStateBuffering:
      return "Buffering";
    case kPlayStateMediaEnded:
      return "Media ended";
    case kPlayStateTransitioning:
      return "Connecting";
    case kPlayStateReady:
      return "Cannot play (" + m.failure + ")";
    default:
      return "";
  }
}

int MpvMediaControl::PlayState() const {
  const Impl& m = *impl_;
  std::lock_guard lock(m.mu);
  if (!m.mpv) return kPlayStateUndefined;
  const int code = m.Code();
  // The end is reported once; from then on the player counts as stopped.
  if (m.phase == Phase::kEnded) m.phase = Phase::kStopped;
  return code;
}

}  // namespace orvane
