// Replays the saved inputs of a fuzz target without fuzzing:
//   talvoro_fuzz_replay TARGET DIRECTORY...
// Every regular file in the directories goes to the target once, in name
// order; a fault aborts with the input's name on stderr.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "targets.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s TARGET DIRECTORY...\n", argv[0]);
    return 2;
  }
  std::vector<std::filesystem::path> inputs;
  for (int i = 2; i < argc; ++i) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  for (const auto& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    std::fprintf(stderr, "%s\n", input.string().c_str());
    if (!fuzz::Run(argv[1], reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) {
      std::fprintf(stderr, "no fuzz target %s\n", argv[1]);
      return 2;
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs for %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %zu inputs replayed\n", argv[1], inputs.size());
  return 0;
}
