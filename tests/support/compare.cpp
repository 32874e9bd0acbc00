// Compares two outputs saved to files and tells the first difference in a
// few lines, however large the outputs:  talvoro_compare FIRST SECOND
// Exit status 0 ("N lines alike") when they are equal; 1 and the first line
// that differs, with the line before it, each cut to 100 bytes with bytes
// outside printable ASCII escaped, when not; 2 when a file cannot be read.
#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string Shown(const std::string& line) {
  std::string shown;
  for (std::size_t i = 0; i < line.size() && i < 100; ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    shown += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, line[i]) : std::string(hex);
  }
  return line.size() > 100 ? shown + "... (" + std::to_string(line.size()) + " bytes)" : shown;
}

}  // namespace

int main(int argc, char** argv) {
  std::ifstream first(argc == 3 ? argv[1] : "", std::ios::binary),
      second(argc == 3 ? argv[2] : "", std::ios::binary);
  if (!first || !second) {
    std::fprintf(stderr, "usage: talvoro_compare FIRST SECOND (two files to read)\n");
    return 2;
  }
  std::string a, b, before;
  for (unsigned long line = 1;; ++line) {
    const bool moreA = static_cast<bool>(std::getline(first, a));
    const bool moreB = static_cast<bool>(std::getline(second, b));
    if (!moreA && !moreB) return std::printf("%lu lines alike\n", line - 1), 0;
    if (moreA == moreB && a == b) {
      before.swap(a);
      continue;
    }
    std::printf("line %lu differs:\n", line);
    if (line > 1) std::printf("  both:   %s\n", Shown(before).c_str());
    std::printf("  first:  %s\n", moreA ? Shown(a).c_str() : "(the end)");
    std::printf("  second: %s\n", moreB ? Shown(b).c_str() : "(the end)");
    return 1;
  }
}
