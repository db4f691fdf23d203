#include "station/station_fixtures.h"

#include <fstream>
#include <sstream>

namespace orvane::station {
namespace {

// The lyric member as the service writes it: line ends are the JSON escapes
// \r\n (backslash, r, backslash, n), never real line breaks.
std::string LyricJson(std::string_view lyric, std::string_view name, std::string_view sid) {
  std::string body = R"({"lyric":")";
  body += lyric;
  body += R"(","name":")";
  body += name;
  body += R"(","sid":")";
  body += sid;
  body += R"("})";
  return body;
}

SongFixture Song(std::string sid, std::string ssid, std::string title, std::string artist,
                 std::string albumtitle, std::string album, std::string kbps, std::string cover,
                 std::string audio, std::string lyric, std::string note) {
  SongFixture song{sid, ssid, title, artist, albumtitle, album, kbps, cover, audio, lyric, note};
  return song;
}

std::vector<SongFixture> MakeSongs() {
  std::vector<SongFixture> songs;
  songs.push_back(Song(
      "1001", "a1f0", "晴空之下", "林小雨", "城市的风", R"(\/subject\/2170967\/)", "128",
      "cover-a.jpg", "tone-a.mp3",
      LyricJson(
          R"([00:00.00]晴空之下\r\n[00:01.00]第一行\r\n[00:02.00]第二行\r\n[00:03.00]第三行\r\n[00:04.00]第四行\r\n)",
          "晴空之下", "1001"),
      "Chinese title and artist; timed lyric, a line every second from 00:00 (mp3, 5 s, JPEG "
      "cover)"));
  songs.push_back(Song(
      "1002", "b2e1", "夜明けのうた", "青山ミナ", "朝の光", R"(\/subject\/3056512\/)", "128",
      "cover-b.png", "tone-b.m4a",
      LyricJson(
          R"([00:00.00]夜明けのうた\r\n[00:01.00]ひかりが\r\n[00:02.00]さしこむ\r\n[00:03.00]あさがくる\r\n)",
          "夜明けのうた", "1002"),
      "Japanese title and artist; timed lyric (mp4/AAC stream, 4 s, PNG cover)"));
  songs.push_back(Song(
      "1003", "c3d2", "바람의 노래", "김하늘", "하늘 아래", R"(\/subject\/4120077\/)", "192",
      "cover-c.jpg", "tone-c.mp3",
      LyricJson(
          R"([00:00.00]바람의 노래\r\n[00:01.00]첫 번째 줄\r\n[00:02.00]두 번째 줄\r\n[00:03.00]세 번째 줄\r\n[00:04.00]네 번째 줄\r\n[00:05.00]끝\r\n)",
          "바람의 노래", "1003"),
      "Korean title and artist; timed lyric; kbps 192 (mp3, 6 s)"));
  songs.push_back(Song(
      "1004", "d4c3", R"(Say \",\"sid\" Twice)", "Marker Band", "Markers",
      R"(\/subject\/5200001\/)", "128", "cover-d.png", "tone-a.mp3",
      LyricJson(
          R"([00:00.00]intro\r\n[00:01.00][00:03.00]chorus\r\n[00:02.00]verse\r\n[00:04.00]end\r\n)",
          R"(Say \",\"sid\" Twice)", "1004"),
      "title holding the text \",\"sid with its quotes JSON-escaped, so the end marker "
      "\",\"sid never occurs inside it and the whole raw title (backslashes included) is "
      "extracted; lyric with two stamps on one line ([00:01.00][00:03.00]chorus: only 00:03 "
      "shows it)"));
  songs.push_back(Song(
      "1005", "e5b4", "No Subject Here", "Street Player", "Busking", R"(\/musician\/1234\/)", "128",
      "cover-a.jpg", "tone-c.mp3",
      LyricJson(
          R"([00:00.00]start\r\n[00:01.00]one\r\n[00:02.00]two\r\n[00:03.00]see you at 00:03\r\n[00:04.00]four\r\n)",
          "No Subject Here", "1005"),
      "album path without \"subject\" (no similar-songs button, default cursor); a line "
      "holding its own time ([00:03.00]see you at 00:03 is never shown)"));
  songs.push_back(Song("1006", "f6a5", "没有时间的歌", "林小雨", "城市的风",
                       R"(\/subject\/2170967\/)", "128", "cover-b.png", "tone-b.m4a",
                       LyricJson(R"(第一句没有时间\r\n第二句也没有\r\n)", "没有时间的歌", "1006"),
                       "untimed lyric (no \"[\" anywhere in the response)"));
  songs.push_back(Song("1007", "a7f6", "纯音乐", "林小雨", "城市的风", R"(\/subject\/2170967\/)",
                       "128", "cover-c.jpg", "tone-a.mp3", LyricJson("暂无歌词", "纯音乐", "1007"),
                       "lyric member \"暂无歌词\" (song without lyrics, no \"[\")"));
  songs.push_back(Song("1008", "b8e7", "找不到的歌词", "青山ミナ", "朝の光",
                       R"(\/subject\/3056512\/)", "128", "cover-d.png", "tone-b.m4a",
                       "没有匹配到歌词.",
                       "lyric request answers exactly \"没有匹配到歌词.\" as the whole body "
                       "(no JSON, no lyric member)"));
  songs.push_back(Song("1009", "c9d8", "无名之歌", "", "无名", R"(\/subject\/6300002\/)", "128",
                       "cover-a.jpg", "tone-c.mp3",
                       LyricJson(R"([00:00.00]无名\r\n[00:01.00]之歌\r\n[00:02.00]没有歌手\r\n)",
                                 "无名之歌", "1009"),
                       "empty artist (labels still show \" - \")"));
  songs.push_back(
      Song("1010", "dad9", R"(AC\/DC Tribute)", R"(Various \/ Artists)", R"(Rock \/ Roll)",
           R"(\/subject\/7400003\/)", "64", "cover-b.png", "tone-b.m4a",
           LyricJson(R"([00:00.00]back\r\n[00:01.00]in\r\n[00:02.00]black\r\n[00:03.00]tones\r\n)",
                     R"(AC\/DC Tribute)", "1010"),
           "JSON-escaped slashes inside title, artist and album title (kept raw); kbps 64"));
  songs.push_back(Song(
      "1011", "ebea", "标签与结尾", "周末乐队", "标签", R"(\/subject\/8500004\/)", "128",
      "cover-c.jpg", "tone-a.mp3",
      LyricJson(
          R"([ti:标签与结尾]\r\n[ar:周末乐队]\r\n[00:00.00]开始\r\n[00:01.00]一\r\n[00:02.00]二\r\n[00:03.00]最后一行没有换行)",
          "标签与结尾", "1011"),
      "lyric with tag lines [ti:][ar:] and a last line without a line end (00:03 never "
      "shows)"));
  return songs;
}

}  // namespace

const std::vector<SongFixture>& Station::Songs() {
  static const std::vector<SongFixture> songs = MakeSongs();
  return songs;
}

const std::vector<ChannelFixture>& Channels() {
  static const std::vector<ChannelFixture> channels = {
      {"-10", "豆瓣精选"}, {"1", "华语"},       {"2", "欧美"},       {"3", "七零"},
      {"4", "八零"},       {"5", "九零"},       {"6", "粤语"},       {"17", "日语"},
      {"18", "韩语"},      {"61", "新歌"},      {"194", "流行"},     {"7", "摇滚"},
      {"8", "民谣"},       {"9", "轻音乐"},     {"10", "电影原声"},  {"13", "爵士"},
      {"27", "古典"},      {"28", "动漫"},      {"187", "世界音乐"}, {"188", "布鲁斯"},
      {"189", "拉丁"},     {"153", "工作学习"}, {"151", "户外"},     {"152", "休息"},
      {"154", "亢奋"},     {"155", "舒缓"},     {"77", "Easy"},      {"32", "咖啡"},
      {"257", "运动"},
  };
  return channels;
}

const std::vector<AlbumFixture>& Albums() {
  static const std::vector<AlbumFixture> albums = {
      {"2170967", "22009", "林小雨 系"},   {"3056512", "22010", "青山ミナ 系"},
      {"4120077", "22011", "김하늘 系"},   {"5200001", "22012", "Marker Band 系"},
      {"6300002", "22013", "相似歌曲 系"}, {"7400003", "22014", "Various Artists 系"},
      {"8500004", "22015", "周末乐队 系"},
  };
  return albums;
}

const SongFixture* FindSong(std::string_view sid) {
  for (const SongFixture& song : Station::Songs()) {
    if (song.sid == sid) return &song;
  }
  return nullptr;
}

std::optional<std::string> ChannelName(std::string_view id) {
  for (const ChannelFixture& channel : Channels()) {
    if (channel.id == id) return channel.name;
  }
  for (const AlbumFixture& album : Albums()) {
    if (album.cid == id) return album.channelName;
  }
  return std::nullopt;
}

std::string EscapeSlashes(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '/') out += '\\';
    out += c;
  }
  return out;
}

std::string EscapeSlashesKeepScheme(std::string_view url) {
  std::size_t scheme = url.find("://");
  if (scheme == std::string_view::npos) return EscapeSlashes(url);
  std::string out(url.substr(0, scheme + 3));
  out += EscapeSlashes(url.substr(scheme + 3));
  return out;
}

std::string PlaylistBody(const SongFixture& song, const std::string& baseUrl) {
  const bool mp4 = song.audioFile.ends_with(".m4a");
  const std::string url = EscapeSlashes(baseUrl + "/audio/" + song.audioFile);
  const std::string picture = EscapeSlashesKeepScheme(baseUrl + "/covers/" + song.coverFile);
  std::string aid = "0";
  const std::string prefix = R"(\/subject\/)";
  if (song.album.starts_with(prefix)) {
    aid = song.album.substr(prefix.size(), song.album.size() - prefix.size() - 2);
  }
  std::ostringstream o;
  o << R"({"warning":"user_is_ananymous","r":0,"version_max":100,"is_show_quick_start":0,"song":[{)"
    << R"("albumtitle":")" << song.albumtitle << R"(",)"
    << R"("url":")" << url << R"(",)"
    << R"("file_ext":")" << (mp4 ? "mp4" : "mp3") << R"(",)"
    << R"("album":")" << song.album << R"(",)"
    << R"("ssid":")" << song.ssid << R"(",)"
    << R"("title":")" << song.title << R"(",)"
    << R"("sid":")" << song.sid << R"(",)"
    << R"("sha256":"5b0f6a3c9e2d4f8a1b7c6d5e4f3a2b1c0d9e8f7a6b5c4d3e2f1a0b9c8d7e6f5a",)"
    << R"("status":0,)"
    << R"("picture":")" << picture << R"(",)"
    << R"("update_time":1609459200,)"
    << R"("alert_msg":"",)"
    << R"("public_time":"2010",)"
    << R"("singers":[{"style":[],"name":")" << song.artist
    << R"(","region":["中国"],"name_usual":")" << song.artist
    << R"(","genre":["Pop"],"avatar":"","related_site_id":0,"is_site_artist":false,"id":"9)"
    << song.sid << R"("}],)"
    << R"("like":0,)"
    << R"("artist":")" << song.artist << R"(",)"
    << R"("is_royal":false,)"
    << R"("subtype":"",)"
    << R"("length":5,)"
    << R"("release":{"link":"https:\/\/douban.fm\/album\/)" << aid << R"(g)" << song.ssid
    << R"(","id":")" << aid << R"("},)"
    << R"("aid":")" << aid << R"(",)"
    << R"("kbps":")" << song.kbps << R"(",)"
    << R"("available_formats":{")" << song.kbps << R"(":1024}}]})";
  return o.str();
}

std::string ChannelInfoBody(std::string_view id) {
  std::optional<std::string> name = ChannelName(id);
  if (!name) return R"({"status":true,"data":{"channels":[]}})";
  std::ostringstream o;
  o << R"({"status":true,"data":{"channels":[{"intro":"","song_num":100,"banner":"","id":)" << id
    << R"(,"name":")" << *name
    << R"(","cover":"https:\/\/img3.doubanio.com\/img\/fmadmin\/large\/31905.jpg",)"
    << R"("collected":"false","rec_reason":"","song_to_start":"","style":null}]}})";
  return o.str();
}

std::string AlbumPageBody(const AlbumFixture& album, const std::string& baseUrl) {
  std::ostringstream o;
  o << "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head><meta charset=\"utf-8\"><title>album "
    << album.albumId << "</title></head>\n<body>\n<div id=\"info\">album " << album.albumId
    << "</div>\n<div class=\"fm\"><a href=\"" << baseUrl << "/?cid=" << album.cid
    << "&amp;from_=music_subject\" target=\"_blank\">" << album.channelName
    << "</a></div>\n</body>\n</html>\n";
  return o.str();
}

std::string FixtureDirectory() {
  return ORVANE_STATION_FIXTURES;
}

std::string ReadFixture(std::string_view relative) {
  if (relative.find("..") != std::string_view::npos) return {};
  std::ifstream in(FixtureDirectory() + "/" + std::string(relative), std::ios::binary);
  if (!in) return {};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace orvane::station
