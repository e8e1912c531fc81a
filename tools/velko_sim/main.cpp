// velko-sim DIR [options]: the whole game on the headless platform, DIR standing in for the
// program's directory.
#include <cstdio>
#include <string>
#include <vector>

#include "sim_options.h"
#include "sim_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string error;
  const std::optional<velko::sim::SimOptions> options =
      velko::sim::ParseSimOptions(arguments, error);
  if (!options) {
    std::fprintf(stderr, "velko-sim: %s\n%s", error.c_str(), velko::sim::kUsage);
    return 2;
  }
  return velko::sim::RunSim(*options);
}
