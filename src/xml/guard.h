// The loader's guard, run on a document's text before TinyXML parses it.
// TinyXML parses nested elements by recursion, so a document nested deeply
// enough overflows the stack of the calling thread; its time on one element
// grows with the square of the element's attributes; and its tree takes many
// times the text. One scan (scan.h), without recursion, finds how deep
// TinyXML's parse would nest, the most attributes it would read on one
// element and what its tree would take (budget.h), and stops at the first
// limit passed, so that the loader refuses the document before TinyXML
// allocates anything.
#ifndef TALVORO_XML_GUARD_H_
#define TALVORO_XML_GUARD_H_

#include <cstdint>

#include "xml/limits.h"

namespace talvoro {

struct Limits {
  int depth;
  int attributes;
  // The most heap the tree may take (Shape::treeBytes).
  std::uint64_t treeBytes = UINT64_MAX;
};

// What TinyXML's parse of a text meets at worst.
struct Shape {
  int depth = 0;       // the deepest element nesting, the document element 1
  int attributes = 0;  // the most attributes on one element
  // The start tag at which a limit was passed; null when none was.
  const char* where = nullptr;
  // The heap that TinyXML's tree of the text takes, at most (budget.h).
  std::uint64_t treeBytes = 0;
};

// Scans the zero-terminated `text` and stops as soon as one limit is passed:
// at the start tag past the depth or the budget, at the element with one
// attribute too many. A depth or count past its limit is reported as the
// limit + 1, the tree's bytes as counted so far. Up to where TinyXML gives up
// on a malformed text the counts are exact; past it they may only be higher.
Shape MeasureDocument(const char* text, const Limits& limits);

// The deepest element nesting of `text`, reported as limit + 1 above `limit`.
int MaxElementDepth(const char* text, int limit);

}  // namespace talvoro

#endif  // TALVORO_XML_GUARD_H_
