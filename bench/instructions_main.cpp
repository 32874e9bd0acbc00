// One document function's call, or its baseline, run a given number of times
// for callgrind, which counts the instructions executed inside Measured only:
//
//   valgrind --tool=callgrind --toggle-collect=Measured
//     build-bench/bench/talvoro_instructions GetShutCutInfo 4096 library 20
//
// ("c" instead of "library": the reader through the C interface)
//
// (one command line).
//
// Instruction counts do not depend on what else the machine runs, unlike the
// times of talvoro_bench. The documents and baselines are the benchmark's own.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "documents.h"
#include "temp_dir.h"

extern "C" __attribute__((noinline)) void Measured(std::function<void()>& call, int times) {
  for (int i = 0; i < times; ++i)
    call();
}

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s FUNCTION BYTES library|tinyxml|c TIMES\n", argv[0]);
    return 2;
  }
  const std::string function = argv[1], which = argv[3];
  const std::size_t bytes = std::strtoul(argv[2], nullptr, 10);
  testutil::TempDir dir;
  for (bench::Case& c : bench::DocumentCases()) {
    if (c.name != function) continue;
    const std::string path = dir / "document.xml";
    std::ofstream(path, std::ios::binary) << c.make(bytes);
    std::function<void()> library, baseline;
    c.prepare(path, library, baseline);
    // "c": the reader through the C interface, as bench::CInterfaceCall calls it.
    std::function<void()> cPath = bench::CInterfaceCall(function, path);
    Measured(which == "library" ? library : which == "c" ? cPath : baseline, std::atoi(argv[4]));
    return 0;
  }
  std::fprintf(stderr, "no function %s\n", argv[1]);
  return 2;
}
