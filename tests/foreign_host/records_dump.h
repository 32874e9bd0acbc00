// The records of every reader on its example and its fuzz corpus, one line
// each: the reader, the document's name, the result and the bytes in hex. A
// reference program prints them through the exported class, the foreign host
// through the host helper; a test compares the two.
#ifndef TALVORO_TESTS_FOREIGN_HOST_RECORDS_DUMP_H_
#define TALVORO_TESTS_FOREIGN_HOST_RECORDS_DUMP_H_

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "talvoro/core.h"

// Every reader of the library's table of documents, on its example.
inline int DumpRecords(std::pair<bool, std::string> (*read)(const std::string& name,
                                                            const char* path)) {
  for (int i = 0; const talvoro::DocumentType* type = talvoro::DocumentTypeAt(i); ++i) {
    const char* const reader[] = {type->reader, type->example};
    std::vector<std::filesystem::path> paths = {std::filesystem::path(TALVORO_EXAMPLES_DIR) /
                                                reader[1]};
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(TALVORO_FUZZ_DIR) / "corpus" / reader[0]))
      paths.push_back(entry.path());
    std::sort(paths.begin() + 1, paths.end());
    for (const std::filesystem::path& path : paths) {
      const auto [result, bytes] = read(reader[0], path.string().c_str());
      std::printf("%s %s %d ", reader[0], path.filename().string().c_str(), result ? 1 : 0);
      for (unsigned char c : bytes)
        std::printf("%02x", c);
      std::printf("\n");
    }
  }
  return 0;
}

#endif  // TALVORO_TESTS_FOREIGN_HOST_RECORDS_DUMP_H_
