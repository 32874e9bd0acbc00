// A non-recursive replica of the way TinyXML 2.6 reads a document, reduced to
// what decides where elements begin and end. Each function below follows the
// TinyXML function it is named after, step for step, including its quirks:
// a UTF-8 lead byte swallows the bytes after it (a quote or '<' among them),
// "&#x...x;" and "&#...#1;" skip everything up to the ';', an unknown "<!..."
// or "<?..." ends at the first '>', quoted or not. Where TinyXML gives up, the
// scan gives up too, or, where that would take more copying than it is worth
// (a repeated attribute name), carries on, which can only raise the count.
// The character classes are the same <cctype> calls TinyXML makes, so the
// answers agree in every locale. Attributes are counted on the way: TinyXML
// checks each new attribute against all earlier ones of its element, so its
// time grows with the square of their number.
#include "frame/nesting.h"

#include <cctype>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <tinyxml.h>

#include "frame/characters.h"

namespace talvoro {
namespace {

enum class Encoding { kUnknown, kUtf8, kLegacy };
enum class Node { kNone, kDeclaration, kComment, kCData, kUnknown, kElement };

bool IsSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) || c == '\n' || c == '\r';
}
bool IsAlpha(unsigned char c) {
  return c < 127 ? std::isalpha(c) != 0 : true;
}
bool IsAlphaNum(unsigned char c) {
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

// An allocation of `size` bytes as the allocator hands it out: a header word,
// rounded up to two words, and never less than four.
std::uint64_t Block(std::uint64_t size) {
  const std::uint64_t word = sizeof(std::size_t);
  const std::uint64_t rounded = (size + word + 2 * word - 1) / (2 * word) * (2 * word);
  return rounded < 4 * word ? 4 * word : rounded;
}

class Reader {
 public:
  Encoding encoding = Encoding::kUnknown;
  // The first UTF-8 lead byte that took a quote or an angle bracket along.
  mutable const char* swallowed = nullptr;
  // What the tree built so far takes (Shape::treeBytes).
  mutable std::uint64_t tree = 0;

  // A node of `size` bytes, and a string of `length` bytes, assigned whole or
  // built by appending.
  void CountNode(std::size_t size) const { tree += Block(size); }
  void CountString(std::size_t length, bool appended) const {
    // Up to 15 bytes stay inside the string object (libstdc++ and Microsoft's
    // library alike).
    if (length > 15) tree += Block((appended ? 2 : 1) * length + 1);
    if (appended && length > longest) longest = length;
  }
  // A string that TinyXML builds by appending and then copies: the one
  // temporary that stands beside the tree at a time, at its longest.
  std::uint64_t Temporary() const { return longest > 15 ? Block(2 * longest + 1) : 0; }
  mutable std::size_t longest = 0;

  // TiXmlBase::SkipWhiteSpace: null at the end of the text.
  const char* SkipSpace(const char* p) const {
    if (!p || !*p) return nullptr;
    if (encoding == Encoding::kUtf8) {
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
    if (encoding == Encoding::kUtf8 && c >= 128) return c;
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
  const char* NextChar(const char* p, ValuePrefix* value) const {
    const int length =
        encoding == Encoding::kUtf8 ? TiXmlBase::utf8ByteTable[static_cast<unsigned char>(*p)] : 1;
    if (length == 1) {
      if (*p == '&') return Entity(p, value);
      if (value) value->Add(*p);
      return p + 1;
    }
    if (length <= 0) return nullptr;
    for (int i = 1; i < length; ++i) {
      if (!p[i]) return p + i;
      if (!swallowed && (p[i] == '"' || p[i] == '\'' || p[i] == '<' || p[i] == '>')) swallowed = p;
    }
    return p + length;
  }

  // TiXmlBase::ReadText up to a one-character end mark: past the mark, or
  // null when the text ends first or right after it.
  const char* ReadText(const char* p, char end, bool trim, ValuePrefix* value) const {
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
  const char* Attribute(const char* p, ValuePrefix* value) const {
    p = SkipSpace(p);
    if (!p || !*p) return nullptr;
    const char* name = p;
    p = ReadName(p);
    if (!p || !*p) return nullptr;
    CountNode(sizeof(TiXmlAttribute));
    CountString(static_cast<std::size_t>(p - name), false);
    // Where TinyXML gives up, it has read to the end of the text.
    const char* end = AttributeValue(p, value);
    CountString(end ? static_cast<std::size_t>(end - p) : std::strlen(p), true);
    return end;
  }

  // The rest of TiXmlAttribute::Parse: '=' and the value.
  const char* AttributeValue(const char* p, ValuePrefix* value) const {
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
  Node Identify(const char* p) const {
    if (!p || *p != '<') return Node::kNone;
    if (Begins(p, "<?xml", true)) return Node::kDeclaration;
    if (Begins(p, "<!--")) return Node::kComment;
    if (Begins(p, "<![CDATA[")) return Node::kCData;
    if (Begins(p, "<!")) return Node::kUnknown;
    if (IsAlpha(static_cast<unsigned char>(p[1])) || p[1] == '_') return Node::kElement;
    return Node::kUnknown;
  }

  // TiXmlDeclaration::Parse, keeping what its "encoding" attribute decodes to.
  const char* Declaration(const char* p, ValuePrefix* encodingValue) const {
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
  const char* Text(const char* p) const {
    p = ReadText(p, '<', true, nullptr);
    return p ? p - 1 : nullptr;
  }

  // Any node but an element, with what its node and its text take.
  const char* Other(Node node, const char* p, ValuePrefix* encodingValue) const {
    const char* start = p;
    const char* end;
    switch (node) {
      case Node::kDeclaration:
        CountNode(sizeof(TiXmlDeclaration));
        end = Declaration(p, encodingValue);
        break;
      case Node::kComment:
        CountNode(sizeof(TiXmlComment));
        end = Comment(p);
        break;
      case Node::kCData:
        CountNode(sizeof(TiXmlText));
        end = CData(p);
        break;
      default:
        CountNode(sizeof(TiXmlUnknown));
        end = Unknown(p);
        break;
    }
    CountString(end ? static_cast<std::size_t>(end - start) : std::strlen(start), true);
    return end;
  }

  // TiXmlElement::Parse and ReadValue, from the '<' of an element at the top
  // of the document, with an explicit stack of the open elements' names in
  // place of TinyXML's recursion. Past the element, or null where TinyXML
  // fails or a limit is passed.
  const char* Elements(const char* p, const Limits& limits, Shape& shape) const {
    struct Open {
      const char* name;
      std::size_t length;
    };
    std::vector<Open> open;
    bool atStartTag = true;
    for (;;) {
      if (atStartTag) {
        if (tree > limits.treeBytes) {
          shape.where = p;
          return nullptr;
        }
        // TinyXML has entered the element (and made its node) from here on.
        if (static_cast<int>(open.size()) + 1 > shape.depth) {
          shape.depth = static_cast<int>(open.size()) + 1;
          if (shape.depth > limits.depth) {
            shape.where = p;
            return nullptr;
          }
        }
        const char* tag = p;
        p = SkipSpace(p + 1);
        const char* name = p;
        p = ReadName(p);
        if (!p || !*p) return nullptr;
        CountNode(sizeof(TiXmlElement));
        CountString(static_cast<std::size_t>(p - name), false);
        open.push_back({name, static_cast<std::size_t>(p - name)});
        bool empty = false;
        p = AttributesAndEnd(tag, p, empty, limits, shape);
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
          CountNode(sizeof(TiXmlText));
          CountString(p ? static_cast<std::size_t>(p - text) : std::strlen(text), true);
        } else if (p[1] == '/') {
          break;
        } else {
          const Node node = Identify(p);
          if (node == Node::kElement) {
            atStartTag = true;
            break;
          }
          p = Other(node, p, &ignored);
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

 private:
  // The attributes of the start tag at `tag`, from `p` on, and its end, "/>"
  // (empty) or ">".
  const char* AttributesAndEnd(const char* tag, const char* p, bool& empty, const Limits& limits,
                               Shape& shape) const {
    for (int count = 1;; ++count) {
      p = SkipSpace(p);
      if (!p || !*p) return nullptr;
      if (*p == '/') {
        if (p[1] != '>') return nullptr;
        empty = true;
        return p + 2;
      }
      if (*p == '>') return p + 1;
      if (count > shape.attributes) {
        shape.attributes = count;
        if (count > limits.attributes) {
          shape.where = tag;
          return nullptr;
        }
      }
      p = Attribute(p, nullptr);
      if (!p || !*p) return nullptr;
    }
  }
};

}  // namespace

Shape MeasureDocument(const char* text, const Limits& limits) {
  Shape shape;
  if (!text || !*text) return shape;
  Reader reader;
  const auto* u = reinterpret_cast<const unsigned char*>(text);
  if (u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) reader.encoding = Encoding::kUtf8;

  // TiXmlDocument::Parse: the nodes at the top, one after the other.
  const char* p = reader.SkipSpace(text);
  while (p && *p) {
    const Node node = reader.Identify(p);
    if (node == Node::kNone) break;
    if (node == Node::kElement) {
      p = reader.Elements(p, limits, shape);
      shape.swallowed = reader.swallowed;
      shape.treeBytes = reader.tree + reader.Temporary();
      if (shape.depth > limits.depth || shape.attributes > limits.attributes ||
          shape.treeBytes > limits.treeBytes)
        return shape;
    } else {
      ValuePrefix encodingValue;
      p = reader.Other(node, p, &encodingValue);
      // The first declaration at the top settles how the rest is read.
      if (node == Node::kDeclaration && reader.encoding == Encoding::kUnknown) {
        const char* name = encodingValue.c_str();
        reader.encoding = NamesUtf8(name) ? Encoding::kUtf8 : Encoding::kLegacy;
      }
    }
    p = reader.SkipSpace(p);
  }
  shape.treeBytes = reader.tree + reader.Temporary();
  return shape;
}

int MaxElementDepth(const char* text, int limit) {
  return MeasureDocument(text, {limit, INT_MAX}).depth;
}

}  // namespace talvoro
