// The limits the loader enforces on every document. A document past any of
// them is refused like a malformed one, before TinyXML parses it.
#ifndef TALVORO_XML_LIMITS_H_
#define TALVORO_XML_LIMITS_H_

#include <cstdint>

namespace talvoro {

// The largest document read, in bytes. Configuration documents are kilobytes.
// TinyXML's tree takes about 10 bytes per byte of a usual document (655 MB for
// a server list at the limit) and up to 56 for one of empty elements alone
// (3.7 GB), for the call's duration.
inline constexpr std::uint64_t kMaxDocumentBytes = 64u << 20;
// TinyXML parses nested elements by recursion, one stack frame per level.
inline constexpr int kMaxNesting = 256;
// TinyXML's time on one element grows with the square of its attributes; no
// configuration element has more than a few dozen.
inline constexpr int kMaxAttributes = 256;
// The most memory one call may take to parse a document: the text and
// TinyXML's tree, as the pre-scan estimates them (Shape::treeBytes), never
// less than they take. A quarter of what a 32-bit process can address, or 1
// GiB on 64-bit targets: the largest usual document (a 64 MiB server list)
// needs about 700 MiB, and a host shares its address space with every call.
// What loading holds besides the text and the tree, at most: the file's
// handle, the paths, TinyXML's parsing state and its error text.
inline constexpr std::uint64_t kLoaderBytes = 8 << 10;
inline constexpr std::uint64_t kMaxParseBytes =
    sizeof(void*) == 8 ? std::uint64_t{1} << 30 : std::uint64_t{512} << 20;

}  // namespace talvoro

#endif  // TALVORO_XML_LIMITS_H_
