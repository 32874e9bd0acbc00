// A replica of the way TinyXML 2.6 reads a document, reduced to what decides
// where its nodes begin and end, without recursion. TinyXML parses nested
// elements by recursion and builds its whole tree before anyone can look at
// it; the scan walks the same text first, in one pass and in constant stack,
// and tells a listener what TinyXML's parse will meet: each element as it is
// entered (with its depth), each attribute, each node and string it will
// allocate, and each UTF-8 lead byte that takes a quote or an angle bracket
// along. The loader's guard and memory budget (guard.h) and the diagnosis's
// finder of swallowed quotes listen to it.
#ifndef TALVORO_XML_SCAN_H_
#define TALVORO_XML_SCAN_H_

#include <cstddef>

namespace talvoro {

// The nodes of TinyXML's tree, each of its own size.
enum class XmlNode { kElement, kAttribute, kText, kComment, kDeclaration, kUnknown };

class ScanListener {
 public:
  // TinyXML enters the element whose start tag begins at `tag`, `depth`
  // levels deep (the document element is 1). False ends the scan there.
  virtual bool Element(const char* tag, int depth) = 0;
  // It reads attribute number `count` (from 1) of the element at `tag`.
  // False ends the scan there.
  virtual bool Attribute(const char* tag, int count) = 0;
  // It makes a node of `kind`.
  virtual void Node(XmlNode kind) = 0;
  // It makes a string of `length` bytes, assigned whole or built by
  // appending a character at a time.
  virtual void String(std::size_t length, bool appended) = 0;
  // Reading UTF-8, the lead byte at `lead` takes a quote, '<' or '>' along
  // as part of its character.
  virtual void Swallowed(const char* lead) = 0;

 protected:
  ~ScanListener() = default;
};

// Scans the zero-terminated `text` as TinyXML's Parse (default encoding)
// reads it, up to where TinyXML gives up or the listener ends the scan.
// Each step follows the TinyXML function it is named after, quirks included:
// a UTF-8 lead byte swallows the bytes after it (a quote or '<' among them),
// "&#x...x;" and "&#...#1;" skip everything up to the ';', an unknown "<!..."
// or "<?..." ends at the first '>', quoted or not. Where TinyXML gives up,
// the scan gives up too, or, where that would take more copying than it is
// worth (a repeated attribute name), carries on, which can only count more.
// The character classes are the same <cctype> calls TinyXML makes, so the
// answers agree in every locale. Never reads past the terminating zero byte.
void ScanDocument(const char* text, ScanListener& listener);

}  // namespace talvoro

#endif  // TALVORO_XML_SCAN_H_
