#pragma once
// The local station: a stand-in for the radio service on 127.0.0.1, built on
// cpp-httplib. Usable in-process from tests (Station) and as a program
// (orvane-station --port N).
//
// It serves
//   /j/v2/channel_info?id=C        channel information, nested as the service nests it
//   /j/v2/playlist?channel=C&...   a one-song playlist for channel C
//   /j/v2/lyric?sid=S&ssid=T       the song's lyric response
//   /subject/<id>/                 album pages with the similar-songs link
//   /covers/<file>                 cover pictures (JPEG and PNG)
//   /audio/<file>                  short audio files
//   /cookies                       a page whose Set-Cookie headers are those set by SetCookieHeaders
// Absolute URLs inside responses (stream, cover, album page links) point back
// at the station itself.
//
// Every endpoint can be told to misbehave (SetFault). Every request is recorded.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvane::station {

enum class Endpoint { ChannelInfo, Playlist, Lyric, AlbumPage, Cover, Audio, Cookies };

enum class Fault {
  None,
  Delay,         // answer normally after `delayMs`
  Hang,          // accept and never answer (until Stop)
  Drip,          // send the body one byte a second
  Reset,         // send part of the body, then reset the connection
  NotFound,      // 404
  ServerError,   // 500
  Truncated,     // declare the full length, send half of it, close
  Garbage,       // 200 with random binary bytes
  Huge,          // 200 with a 100 MB body
  CorruptCover,  // Cover only: a JPEG cut in the middle of its scan data
  HugeCover,     // Cover only: a valid header claiming 60000 x 60000 pixels
  StreamHalf,    // Audio only: the stream stops half way
};

struct FaultSpec {
  Fault fault = Fault::None;
  int delayMs = 0;
  int times = -1;  // how many requests misbehave; -1 for all of them
};

struct RecordedRequest {
  std::string method;
  std::string path;    // "/j/v2/playlist"
  std::string target;  // path and query as received
  std::map<std::string, std::string> params;
  std::multimap<std::string, std::string> headers;
};

// One song of the fixtures, as the playlist sends it (values raw, with the
// service's escapes).
struct SongFixture {
  std::string sid;
  std::string ssid;
  std::string title;
  std::string artist;
  std::string albumtitle;
  std::string album;       // "\/subject\/2170967\/" or a path without "subject"
  std::string kbps;        // "128"
  std::string coverFile;   // under /covers/
  std::string audioFile;   // under /audio/
  std::string lyricResponse;  // the whole body of /j/v2/lyric for this song
  std::string note;        // what case it shows
};

class Station {
 public:
  Station();
  ~Station();
  Station(const Station&) = delete;
  Station& operator=(const Station&) = delete;

  // Listens on 127.0.0.1:port (0 picks a free port) in a thread of its own and
  // returns once it accepts connections. False when the port cannot be bound.
  bool Start(int port = 0);
  void Stop();  // also releases every hanging request
  int port() const;
  std::string BaseUrl() const;  // "http://127.0.0.1:PORT"

  void SetFault(Endpoint endpoint, FaultSpec fault);
  void ClearFaults();

  // The songs in the order the playlist of every channel hands them out
  // (round robin per channel, starting with the first).
  static const std::vector<SongFixture>& Songs();
  // Makes the next playlist answers (any channel) give these sids in order,
  // then go back to the round robin.
  void QueueSongs(std::vector<std::string> sids);

  // Set-Cookie lines sent by /cookies, each the part after "Set-Cookie: ".
  void SetCookieHeaders(std::vector<std::string> lines);

  std::vector<RecordedRequest> Requests() const;
  std::vector<RecordedRequest> Requests(Endpoint endpoint) const;
  void ClearRequests();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The 29 channels: identifier and the name channel_info gives for it.
struct ChannelFixture {
  std::string id;
  std::string name;
};
const std::vector<ChannelFixture>& Channels();

}  // namespace orvane::station
