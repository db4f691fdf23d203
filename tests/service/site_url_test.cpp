#include "service/site_url.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct Case {
  const char* name;
  std::string base;
  std::string path;
  std::optional<std::string> want;  // nothing: refused
};

TEST(MusicSiteUrl, StaysOnTheMusicSite) {
  const std::string site = "https://music.douban.com";
  const std::string local = "http://127.0.0.1:40123";
  const Case cases[] = {
      // Accepted, with the JSON escapes undone.
      {"escaped album path", site, "\\/subject\\/2170967\\/",
       "https://music.douban.com/subject/2170967/"},
      {"plain album path", site, "/subject/1/", "https://music.douban.com/subject/1/"},
      {"local station with port", local, "\\/subject\\/1\\/", "http://127.0.0.1:40123/subject/1/"},
      {"default port written out", site, ":443/subject/1/",
       "https://music.douban.com:443/subject/1/"},
      {"query after the path", site, "/subject/1/?from=fm",
       "https://music.douban.com/subject/1/?from=fm"},
      {"upper-case scheme and host in base", "HTTPS://Music.Douban.COM", "/subject/1/",
       "HTTPS://Music.Douban.COM/subject/1/"},
      {"IPv6 base", "http://[::1]:8080", "/subject/1/", "http://[::1]:8080/subject/1/"},
      {"empty path", site, "", "https://music.douban.com"},
      // Refused: another host.
      {"user-info", site, "@elsewhere.example/subject/1/", std::nullopt},
      {"user-info with colon", site, ":x@elsewhere.example/subject/1/", std::nullopt},
      {"escaped scheme-relative path", site, "\\/\\/evil.example\\/subject", std::nullopt},
      {"plain scheme-relative path", site, "//evil.example/subject", std::nullopt},
      {"host extended", site, ".evil.example/subject/1/", std::nullopt},
      {"host extended with letters", site, "x/subject/1/", std::nullopt},
      {"path without leading slash", site, "subject/1/", std::nullopt},
      {"trailing dot host", site, "./subject/1/", std::nullopt},
      {"other port", site, ":8443/subject/1/", std::nullopt},
      {"port zero", site, ":0/subject/1/", std::nullopt},
      {"port out of range", site, ":65979/subject/1/", std::nullopt},
      {"port not a number", site, ":44x/subject/1/", std::nullopt},
      {"percent-encoded host", site, "%2eevil.example/subject", std::nullopt},
      {"IPv6 port changed", "http://[::1]:8080", "0/subject/1/", std::nullopt},
      {"IPv6 literal extended", "http://[::1]", ":1]/subject", std::nullopt},
      // Refused: bytes a browser reads differently, and path tricks.
      {"backslash", site, "\\\\evil.example\\subject", std::nullopt},
      {"lone backslash in path", site, "/subject\\1/", std::nullopt},
      {"tab", site, "/sub\tject/1/", std::nullopt},
      {"line break before user-info", site, "\n@evil.example/subject/", std::nullopt},
      {"DEL byte", site, "/subject/\x7f/", std::nullopt},
      {"space", site, "/subject/1 /", std::nullopt},
      {"non-ASCII byte", site, "/subject/专辑/", std::nullopt},
      {"dot-dot", site, "/subject/../../x", std::nullopt},
      {"percent-encoded dot-dot", site, "/subject/%2E%2e/x", std::nullopt},
      {"double slash inside the path", site, "/subject//evil.example", std::nullopt},
      // Refused: a base that is no http(s) URL.
      {"base without scheme", "music.douban.com", "/subject/1/", std::nullopt},
      {"base with another scheme", "ftp://music.douban.com", "/subject/1/", std::nullopt},
      {"empty base", "", "/subject/1/", std::nullopt},
      {"base with user-info", "https://u@music.douban.com", "/subject/1/", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MusicSiteUrl(c.base, c.path), c.want) << c.name;
  }
}

TEST(ParseUrlOrigin, DefaultPortsAndCase) {
  EXPECT_EQ(ParseUrlOrigin("https://A.example"), (UrlOrigin{"https", "a.example", 443}));
  EXPECT_EQ(ParseUrlOrigin("http://a.example/x"), (UrlOrigin{"http", "a.example", 80}));
  EXPECT_EQ(ParseUrlOrigin("http://a.example:80"), ParseUrlOrigin("http://a.example"));
  EXPECT_EQ(ParseUrlOrigin("http://[::1]:9/"), (UrlOrigin{"http", "[::1]", 9}));
  EXPECT_EQ(ParseUrlOrigin("http://:80/"), std::nullopt);
  EXPECT_EQ(ParseUrlOrigin("http://[::1/"), std::nullopt);
  EXPECT_EQ(ParseUrlOrigin("http://[::1]x/"), std::nullopt);
}

}  // namespace
}  // namespace orvane
