// Decodes byte sequences with the library's character sets, for
// compare.py: reads one sequence a line, in hex, and writes each as the code
// points of its characters, in hex and by a blank, a byte that begins no
// character as "!" and its hex.
//   talvoro_decode ENCODING < sequences
#include <cstdio>
#include <iostream>
#include <string>

#include "talvoro/diagnose.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  talvoro::CharacterSet* set = talvoro::OpenCharacterSet(argv[1]);
  if (!set) return 1;
  for (std::string hex; std::getline(std::cin, hex);) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
      bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    std::string out;
    for (std::size_t at = 0; at < bytes.size();) {
      unsigned codes[2];
      int count = 0;
      char word[24];
      const int length = talvoro::DecodeCharacter(set, bytes.data() + at,
                                                  static_cast<int>(bytes.size() - at), codes, &count);
      if (length == 0) {
        std::snprintf(word, sizeof word, " !%02X", static_cast<unsigned char>(bytes[at]));
        out += word;
        ++at;
        continue;
      }
      for (int i = 0; i < count; ++i) {
        std::snprintf(word, sizeof word, " %X", codes[i]);
        out += word;
      }
      at += static_cast<std::size_t>(length);
    }
    std::cout << (out.empty() ? "" : out.substr(1)) << '\n';
  }
  talvoro::CloseCharacterSet(set);
  return 0;
}
