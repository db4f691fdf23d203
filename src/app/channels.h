#pragma once
// The channel chooser's 32 items, in list order (index from 0). Separators
// carry no identifier and select no channel.

#include <array>
#include <string_view>

namespace orvane {

struct ChannelItem {
  std::string_view text;
  std::string_view id;  // empty for a separator
  bool isSeparator() const { return id.empty(); }
};

inline constexpr std::array<ChannelItem, 32> kChannelItems{{
    {"豆瓣精选", "-10"}, {"-------", ""},  {"华语", "1"},      {"欧美", "2"},
    {"70s", "3"},        {"80s", "4"},     {"90s", "5"},       {"粤语", "6"},
    {"日语", "17"},      {"韩语", "18"},   {"新歌", "61"},     {"-------", ""},
    {"流行", "194"},     {"摇滚", "7"},    {"民谣MHz", "8"},   {"轻音乐", "9"},
    {"电影原声", "10"},  {"爵士", "13"},   {"古典", "27"},     {"动漫", "28"},
    {"世界音乐", "187"}, {"布鲁斯", "188"}, {"拉丁", "189"},   {"-------", ""},
    {"工作学习", "153"}, {"户外", "151"},  {"休息", "152"},    {"亢奋", "154"},
    {"舒缓", "155"},     {"Easy", "77"},   {"咖啡", "32"},     {"运动", "257"},
}};

inline constexpr std::string_view kStartChannelId = "-10";
inline constexpr std::string_view kStartChannelLabel = "豆瓣精选 MHz";

}  // namespace orvane
