#include "station/station.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "station/station_faults.h"
#include "station/station_fixtures.h"

namespace orvane::station {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kHugeBodyBytes = 100u * 1024u * 1024u;
constexpr int kHugeCoverSide = 60000;

std::optional<Endpoint> EndpointOf(const std::string& path) {
  if (path == "/j/v2/channel_info") return Endpoint::ChannelInfo;
  if (path == "/j/v2/playlist") return Endpoint::Playlist;
  if (path == "/j/v2/lyric") return Endpoint::Lyric;
  if (path.starts_with("/subject/") || path.starts_with("/musician/")) return Endpoint::AlbumPage;
  if (path.starts_with("/covers/")) return Endpoint::Cover;
  if (path.starts_with("/audio/")) return Endpoint::Audio;
  if (path == "/cookies") return Endpoint::Cookies;
  return std::nullopt;
}

std::string ContentTypeOf(const std::string& file) {
  if (file.ends_with(".jpg")) return "image/jpeg";
  if (file.ends_with(".png")) return "image/png";
  if (file.ends_with(".mp3")) return "audio/mpeg";
  if (file.ends_with(".m4a")) return "audio/mp4";
  return "application/octet-stream";
}

}  // namespace

struct Station::Impl {
  std::unique_ptr<httplib::Server> server;
  std::thread thread;
  std::atomic<bool> stopping{false};
  int port = 0;

  mutable std::mutex mutex;
  std::map<Endpoint, FaultSpec> faults;
  std::map<std::string, std::size_t> nextSongOfChannel;
  std::deque<std::string> queuedSids;
  std::vector<std::string> cookieLines;
  std::vector<RecordedRequest> requests;
  std::map<std::string, std::string> fileCache;

  std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port); }

  // Sleeps up to `ms`, waking early when the station stops. False once stopping.
  bool SleepUnlessStopping(int ms) {
    auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
      if (stopping) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return !stopping;
  }

  std::string File(const std::string& relative) {
    std::lock_guard lock(mutex);
    auto found = fileCache.find(relative);
    if (found != fileCache.end()) return found->second;
    std::string bytes = ReadFixture(relative);
    if (!bytes.empty()) fileCache[relative] = bytes;
    return bytes;
  }

  // The fault for this request, counted; None once its `times` are used up.
  FaultSpec TakeFault(Endpoint endpoint) {
    std::lock_guard lock(mutex);
    auto found = faults.find(endpoint);
    if (found == faults.end() || found->second.fault == Fault::None) return {};
    FaultSpec rule = found->second;
    if (found->second.times > 0 && --found->second.times == 0) faults.erase(found);
    return rule;
  }

  void Record(const httplib::Request& req) {
    RecordedRequest r;
    r.method = req.method;
    r.path = req.path;
    r.target = req.target;
    for (const auto& [key, value] : req.params) r.params.emplace(key, value);
    for (const auto& [key, value] : req.headers) r.headers.emplace(key, value);
    std::lock_guard lock(mutex);
    requests.push_back(std::move(r));
  }

  const SongFixture& NextSong(const std::string& channel) {
    const auto& songs = Station::Songs();
    std::lock_guard lock(mutex);
    while (!queuedSids.empty()) {
      std::string sid = queuedSids.front();
      queuedSids.pop_front();
      if (const SongFixture* song = FindSong(sid)) return *song;
    }
    std::size_t& next = nextSongOfChannel[channel];
    const SongFixture& song = songs[next % songs.size()];
    next = (next + 1) % songs.size();
    return song;
  }

  // Answers with `body` as the endpoint's fault (if any) says.
  void Answer(Endpoint endpoint, const httplib::Request& req, httplib::Response& res,
              std::string body, const std::string& contentType) {
    FaultSpec rule = TakeFault(endpoint);
    switch (rule.fault) {
      case Fault::None:
      case Fault::CorruptCover:  // cover and audio faults are answered by their handlers
      case Fault::HugeCover:
      case Fault::StreamHalf:
        res.set_content(std::move(body), contentType.c_str());
        return;
      case Fault::Delay:
        SleepUnlessStopping(rule.delayMs);
        res.set_content(std::move(body), contentType.c_str());
        return;
      case Fault::Hang:
        // Nothing at all is sent, not even the status line, until Stop.
        while (SleepUnlessStopping(50)) {
        }
        res.status = 503;
        return;
      case Fault::Drip:
        Drip(res, std::move(body), contentType);
        return;
      case Fault::Reset:
        SendPartThenClose(req, res, std::move(body), contentType, /*reset=*/true);
        return;
      case Fault::Truncated:
        SendPartThenClose(req, res, std::move(body), contentType, /*reset=*/false);
        return;
      case Fault::NotFound:
        res.status = 404;
        res.set_content("<html><body>404 Not Found</body></html>", "text/html");
        return;
      case Fault::ServerError:
        res.status = 500;
        res.set_content("<html><body>500 Internal Server Error</body></html>", "text/html");
        return;
      case Fault::Garbage:
        res.set_content(RandomBytes(4096), contentType.c_str());
        return;
      case Fault::Huge:
        Huge(res, std::move(body), contentType);
        return;
    }
  }

  void Drip(httplib::Response& res, std::string body, const std::string& contentType) {
    auto shared = std::make_shared<std::string>(std::move(body));
    res.set_content_provider(
        shared->size(), contentType.c_str(),
        [this, shared](std::size_t offset, std::size_t, httplib::DataSink& sink) {
          if (offset > 0 && !SleepUnlessStopping(1000)) return false;
          return sink.write(shared->data() + offset, 1);
        });
  }

  // Declares the whole length, sends the first half, then closes (with a TCP
  // reset when `reset`).
  void SendPartThenClose(const httplib::Request& req, httplib::Response& res, std::string body,
                         const std::string& contentType, bool reset) {
    auto shared = std::make_shared<std::string>(std::move(body));
    if (shared->size() < 2) shared->append("  ");
    const int localPort = port;
    const int remotePort = req.remote_port;
    res.set_content_provider(
        shared->size(), contentType.c_str(),
        [shared, reset, localPort, remotePort](std::size_t offset, std::size_t,
                                               httplib::DataSink& sink) {
          const std::size_t half = shared->size() / 2;
          if (offset < half) return sink.write(shared->data() + offset, half - offset);
          if (reset) ResetConnection(localPort, remotePort);
          return false;  // aborts the response; the server closes the connection
        });
  }

  void Huge(httplib::Response& res, std::string body, const std::string& contentType) {
    auto chunk = std::make_shared<std::string>(std::move(body));
    if (chunk->empty()) *chunk = " ";
    while (chunk->size() < 64 * 1024) *chunk += *chunk;
    res.set_content_provider(
        kHugeBodyBytes, contentType.c_str(),
        [this, chunk](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          if (stopping) return false;
          std::size_t n = std::min({length, chunk->size(), kHugeBodyBytes - offset});
          return sink.write(chunk->data(), n);
        });
  }

  void ServeChannelInfo(const httplib::Request& req, httplib::Response& res) {
    Answer(Endpoint::ChannelInfo, req, res, ChannelInfoBody(req.get_param_value("id")),
           "application/json; charset=utf-8");
  }

  void ServePlaylist(const httplib::Request& req, httplib::Response& res) {
    const SongFixture& song = NextSong(req.get_param_value("channel"));
    Answer(Endpoint::Playlist, req, res, PlaylistBody(song, BaseUrl()),
           "application/json; charset=utf-8");
  }

  void ServeLyric(const httplib::Request& req, httplib::Response& res) {
    const SongFixture* song = FindSong(req.get_param_value("sid"));
    std::string body = song ? song->lyricResponse : std::string("没有匹配到歌词.");
    Answer(Endpoint::Lyric, req, res, std::move(body), "application/json; charset=utf-8");
  }

  void ServeAlbumPage(const httplib::Request& req, httplib::Response& res) {
    std::string id = req.matches.size() > 1 ? std::string(req.matches[1]) : std::string();
    for (const AlbumFixture& album : Albums()) {
      if (album.albumId == id) {
        Answer(Endpoint::AlbumPage, req, res, AlbumPageBody(album, BaseUrl()),
               "text/html; charset=utf-8");
        return;
      }
    }
    Answer(Endpoint::AlbumPage, req, res,
           "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>musician "
           "page</body></html>\n",
           "text/html; charset=utf-8");
  }

  bool NotFound(const std::string& bytes, httplib::Response& res) {
    if (!bytes.empty()) return false;
    res.status = 404;
    res.set_content("not found", "text/plain");
    return true;
  }

  void ServeCover(const httplib::Request& req, httplib::Response& res) {
    std::string file = req.matches[1];
    std::string bytes = File("covers/" + file);
    if (NotFound(bytes, res)) return;
    std::string type = ContentTypeOf(file);
    {
      std::lock_guard lock(mutex);
      auto found = faults.find(Endpoint::Cover);
      Fault f = found == faults.end() ? Fault::None : found->second.fault;
      if (f != Fault::CorruptCover && f != Fault::HugeCover) {
        // Answer() takes and counts the fault itself.
      } else {
        if (found->second.times > 0 && --found->second.times == 0) faults.erase(found);
        if (f == Fault::CorruptCover) {
          std::string jpeg = type == "image/jpeg" ? bytes : File("covers/cover-a.jpg");
          res.set_content(CutJpegMidScan(jpeg), "image/jpeg");
        } else if (type == "image/png") {
          res.set_content(PngClaimingSize(kHugeCoverSide, kHugeCoverSide), "image/png");
        } else {
          res.set_content(JpegClaimingSize(bytes, kHugeCoverSide, kHugeCoverSide), "image/jpeg");
        }
        return;
      }
    }
    Answer(Endpoint::Cover, req, res, std::move(bytes), type);
  }

  void ServeAudio(const httplib::Request& req, httplib::Response& res) {
    std::string file = req.matches[1];
    std::string bytes = File("audio/" + file);
    if (NotFound(bytes, res)) return;
    std::string type = ContentTypeOf(file);
    {
      std::lock_guard lock(mutex);
      auto found = faults.find(Endpoint::Audio);
      if (found != faults.end() && found->second.fault == Fault::StreamHalf) {
        if (found->second.times > 0 && --found->second.times == 0) faults.erase(found);
        auto shared = std::make_shared<std::string>(std::move(bytes));
        res.set_content_provider(
            shared->size(), type.c_str(),
            [shared](std::size_t offset, std::size_t, httplib::DataSink& sink) {
              const std::size_t half = shared->size() / 2;
              if (offset >= half) return false;
              return sink.write(shared->data() + offset, half - offset);
            });
        return;
      }
    }
    Answer(Endpoint::Audio, req, res, std::move(bytes), type);
  }

  void ServeCookies(const httplib::Request& req, httplib::Response& res) {
    std::vector<std::string> lines;
    {
      std::lock_guard lock(mutex);
      lines = cookieLines;
    }
    for (const std::string& line : lines) res.headers.emplace("Set-Cookie", line);
    Answer(Endpoint::Cookies, req, res, "<html><body>cookies</body></html>",
           "text/html; charset=utf-8");
  }

  void ServeRoot(const httplib::Request& req, httplib::Response& res) {
    res.set_content("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"></head><body>channel " +
                        req.get_param_value("cid") + "</body></html>\n",
                    "text/html; charset=utf-8");
  }

  void Route(httplib::Server& s) {
    using Req = const httplib::Request&;
    using Res = httplib::Response&;
    s.Get("/j/v2/channel_info", [this](Req q, Res r) { ServeChannelInfo(q, r); });
    s.Get("/j/v2/playlist", [this](Req q, Res r) { ServePlaylist(q, r); });
    s.Get("/j/v2/lyric", [this](Req q, Res r) { ServeLyric(q, r); });
    s.Get(R"(/subject/(\d+)/?)", [this](Req q, Res r) { ServeAlbumPage(q, r); });
    s.Get(R"(/musician/(\d+)/?)", [this](Req q, Res r) { ServeAlbumPage(q, r); });
    s.Get(R"(/covers/([A-Za-z0-9._-]+))", [this](Req q, Res r) { ServeCover(q, r); });
    s.Get(R"(/audio/([A-Za-z0-9._-]+))", [this](Req q, Res r) { ServeAudio(q, r); });
    s.Get("/cookies", [this](Req q, Res r) { ServeCookies(q, r); });
    s.Get("/", [this](Req q, Res r) { ServeRoot(q, r); });
  }
};

Station::Station() : impl_(std::make_unique<Impl>()) {}

Station::~Station() {
  Stop();
}

bool Station::Start(int port) {
  Stop();
  impl_->stopping = false;
  impl_->server = std::make_unique<httplib::Server>();
  httplib::Server& s = *impl_->server;
  // Hanging and dripping requests each hold a worker; keep plenty free.
  s.new_task_queue = [] { return new httplib::ThreadPool(32); };
  // A kept-alive idle connection holds its worker this long after Stop.
  s.set_keep_alive_timeout(1);
  // Answers go out at once: with Nagle's algorithm a kept-alive client waits
  // for the delayed acknowledgement on every request.
  s.set_tcp_nodelay(true);
  // httplib's default also sets SO_REUSEPORT, which would let a second station
  // share a port that is already taken.
  s.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  s.set_read_timeout(5, 0);
  s.set_write_timeout(5, 0);
  s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
    impl_->Record(req);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  impl_->Route(s);

  int bound =
      port == 0 ? s.bind_to_any_port("127.0.0.1") : (s.bind_to_port("127.0.0.1", port) ? port : -1);
  if (bound <= 0) {
    impl_->server.reset();
    return false;
  }
  impl_->port = bound;
  impl_->thread = std::thread([&s] { s.listen_after_bind(); });
  auto deadline = Clock::now() + std::chrono::seconds(5);
  while (!s.is_running() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // Accepting: the socket was bound and listened on before the thread started,
  // so a connection now queues until the loop picks it up.
  httplib::Client probe("127.0.0.1", bound);
  probe.set_connection_timeout(1, 0);
  while (Clock::now() < deadline) {
    if (probe.Get("/")) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ClearRequests();
  return s.is_running();
}

void Station::Stop() {
  if (!impl_->server) return;
  impl_->stopping = true;
  impl_->server->stop();
  if (impl_->thread.joinable()) impl_->thread.join();
  impl_->server.reset();
}

int Station::port() const {
  return impl_->port;
}

std::string Station::BaseUrl() const {
  return impl_->BaseUrl();
}

void Station::SetFault(Endpoint endpoint, FaultSpec fault) {
  std::lock_guard lock(impl_->mutex);
  if (fault.fault == Fault::None || fault.times == 0) {
    impl_->faults.erase(endpoint);
  } else {
    impl_->faults[endpoint] = fault;
  }
}

void Station::ClearFaults() {
  std::lock_guard lock(impl_->mutex);
  impl_->faults.clear();
}

void Station::QueueSongs(std::vector<std::string> sids) {
  std::lock_guard lock(impl_->mutex);
  for (std::string& sid : sids) impl_->queuedSids.push_back(std::move(sid));
}

void Station::SetCookieHeaders(std::vector<std::string> lines) {
  std::lock_guard lock(impl_->mutex);
  impl_->cookieLines = std::move(lines);
}

std::vector<RecordedRequest> Station::Requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests;
}

std::vector<RecordedRequest> Station::Requests(Endpoint endpoint) const {
  std::vector<RecordedRequest> matching;
  for (RecordedRequest& r : Requests()) {
    if (EndpointOf(r.path) == endpoint) matching.push_back(std::move(r));
  }
  return matching;
}

void Station::ClearRequests() {
  std::lock_guard lock(impl_->mutex);
  impl_->requests.clear();
}

}  // namespace orvane::station
