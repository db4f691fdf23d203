#include "station/station_names.h"

#include <array>
#include <utility>

namespace orvane::station {
namespace {

constexpr std::array<std::pair<std::string_view, Endpoint>, 7> kEndpoints{{
    {"channel_info", Endpoint::ChannelInfo},
    {"playlist", Endpoint::Playlist},
    {"lyric", Endpoint::Lyric},
    {"album", Endpoint::AlbumPage},
    {"cover", Endpoint::Cover},
    {"audio", Endpoint::Audio},
    {"cookies", Endpoint::Cookies},
}};

constexpr std::array<std::pair<std::string_view, Fault>, 13> kFaults{{
    {"none", Fault::None},
    {"delay", Fault::Delay},
    {"hang", Fault::Hang},
    {"drip", Fault::Drip},
    {"reset", Fault::Reset},
    {"notfound", Fault::NotFound},
    {"servererror", Fault::ServerError},
    {"truncated", Fault::Truncated},
    {"garbage", Fault::Garbage},
    {"huge", Fault::Huge},
    {"corruptcover", Fault::CorruptCover},
    {"hugecover", Fault::HugeCover},
    {"streamhalf", Fault::StreamHalf},
}};

}  // namespace

bool ParseEndpoint(std::string_view name, Endpoint& endpoint) {
  for (const auto& [text, value] : kEndpoints)
    if (text == name) {
      endpoint = value;
      return true;
    }
  return false;
}

bool ParseFaultName(std::string_view name, Fault& fault) {
  for (const auto& [text, value] : kFaults)
    if (text == name) {
      fault = value;
      return true;
    }
  return false;
}

}  // namespace orvane::station
