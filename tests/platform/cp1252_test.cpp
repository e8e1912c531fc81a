#include <gtest/gtest.h>

#include "platform/platform.h"

namespace velko::platform {
namespace {

TEST(Utf8FromCp1252Test, ConvertsTheGamesTexts) {
  struct Case {
    std::string cp1252;
    std::string utf8;
  };
  const Case cases[] = {
      {"Chargement...", "Chargement..."},
      {"Mode fenestr\xE9 (800*600)", "Mode fenestr\xC3\xA9 (800*600)"},
      {"Forcer Ecran \xE0 75 Hz", "Forcer Ecran \xC3\xA0 75 Hz"},
      {"Avec \xE7"
       "a",
       "Avec \xC3\xA7"
       "a"},
      {"\x80", "\xE2\x82\xAC"},  // euro sign
      {"\x92", "\xE2\x80\x99"},  // right single quote
      {"\x81", "\xEF\xBF\xBD"},  // undefined: replacement character
      {"\xFF", "\xC3\xBF"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8FromCp1252(c.cp1252), c.utf8) << c.cp1252;
}

}  // namespace
}  // namespace velko::platform
