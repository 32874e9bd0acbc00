// The nesting guard. TinyXML parses nested elements by recursion, so a file
// nested deeply enough overflows the stack of the calling thread. Before the
// text is handed to TinyXML, one pass over it, without recursion, finds how
// deep TinyXML's parse would nest, and the loader refuses anything deeper than
// kMaxNesting, as libxml2 and XmlLite do at the same depth.
#ifndef TALVORO_FRAME_NESTING_H_
#define TALVORO_FRAME_NESTING_H_

#include "frame/limits.h"

namespace talvoro {

struct Limits {
  int depth;
  int attributes;
};

// What TinyXML's parse of a text meets at worst: the deepest element nesting
// and the most attributes on one element.
struct Shape {
  int depth = 0;
  int attributes = 0;
  // The start tag at which a limit was passed; null when none was.
  const char* where = nullptr;
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
// parses them. Stops as soon as either passes its limit, and then reports
// that one as its limit + 1.
Shape MeasureDocument(const char* text, const Limits& limits);

}  // namespace talvoro

#endif  // TALVORO_FRAME_NESTING_H_
