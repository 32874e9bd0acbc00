// A document's text for a person. The library hands out a document's bytes
// as they are; the inspector decodes them from the encoding the document is
// read in (through the library's character sets: glibc's iconv, or the code
// pages of Windows) and shows them in the terminal's encoding. Nothing is
// lost silently: a byte that begins no character shows as \xNN, and JSON
// keeps the exact bytes beside a text that cannot carry them.
#ifndef TALVORO_TOOLS_TEXT_H_
#define TALVORO_TOOLS_TEXT_H_

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "talvoro/diagnose.h"

namespace inspector {

class Decoder {
 public:
  // `encoding` as DeclaredEncoding tells it; "" is UTF-8.
  explicit Decoder(const std::string& encoding);
  // The decoder of the document at `path`: its declared encoding, or UTF-8
  // when the document does not load.
  static Decoder For(const std::string& path);

  // Whether the system knows the encoding; when not, every byte above 0x7F
  // shows as \xNN.
  bool known() const { return set_ != nullptr; }
  const std::string& encoding() const { return encoding_; }

  // The text as UTF-8, each byte that begins no character as \xNN; *exact
  // is false when there was any such byte (a text without one is exact, its
  // backslashes its own).
  std::string ToUtf8(const std::string& bytes, bool* exact = nullptr) const;
  // The character at the start of `bytes`: its length (0 when none begins
  // there) and code point.
  int Character(const std::string& bytes, std::size_t at, unsigned* code) const;

  // Every string of `value` (objects, arrays, and their members) decoded.
  // With `keepBytes`, an object's member whose text is not exact gets a
  // member "NAME.bytes" right after it: its bytes in hex ("D0D0").
  void Decode(nlohmann::ordered_json& value, bool keepBytes) const;

 private:
  struct Close {
    void operator()(talvoro::CharacterSet* set) const { talvoro::CloseCharacterSet(set); }
  };
  std::string encoding_;
  std::unique_ptr<talvoro::CharacterSet, Close> set_;
};

// Bytes as hex pairs: "D0 D0" (with `separator` " ") or "D0D0".
std::string Hex(const std::string& bytes, const char* separator = "");
// A code point as UTF-8.
std::string Utf8(unsigned code);
// The columns UTF-8 text takes on a terminal: East Asian wide characters two.
std::size_t Columns(const std::string& utf8);

// The terminal's character set, as the locale's variables give it
// (LC_ALL, LC_CTYPE, LANG): "UTF-8", "GBK", "ANSI_X3.4-1968".
std::string TerminalEncoding();
// The codeset that the first of LC_ALL, LC_CTYPE and LANG that is set names
// ("zh_CN.GBK@x": "GBK"; "UTF-8" for any spelling of it); ASCII's name
// ("ANSI_X3.4-1968") when none is, or names none.
std::string LocaleVariablesEncoding();
// Whether it is UTF-8.
bool TerminalTakesUtf8();
// UTF-8 text in the terminal's set; a character that the set lacks as
// \uXXXX (\UXXXXXXXX beyond the first plane).
std::string ForTerminal(const std::string& utf8);

}  // namespace inspector

#endif  // TALVORO_TOOLS_TEXT_H_
