// How deep TinyXML's own parse of a text goes.
#ifndef TALVORO_TESTS_SUPPORT_TINYXML_DEPTH_H_
#define TALVORO_TESTS_SUPPORT_TINYXML_DEPTH_H_

#include <string>

namespace testutil {

struct TinyXmlParse {
  int depth;       // the deepest element nesting in the tree it built
  int attributes;  // the most attributes on one of its elements
  bool error;      // whether the parse failed
};

// Parses `text` as the loader hands it to TinyXML (cut at the first zero byte,
// zero bytes after the end) and walks the tree without recursion. A failed
// parse keeps what it built, so the depth is the deepest the parser got.
TinyXmlParse ParseWithTinyXml(const std::string& text);

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_TINYXML_DEPTH_H_
