// The libFuzzer target of one reader, named by VELKO_FUZZ_TARGET at build time. A broken
// promise of the reader stops the run like a sanitizer report, so libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const velko::fuzzing::Entry entry = velko::fuzzing::EntryNamed(VELKO_FUZZ_TARGET);
  if (entry == nullptr) {
    std::fprintf(stderr, "no fuzz entry named %s\n", VELKO_FUZZ_TARGET);
    std::abort();
  }
  const std::string broken = entry(velko::fuzzing::Input(data, size)).broken;
  if (!broken.empty()) {
    std::fprintf(stderr, "%s reader: %s\n", VELKO_FUZZ_TARGET, broken.c_str());
    std::abort();
  }
  return 0;
}
