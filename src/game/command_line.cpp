#include "game/command_line.h"

#include <cstdio>

#include "platform/platform.h"

namespace velko {
namespace {

bool IsBareName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::function<std::string(const std::string&)>& absoluteFolder) {
  CommandLine line;
  if (arguments.size() == 1 && arguments[0] == "--help") {
    line.action = CommandLineAction::Help;
    return line;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    line.action = CommandLineAction::Version;
    return line;
  }
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string* file = argument == "--record"  ? &line.recordFile
                        : argument == "--play"  ? &line.playFile
                        : argument == "--trace" ? &line.traceFile
                                                : nullptr;
    if (file != nullptr && file->empty() && i + 1 < arguments.size() && !arguments[i + 1].empty()) {
      *file = arguments[++i];
      continue;
    }
    if (argument == "--level" && i + 1 < arguments.size() && line.options.levelFolder.empty()) {
      const std::string& folder = arguments[++i];
      const std::string absolute = absoluteFolder(folder);
      if (!absolute.empty()) {
        line.options.levelFolder = absolute;
      } else if (IsBareName(folder)) {
        line.options.levelFolder = folder;  // a circuit of the game's own levels folder
      } else {
        line.action = CommandLineAction::Refuse;
        line.error = "--level " + folder + " : aucun dossier de ce nom";
        return line;
      }
      continue;
    }
    line.action = CommandLineAction::Refuse;
    return line;
  }
  if (!line.recordFile.empty() && !line.playFile.empty()) {
    line.action = CommandLineAction::Refuse;
    line.error = "--record et --play ne vont pas ensemble";
  }
  return line;
}

std::optional<int> AnswerWithoutPlaying(const CommandLine& line) {
  switch (line.action) {
    case CommandLineAction::Help:
      std::fputs(platform::Utf8FromCp1252(UsageText()).c_str(), stdout);
      return 0;
    case CommandLineAction::Version:
      std::fputs(VersionText().c_str(), stdout);
      return 0;
    case CommandLineAction::Refuse:
      if (!line.error.empty()) std::fprintf(stderr, "velko: %s\n", line.error.c_str());
      std::fputs(platform::Utf8FromCp1252(UsageText()).c_str(), stderr);
      return 2;
    case CommandLineAction::Play:
      break;
  }
  return std::nullopt;
}

RunRequest RequestFrom(const CommandLine& line) {
  RunRequest request;
  request.game = line.options;
  request.recordFile = line.recordFile;
  request.playFile = line.playFile;
  request.traceFile = line.traceFile;
  return request;
}

std::string UsageText() {
  return "Utilisation : velko [--help | --version]\n"
         "       velko [--level DOSSIER] [--record DEMO | --play DEMO] [--trace FICHIER]\n"
         "\n"
         "Project Velko Alpha 0.5, une petite course de voiture vue de dessus. Sans option, le\n"
         "jeu demande le mode d'affichage, puis d\xE9marre.\n"
         "\n"
         "  --help            affiche cette aide et quitte\n"
         "  --version         affiche la version et quitte\n"
         "  --level DOSSIER   joue le circuit (level.map et level.bpb) de DOSSIER, ou un\n"
         "                    circuit livr\xE9 avec le jeu par son nom (ville, rapide)\n"
         "  --record DEMO     enregistre la partie dans le fichier DEMO (une d\xE9mo)\n"
         "  --play DEMO       rejoue la d\xE9mo DEMO \xE0 son rythme ; \xC9"
         "chap l'arr\xEAte\n"
         "  --trace FICHIER   \xE9"
         "crit dans FICHIER l'\xE9tat de la voiture \xE0 chaque image\n"
         "\n"
         "Touches (et manette) :\n"
         "  Haut           acc\xE9l\xE9rer          (A, g\xE2"
         "chette droite)\n"
         "  Bas            freiner            (B, g\xE2"
         "chette gauche)\n"
         "  Gauche, Droite tourner            (croix, stick gauche)\n"
         "  F12            capture d'\xE9"
         "cran (Y)\n"
         "  Echap          quitter            (Back)\n"
         "Dans la fen\xEAtre de choix : Tab et Maj+Tab passent d'un contr\xF4le \xE0 l'autre,\n"
         "Espace coche ou appuie (croix haut et bas, A).\n";
}

std::string VersionText() {
  return "Velko 0.5\n";
}

}  // namespace velko
