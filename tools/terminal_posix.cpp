// The terminal's character set on POSIX systems: the locale's codeset, and
// iconv into it.
#include <iconv.h>
#include <langinfo.h>

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

}  // namespace inspector
