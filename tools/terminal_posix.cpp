// The terminal's character set on POSIX systems: the locale's codeset, and
// iconv into it.
#include <iconv.h>
#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "text.h"

namespace inspector {
namespace {

std::string FindTerminalEncoding() {
  // A locale that this system has not made still names what its terminal
  // takes.
  if (std::setlocale(LC_CTYPE, "")) return ::nl_langinfo(CODESET);
  return LocaleVariablesEncoding();
}

}  // namespace

std::string TerminalEncoding() {
  static const std::string encoding = FindTerminalEncoding();
  return encoding;
}

bool TerminalHas(char32_t code) {
  // One conversion into the terminal's set, for the program's life.
  struct Converter {
    Converter() : cd(::iconv_open(TerminalEncoding().c_str(), "UTF-8")) {}
    ~Converter() {
      if (valid()) ::iconv_close(cd);
    }
    bool valid() const { return cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd;
  };
  if (code < 0x80 || TerminalEncoding() == "UTF-8") return true;
  static const Converter converter;
  if (!converter.valid()) return false;
  std::string character = Utf8(static_cast<unsigned>(code));
  char converted[16];
  char* in = &character[0];
  char* to = converted;
  std::size_t inLeft = character.size(), outLeft = sizeof converted;
  const bool has =
      ::iconv(converter.cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
      ::iconv(converter.cd, nullptr, nullptr, &to, &outLeft) != static_cast<std::size_t>(-1);
  ::iconv(converter.cd, nullptr, nullptr, nullptr, nullptr);
  return has;
}

std::string ForTerminal(const std::string& utf8) {
  const std::string encoding = TerminalEncoding();
  if (encoding == "UTF-8") return utf8;
  const iconv_t cd = ::iconv_open(encoding.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::string character = utf8.substr(at, length);
    at += length;
    char converted[16];
    char* in = &character[0];
    char* to = converted;
    std::size_t inLeft = character.size(), outLeft = sizeof converted;
    if (::iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
        ::iconv(cd, nullptr, nullptr, &to, &outLeft) != static_cast<std::size_t>(-1)) {
      out.append(converted, sizeof converted - outLeft);
      continue;
    }
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    unsigned code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < character.size(); ++i)
      code = code << 6 | (static_cast<unsigned char>(character[i]) & 0x3F);
    char escape[12];
    std::snprintf(escape, sizeof escape, code < 0x10000 ? "\\u%04X" : "\\U%08X", code);
    out += escape;
  }
  ::iconv_close(cd);
  return out;
}

std::string ProgramFolder() {
  char path[4096];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "";
  const std::string program(path, static_cast<std::size_t>(length));
  return program.substr(0, program.rfind('/'));
}

}  // namespace inspector
