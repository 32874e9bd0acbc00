// The nesting guard. TinyXML parses nested elements by recursion, so a file
// nested deeply enough overflows the stack of the calling thread. Before the
// text is handed to TinyXML, one pass over it, without recursion, finds how
// deep TinyXML's parse would nest, and the loader refuses anything deeper than
// kMaxNesting, as libxml2 and XmlLite do at the same depth.
#ifndef TALVORO_FRAME_NESTING_H_
#define TALVORO_FRAME_NESTING_H_

#include <cstdint>

#include "frame/limits.h"

namespace talvoro {

struct Limits {
  int depth;
  int attributes;
  // The most heap the tree may take (Shape::treeBytes); the scan stops once
  // it has counted more, at the start tag where it did.
  std::uint64_t treeBytes = UINT64_MAX;
};

// What TinyXML's parse of a text meets at worst: the deepest element nesting
// and the most attributes on one element.
struct Shape {
  int depth = 0;
  int attributes = 0;
  // The start tag at which a limit was passed; null when none was.
  const char* where = nullptr;
  // The heap that TinyXML's tree of the text takes, at most: its nodes and
  // the strings too long to stay inside them, each a block of the allocator
  // with its overhead, strings built by appending counted at twice their
  // length (std::string doubles its capacity as it grows).
  std::uint64_t treeBytes = 0;
  // The first UTF-8 lead byte (in a text TinyXML reads as UTF-8) that took a
  // quote, '<' or '>' along as part of its character; null when none did.
  const char* swallowed = nullptr;
};

// The deepest element nesting that TinyXML (Parse, default encoding) reaches
// on the zero-terminated `text`, counting the document element as 1; a result
// above `limit` is reported as limit + 1, as soon as it is seen. The scan
// follows TinyXML's own reading of the text (what is a comment, a CDATA
// section, an unknown "<!" or "<?" construct, where a quoted value ends, how a
// UTF-8 lead byte or a character reference is stepped over), so comments,
// CDATA, declarations, the DOCTYPE and quoted attribute values never count.
// Up to the point where TinyXML gives up on a malformed text the count is
// exact; past that point it may only be higher. Never reads past the
// terminating zero byte.
int MaxElementDepth(const char* text, int limit);

// The same scan, also counting the attributes of each element as TinyXML
// parses them and the heap its tree takes. Stops as soon as one passes its
// limit, and then reports the depth or attributes as their limit + 1 (the
// tree's bytes as counted so far).
Shape MeasureDocument(const char* text, const Limits& limits);

}  // namespace talvoro

#endif  // TALVORO_FRAME_NESTING_H_
