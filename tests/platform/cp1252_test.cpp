#include <gtest/gtest.h>

#include "platform/platform.h"

namespace velko::platform {
namespace {

TEST(Cp1252Test, ConvertsTheGamesTextsToUtf8AndUtf16) {
  struct Case {
    std::string cp1252;
    std::string utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"Chargement...", "Chargement...", u"Chargement..."},
      {"Mode fenestr\xE9 (800*600)", "Mode fenestr\xC3\xA9 (800*600)",
       u"Mode fenestr\u00E9 (800*600)"},
      {"Forcer Ecran \xE0 75 Hz", "Forcer Ecran \xC3\xA0 75 Hz", u"Forcer Ecran \u00E0 75 Hz"},
      {"Avec \xE7"
       "a",
       "Avec \xC3\xA7"
       "a",
       u"Avec \u00E7a"},
      {"\x80", "\xE2\x82\xAC", u"\u20AC"},  // euro sign
      {"\x92", "\xE2\x80\x99", u"\u2019"},  // right single quote
      {"\x81", "\xEF\xBF\xBD", u"\uFFFD"},  // undefined: replacement character
      {"\xFF", "\xC3\xBF", u"\u00FF"},
      {std::string("a\0b", 3), std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8FromCp1252(c.cp1252), c.utf8) << c.cp1252;
    EXPECT_TRUE(Utf16FromCp1252(c.cp1252) == c.utf16) << c.cp1252;
  }
}

}  // namespace
}  // namespace velko::platform
