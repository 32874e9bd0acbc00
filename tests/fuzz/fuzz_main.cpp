// One libFuzzer executable per target; TALVORO_FUZZ_TARGET names it.
#include <cstdio>
#include <cstdlib>

#include "targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!fuzz::Run(TALVORO_FUZZ_TARGET, data, size)) {
    std::fprintf(stderr, "no fuzz target %s\n", TALVORO_FUZZ_TARGET);
    std::abort();
  }
  return 0;
}
