#include "platform/sdl/command_line.h"

#include "platform/platform.h"

namespace velko::platform {

CommandLineAction ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return CommandLineAction::Play;
  if (arguments.size() == 1 && arguments[0] == "--help") return CommandLineAction::Help;
  if (arguments.size() == 1 && arguments[0] == "--version") return CommandLineAction::Version;
  return CommandLineAction::Refuse;
}

std::string UsageText() {
  // Written in the game's own language and encoding, turned into UTF-8 for the terminal.
  return Utf8FromCp1252(
      "Utilisation : velko [--help | --version]\n"
      "\n"
      "Project Velko Alpha 0.5, une petite course de voiture vue de dessus. Sans option, le\n"
      "jeu demande le mode d'affichage, puis d\xE9marre.\n"
      "\n"
      "  --help      affiche cette aide et quitte\n"
      "  --version   affiche la version et quitte\n"
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
      "Espace coche ou appuie (croix haut et bas, A).\n");
}

std::string VersionText() {
  return "Velko 0.5\n";
}

}  // namespace velko::platform
