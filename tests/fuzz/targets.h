// The fuzz targets' bodies, shared by the libFuzzer executables (one per
// target) and by the replay of their corpora in the default test suite.
#ifndef TALVORO_FUZZ_TARGETS_H_
#define TALVORO_FUZZ_TARGETS_H_

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Runs the target called `name` ("nesting", "Diagnose", "CInterface" or a
// document function's name) on one input; aborts on a fault, so that libFuzzer and the
// replay report it.
// False when there is no such target.
bool Run(const char* name, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz

#endif  // TALVORO_FUZZ_TARGETS_H_
