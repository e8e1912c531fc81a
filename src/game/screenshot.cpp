#include "game/screenshot.h"

namespace velko {

std::string ShotFileName(int32_t number) {
  return "screenshots\\screen" + TextAlignRight(TextFromInt(number), 3, "0") + ".bmp";
}

std::optional<std::string> FirstFreeShotName(Operations& ops) {
  for (int32_t n = 0; n < kShotNames; ++n) {
    std::string name = ShotFileName(n);
    if (ops.DataFileSize(name) == -1) return name;  // a folder of that name counts as taken
  }
  return std::nullopt;
}

void SaveScreenshot(Operations& ops, std::string& shotName) {
  ops.SpriteGrab(kShotSprite, 0, 0, 800, 600);
  const std::optional<std::string> name = FirstFreeShotName(ops);
  // Every name taken: nothing is written rather than a shot overwritten.
  if (!name) return;
  shotName = *name;
  ops.SpriteSaveBmp(kShotSprite, shotName);
}

}  // namespace velko
