// A text for a person. The library hands out a document's bytes as they
// are; the inspector decodes them from the encoding the document is read in,
// as browsers decode it (the library's character sets), and every text it
// prints (values, names, file names, encodings, the library's details) goes
// through one of the renderings below. Nothing is lost silently and nothing
// can abort the output:
//  - JSON is UTF-8; a byte that begins no character is "\xNN" there, and the
//    member that holds such a text gets a member "NAME.bytes" right after it
//    with the text's exact bytes in hex;
//  - a terminal gets a text as it is when it shows every character of it;
//    otherwise the text in the shell's $'...' notation, where a backslash
//    always begins an escape: \\ and \' for themselves, \uXXXX (\UXXXXXXXX)
//    for a character the terminal lacks, \xNN for a byte that begins no
//    character. A text that itself begins with $' is shown so too.
#ifndef TALVORO_TOOLS_TEXT_H_
#define TALVORO_TOOLS_TEXT_H_

#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "talvoro/diagnose.h"

namespace inspector {

// A decoded text: its code points, and each byte that begins no character as
// kByte plus the byte.
using Decoded = std::u32string;
inline constexpr char32_t kByte = 0x110000;

class Decoder {
 public:
  // `encoding` as DeclaredEncoding tells it; "" is UTF-8. "ASCII" takes
  // every byte above 0x7F for no character.
  explicit Decoder(const std::string& encoding);
  // The decoder of the document at `path`: its declared encoding, or UTF-8
  // when the document does not load.
  static Decoder For(const std::string& path);
  // The decoder of what the user typed and the system says: the terminal's.
  static const Decoder& Terminal();

  // Whether the system knows the encoding; when not, every byte above 0x7F
  // is no character.
  bool known() const { return set_ != nullptr || ascii_; }
  const std::string& encoding() const { return encoding_; }

  Decoded Decode(const std::string& bytes) const;
  // The character at `at` of `bytes`: its length (0 when none begins there)
  // and its first code point.
  int Character(const std::string& bytes, std::size_t at, unsigned* code) const;

  // Every string of `value` (objects, arrays, and their members) decoded to
  // JSON's UTF-8, with "NAME.bytes" beside a member that does not decode
  // whole.
  void Decode(nlohmann::ordered_json& value) const;
  // Every string of `value` decoded and shown for the terminal (Shown), for
  // tables and trees.
  void Show(nlohmann::ordered_json& value) const;

 private:
  struct Close {
    void operator()(talvoro::CharacterSet* set) const { talvoro::CloseCharacterSet(set); }
  };
  std::string encoding_;
  bool ascii_ = false;
  std::unique_ptr<talvoro::CharacterSet, Close> set_;
};

// The text as JSON's UTF-8; *exact is false when a byte of it begins no
// character (it is "\xNN" then).
std::string JsonText(const Decoded& text, bool* exact = nullptr);
// Sets member `name` of `object` to the text, with "NAME.bytes" after it
// when it is not exact.
void SetJsonText(nlohmann::ordered_json& object, const std::string& name, const Decoded& text,
                 const std::string& bytes);

// Where a text is shown: a terminal, which may lack characters, or a JSON
// message, which has them all.
enum class Target { kTerminal, kJson };
// The text as UTF-8 of characters the target has: as it is, or in the $'...'
// notation.
std::string Shown(const Decoded& text, Target target = Target::kTerminal);
// The same in a sentence: "TEXT" when it shows as it is, $'...' otherwise.
std::string ShownQuoted(const Decoded& text, Target target = Target::kTerminal);
// Bytes that the user typed or the system said (file names, details), shown.
std::string ShownTyped(const std::string& bytes);

// Bytes as hex pairs: "D0 D0" (with `separator` " ") or "D0D0".
std::string Hex(const std::string& bytes, const char* separator = "");
// A code point as UTF-8.
std::string Utf8(unsigned code);
// The columns UTF-8 text takes on a terminal: East Asian wide characters two.
std::size_t Columns(const std::string& utf8);

// The terminal's character set, as the locale gives it: "UTF-8", "GBK",
// "ANSI_X3.4-1968".
std::string TerminalEncoding();
// The codeset that the first of LC_ALL, LC_CTYPE and LANG that is set names
// ("zh_CN.GBK@x": "GBK"; "UTF-8" for any spelling of it); ASCII's name
// ("ANSI_X3.4-1968") when none is, or names none.
std::string LocaleVariablesEncoding();
// Whether it is UTF-8.
bool TerminalTakesUtf8();
// Whether the terminal has the character.
bool TerminalHas(char32_t code);
// UTF-8 text of characters the terminal has, in the terminal's set.
std::string ForTerminal(const std::string& utf8);
// The folder of the running program; "" where the system does not say.
std::string ProgramFolder();

}  // namespace inspector

#endif  // TALVORO_TOOLS_TEXT_H_
