// A replica of the way TinyXML 2.6 reads a document, reduced to what decides
// where its nodes begin and end, without recursion. TinyXML parses nested
// elements by recursion and builds its whole tree before anyone can look at
// it; the scan walks the same text first, in one pass and in constant stack,
// and tells a listener what TinyXML's parse will meet: each element as it is
// entered (with its depth), each attribute, each node and string it will
// allocate, and each UTF-8 lead byte that takes a quote or an angle bracket
// along. The loader's guard and memory budget (guard.h) and the diagnosis's
// finder of swallowed quotes listen to it. The replica follows TinyXML 2.6's
// reading function by function.
#ifndef TALVORO_XML_SCAN_H_
#define TALVORO_XML_SCAN_H_

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <tinyxml.h>

#include "xml/encoding.h"

namespace talvoro {

// The nodes of TinyXML's tree, each of its own size.
enum class XmlNode { kElement, kAttribute, kText, kComment, kDeclaration, kUnknown };

// A listener has these members, called as the scan meets what they say; the
// scan is a template over its listener, so that its calls cost no more than
// the listener's own work:
//   bool Element(const char* tag, int depth)   TinyXML enters the element
//       whose start tag begins at `tag`, `depth` levels deep (the document
//       element is 1); false ends the scan there.
//   bool Attribute(const char* tag, int count) it reads attribute number
//       `count` (from 1) of the element at `tag`; false ends the scan there.
//   void Node(XmlNode kind)                    it makes a node of `kind`.
//   void String(std::size_t length, bool appended)
//       it makes a string of `length` bytes, assigned whole or built by
//       appending a character at a time.
//   void Swallowed(const char* lead)           reading UTF-8, the lead byte
//       at `lead` takes a quote, '<' or '>' along as part of its character.

// Scans the zero-terminated `text` as TinyXML's Parse (default encoding)
// reads it, up to where TinyXML gives up or the listener ends the scan.
// Each step follows the TinyXML function it is named after, quirks included:
// a UTF-8 lead byte swallows the bytes after it (a quote or '<' among them),
// "&#x...x;" and "&#...#1;" skip everything up to the ';', an unknown "<!..."
// or "<?..." ends at the first '>', quoted or not. Where TinyXML gives up,
// the scan gives up too, or, where that would take more copying than it is
// worth (a repeated attribute name), carries on, which can only count more.
// Where TinyXML checks each new attribute against all earlier ones of its
// element (so its time grows with the square of their number), the scan only
// counts. The character classes are the same <cctype> calls TinyXML makes,
// so the answers agree in every locale. Never reads past the terminating
// zero byte.
template <class Listener>
void ScanDocument(const char* text, Listener& listener);

namespace scan_detail {
enum class Encoding { kUnknown, kUtf8, kLegacy };
enum class Markup { kNone, kDeclaration, kComment, kCData, kUnknown, kElement };

inline bool IsSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) || c == '\n' || c == '\r';
}
inline bool IsAlpha(unsigned char c) {
  return c < 127 ? std::isalpha(c) != 0 : true;
}
inline bool IsAlphaNum(unsigned char c) {
  return c < 127 ? std::isalnum(c) != 0 : true;
}

// The first bytes of a declaration's "encoding" value, as TinyXML decodes it
// (up to an embedded zero byte, where its C string would end).
class ValuePrefix {
 public:
  void Add(char c) {
    if (ended_) return;
    if (c == '\0') {
      ended_ = true;
    } else if (length_ < sizeof bytes_ - 1) {
      bytes_[length_++] = c;
    }
  }
  const char* c_str() const { return bytes_; }

 private:
  char bytes_[8] = {};
  std::size_t length_ = 0;
  bool ended_ = false;
};

template <class Listener>
class Scanner {
 public:
  explicit Scanner(Listener& listener) : listener_(listener) {}

  // TiXmlDocument::Parse: the nodes at the top, one after the other.
  void Document(const char* text) {
    const auto* u = reinterpret_cast<const unsigned char*>(text);
    if (u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) encoding_ = Encoding::kUtf8;
    const char* p = SkipSpace(text);
    while (p && *p && !stopped_) {
      const Markup markup = Identify(p);
      if (markup == Markup::kNone) break;
      if (markup == Markup::kElement) {
        p = Elements(p);
      } else {
        ValuePrefix encodingValue;
        p = Other(markup, p, &encodingValue);
        // The first declaration at the top settles how the rest is read.
        if (markup == Markup::kDeclaration && encoding_ == Encoding::kUnknown)
          encoding_ = NamesUtf8(encodingValue.c_str()) ? Encoding::kUtf8 : Encoding::kLegacy;
      }
      p = SkipSpace(p);
    }
  }

 private:
  // TiXmlBase::SkipWhiteSpace: null at the end of the text.
  const char* SkipSpace(const char* p) const {
    if (!p || !*p) return nullptr;
    if (encoding_ == Encoding::kUtf8) {
      while (*p) {
        const auto* u = reinterpret_cast<const unsigned char*>(p);
        if (u[0] == 0xEF &&
            ((u[1] == 0xBB && u[2] == 0xBF) || (u[1] == 0xBF && (u[2] == 0xBE || u[2] == 0xBF)))) {
          p += 3;
        } else if (IsSpace(*p)) {
          ++p;
        } else {
          break;
        }
      }
    } else {
      while (*p && IsSpace(*p))
        ++p;
    }
    return p;
  }

  // TiXmlBase::ToLower. The same call with the same argument as TinyXML's.
  int Lower(int c) const {
    if (encoding_ == Encoding::kUtf8 && c >= 128) return c;
    return std::tolower(c);
  }

  // TiXmlBase::StringEqual: `p` begins with `tag`.
  bool Begins(const char* p, const char* tag, bool ignoreCase = false) const {
    if (!p || !*p) return false;
    while (*p && *tag && (ignoreCase ? Lower(*p) == Lower(*tag) : *p == *tag)) {
      ++p;
      ++tag;
    }
    return *tag == '\0';
  }

  // TiXmlBase::ReadName: past the name, or null when none starts here.
  const char* ReadName(const char* p) const {
    if (!p || !*p || !(IsAlpha(static_cast<unsigned char>(*p)) || *p == '_')) return nullptr;
    while (*p && (IsAlphaNum(static_cast<unsigned char>(*p)) || *p == '_' || *p == '-' ||
                  *p == '.' || *p == ':'))
      ++p;
    return p;
  }

  // TiXmlBase::GetEntity, at a '&'.
  const char* Entity(const char* p, ValuePrefix* value) const {
    if (p[1] == '#' && p[2]) {
      const bool hex = p[2] == 'x';
      if (hex && !p[3]) return nullptr;
      const char* end = std::strchr(p + (hex ? 3 : 2), ';');
      if (!end) return nullptr;
      // Digits are read backwards from the ';' to the nearest 'x' or '#',
      // which need not be the one after the '&'.
      std::uint32_t code = 0, scale = 1;
      for (const char* q = end - 1; *q != (hex ? 'x' : '#'); --q) {
        std::uint32_t digit;
        if (*q >= '0' && *q <= '9') {
          digit = static_cast<std::uint32_t>(*q - '0');
        } else if (hex && *q >= 'a' && *q <= 'f') {
          digit = static_cast<std::uint32_t>(*q - 'a' + 10);
        } else if (hex && *q >= 'A' && *q <= 'F') {
          digit = static_cast<std::uint32_t>(*q - 'A' + 10);
        } else {
          return nullptr;
        }
        code += scale * digit;
        scale *= hex ? 16 : 10;
      }
      if (value) value->Add(static_cast<char>(code & 0xFF));
      return end + 1;
    }
    static const struct {
      const char* text;
      std::size_t length;
      char value;
    } kNamed[] = {{"&amp;", 5, '&'},
                  {"&lt;", 4, '<'},
                  {"&gt;", 4, '>'},
                  {"&quot;", 6, '"'},
                  {"&apos;", 6, '\''}};
    for (const auto& named : kNamed) {
      if (std::strncmp(named.text, p, named.length) == 0) {
        if (value) value->Add(named.value);
        return p + named.length;
      }
    }
    return p + 1;  // an unknown entity: the '&' is dropped
  }

  // TiXmlBase::GetChar. A UTF-8 lead byte takes the bytes after it along,
  // whatever they are; running into the end stops there, where TinyXML's
  // next look also finds a zero byte.
  const char* NextChar(const char* p, ValuePrefix* value) {
    const int length =
        encoding_ == Encoding::kUtf8 ? TiXmlBase::utf8ByteTable[static_cast<unsigned char>(*p)] : 1;
    if (length == 1) {
      if (*p == '&') return Entity(p, value);
      if (value) value->Add(*p);
      return p + 1;
    }
    if (length <= 0) return nullptr;
    bool swallows = false;
    for (int i = 1; i < length; ++i) {
      if (!p[i]) return p + i;
      if (!swallows && (p[i] == '"' || p[i] == '\'' || p[i] == '<' || p[i] == '>')) {
        swallows = true;
        listener_.Swallowed(p);
      }
    }
    return p + length;
  }

  // TiXmlBase::ReadText up to a one-character end mark: past the mark, or
  // null when the text ends first or right after it.
  const char* ReadText(const char* p, char end, bool trim, ValuePrefix* value) {
    if (!trim || !TiXmlBase::IsWhiteSpaceCondensed()) {
      while (p && *p && *p != end)
        p = NextChar(p, value);
    } else {
      p = SkipSpace(p);
      while (p && *p && *p != end)
        p = IsSpace(*p) ? p + 1 : NextChar(p, value);
    }
    if (p && *p) ++p;
    return p && *p ? p : nullptr;
  }

  // TiXmlAttribute::Parse.
  const char* Attribute(const char* p, ValuePrefix* value) {
    p = SkipSpace(p);
    if (!p || !*p) return nullptr;
    const char* name = p;
    p = ReadName(p);
    if (!p || !*p) return nullptr;
    listener_.Node(XmlNode::kAttribute);
    listener_.String(static_cast<std::size_t>(p - name), false);
    // Where TinyXML gives up, it has read to the end of the text.
    const char* end = AttributeValue(p, value);
    listener_.String(end ? static_cast<std::size_t>(end - p) : std::strlen(p), true);
    return end;
  }

  // The rest of TiXmlAttribute::Parse: '=' and the value.
  const char* AttributeValue(const char* p, ValuePrefix* value) {
    p = SkipSpace(p);
    if (!p || *p != '=') return nullptr;
    p = SkipSpace(p + 1);
    if (!p || !*p) return nullptr;
    if (*p == '\'' || *p == '"') return ReadText(p + 1, *p, false, value);
    for (; *p && !IsSpace(*p) && *p != '/' && *p != '>'; ++p) {
      if (*p == '\'' || *p == '"') return nullptr;
      if (value) value->Add(*p);
    }
    return p;
  }

  // TiXmlNode::Identify, at a '<'.
  Markup Identify(const char* p) const {
    if (!p || *p != '<') return Markup::kNone;
    if (Begins(p, "<?xml", true)) return Markup::kDeclaration;
    if (Begins(p, "<!--")) return Markup::kComment;
    if (Begins(p, "<![CDATA[")) return Markup::kCData;
    if (Begins(p, "<!")) return Markup::kUnknown;
    if (IsAlpha(static_cast<unsigned char>(p[1])) || p[1] == '_') return Markup::kElement;
    return Markup::kUnknown;
  }

  // TiXmlDeclaration::Parse, keeping what its "encoding" attribute decodes to.
  const char* Declaration(const char* p, ValuePrefix* encodingValue) {
    p += 5;
    while (p && *p) {
      if (*p == '>') return p + 1;
      p = SkipSpace(p);
      if (!p || !*p) break;
      if (Begins(p, "version", true) || Begins(p, "standalone", true)) {
        p = Attribute(p, nullptr);
      } else if (Begins(p, "encoding", true)) {
        *encodingValue = ValuePrefix();
        p = Attribute(p, encodingValue);
      } else {
        while (*p && *p != '>' && !IsSpace(*p))
          ++p;
      }
    }
    return nullptr;
  }

  // The nodes that hold no elements: comment, CDATA text, unknown.
  const char* Comment(const char* p) const {
    p += 4;
    while (*p && !Begins(p, "-->"))
      ++p;
    return *p ? p + 3 : p;
  }
  const char* CData(const char* p) const {
    p += 9;
    while (*p && !Begins(p, "]]>"))
      ++p;
    if (*p) p += 3;
    return *p ? p : nullptr;
  }
  const char* Unknown(const char* p) const {
    ++p;
    while (*p && *p != '>')
      ++p;
    return *p == '>' ? p + 1 : p;
  }

  // TiXmlText::Parse outside CDATA: up to the next '<'.
  const char* Text(const char* p) {
    p = ReadText(p, '<', true, nullptr);
    return p ? p - 1 : nullptr;
  }

  // Any node but an element, with what its node and its text take.
  const char* Other(Markup markup, const char* p, ValuePrefix* encodingValue) {
    const char* start = p;
    const char* end;
    switch (markup) {
      case Markup::kDeclaration:
        listener_.Node(XmlNode::kDeclaration);
        end = Declaration(p, encodingValue);
        break;
      case Markup::kComment:
        listener_.Node(XmlNode::kComment);
        end = Comment(p);
        break;
      case Markup::kCData:
        listener_.Node(XmlNode::kText);
        end = CData(p);
        break;
      default:
        listener_.Node(XmlNode::kUnknown);
        end = Unknown(p);
        break;
    }
    listener_.String(end ? static_cast<std::size_t>(end - start) : std::strlen(start), true);
    return end;
  }

  // TiXmlElement::Parse and ReadValue, from the '<' of an element at the top
  // of the document, with an explicit stack of the open elements' names in
  // place of TinyXML's recursion. Past the element, or null where TinyXML
  // fails or the listener ends the scan.
  const char* Elements(const char* p) {
    struct Open {
      const char* name;
      std::size_t length;
    };
    std::vector<Open> open;
    bool atStartTag = true;
    for (;;) {
      if (atStartTag) {
        // TinyXML has entered the element (and made its node) from here on.
        if (!listener_.Element(p, static_cast<int>(open.size()) + 1)) return Stop();
        const char* tag = p;
        p = SkipSpace(p + 1);
        const char* name = p;
        p = ReadName(p);
        if (!p || !*p) return nullptr;
        listener_.Node(XmlNode::kElement);
        listener_.String(static_cast<std::size_t>(p - name), false);
        open.push_back({name, static_cast<std::size_t>(p - name)});
        bool empty = false;
        p = AttributesAndEnd(tag, p, empty);
        if (!p) return nullptr;
        if (empty) {
          open.pop_back();
          if (open.empty()) return p;
        }
      }

      // The content of the innermost open element, from p on.
      atStartTag = false;
      const char* withSpace = p;
      p = SkipSpace(p);
      ValuePrefix ignored;
      while (p && *p) {
        if (*p != '<') {
          const char* text = TiXmlBase::IsWhiteSpaceCondensed() ? p : withSpace;
          p = Text(text);
          listener_.Node(XmlNode::kText);
          listener_.String(p ? static_cast<std::size_t>(p - text) : std::strlen(text), true);
        } else if (p[1] == '/') {
          break;
        } else {
          const Markup markup = Identify(p);
          if (markup == Markup::kElement) {
            atStartTag = true;
            break;
          }
          p = Other(markup, p, &ignored);
        }
        withSpace = p;
        p = SkipSpace(p);
      }
      if (atStartTag) continue;

      // Its end tag: "</name", white space, '>'.
      if (!p || !*p) return nullptr;
      const Open& innermost = open.back();
      if (std::strncmp(p + 2, innermost.name, innermost.length) != 0) return nullptr;
      p = SkipSpace(p + 2 + innermost.length);
      if (!p || *p != '>') return nullptr;
      ++p;
      open.pop_back();
      if (open.empty()) return p;
    }
  }

  // The attributes of the start tag at `tag`, from `p` on, and its end, "/>"
  // (empty) or ">".
  const char* AttributesAndEnd(const char* tag, const char* p, bool& empty) {
    for (int count = 1;; ++count) {
      p = SkipSpace(p);
      if (!p || !*p) return nullptr;
      if (*p == '/') {
        if (p[1] != '>') return nullptr;
        empty = true;
        return p + 2;
      }
      if (*p == '>') return p + 1;
      if (!listener_.Attribute(tag, count)) return Stop();
      p = Attribute(p, nullptr);
      if (!p || !*p) return nullptr;
    }
  }
  // Where the listener ends the scan: nothing after it is read.
  const char* Stop() {
    stopped_ = true;
    return nullptr;
  }

  Listener& listener_;
  Encoding encoding_ = Encoding::kUnknown;
  bool stopped_ = false;
};

}  // namespace scan_detail

// Everything the scan calls is inlined into it, as its listener's work is:
// it runs over the whole text of every document loaded.
template <class Listener>
#if defined(__GNUC__)
__attribute__((flatten))
#endif
void ScanDocument(const char* text, Listener& listener) {
  if (!text || !*text) return;
  scan_detail::Scanner<Listener>(listener).Document(text);
}

}  // namespace talvoro

#endif  // TALVORO_XML_SCAN_H_
