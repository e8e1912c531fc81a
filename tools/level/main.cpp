// velko-level: the game's circuit to and from Tiled maps.
//   velko-level import MAP OUTDIR     a .tmx or .tmj/.json map -> OUTDIR/level.map, level.bpb
//   velko-level export LEVELDIR OUTDIR  level.map + level.bpb -> level.tmx, level.tsx, PNG
//   velko-level check LEVELDIR        one line per problem; exit 1 when there is any
#include <cstdio>
#include <string>
#include <string_view>

#include "level/level_commands.h"

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  if (command == "import" && argc == 4) return velko::level::RunImport(argv[2], argv[3]);
  if (command == "export" && argc == 4) return velko::level::RunExport(argv[2], argv[3]);
  if (command == "check" && argc == 3) return velko::level::RunCheck(argv[2]);
  std::fprintf(stderr,
               "usage: velko-level import MAP OUTDIR\n"
               "       velko-level export LEVELDIR OUTDIR\n"
               "       velko-level check LEVELDIR\n");
  return 2;
}
