// The memory budget's cost model: what TinyXML's tree of a document takes on
// the heap, as the allocator hands it out, counted from the scan (scan.h)
// before TinyXML allocates anything. The loader's guard (guard.h) holds it
// against the budget, kMaxParseBytes.
//
// Every node is one block of its TinyXML class's size. A string longer than
// what stays inside the string object is a block of its own: of its length
// when assigned whole, but never less than twice what stays inside (the
// string's first block outside at least doubles its capacity); of twice its
// length when built by appending a character at a time (the string doubles
// its capacity as it grows). Beside the tree stands one temporary string at
// a time, assigned whole: the copy of an appended string, an attribute's name
// looked up among the element's, or an element's end tag ("</" and its
// name). The longest is counted once.
#ifndef TALVORO_XML_BUDGET_H_
#define TALVORO_XML_BUDGET_H_

#include <cstddef>
#include <cstdint>

#include <tinyxml.h>

#include "xml/scan.h"

namespace talvoro {

// How the platform's allocator and standard string lay out memory.
struct HeapModel {
  std::uint64_t header;       // the allocator's bytes before each block
  std::uint64_t granularity;  // blocks are a multiple of this
  std::uint64_t leastBlock;   // and never smaller than this
  std::size_t inlineString;   // the longest string kept inside the string object
  std::uint64_t mapped;       // a block this large may be pages of its own,
  std::uint64_t page;         // rounded up to whole pages, with two words of header
};

// glibc's malloc: a word of header, blocks of at least four words, and a
// granularity of two words or the most any type needs aligned, whichever is
// more (16 bytes on i386 too); libstdc++'s string (and Microsoft's) keeps up
// to 15 bytes inside. A block of 128 KiB or more may be mapped apart, in
// pages of 4 KiB (as it is until glibc's threshold has grown past it). The
// Windows heap is taken to follow the same rule:
// only glibc's blocks are measured (tests/memory_test.cpp), on 64-bit and
// i386.
inline constexpr HeapModel kHeap = {sizeof(std::size_t),
                                    alignof(std::max_align_t) > 2 * sizeof(std::size_t)
                                        ? alignof(std::max_align_t)
                                        : 2 * sizeof(std::size_t),
                                    4 * sizeof(std::size_t),
                                    15,
                                    128 << 10,
                                    4 << 10};

// The block the allocator hands out for `size` bytes, its header included.
constexpr std::uint64_t Block(std::uint64_t size) {
  if (size >= kHeap.mapped)
    return (size + 2 * kHeap.header + kHeap.page - 1) / kHeap.page * kHeap.page;
  const std::uint64_t rounded =
      (size + kHeap.header + kHeap.granularity - 1) / kHeap.granularity * kHeap.granularity;
  return rounded < kHeap.leastBlock ? kHeap.leastBlock : rounded;
}

// The size of each of TinyXML's nodes.
constexpr std::uint64_t NodeSize(XmlNode kind) {
  switch (kind) {
    case XmlNode::kElement:
      return sizeof(TiXmlElement);
    case XmlNode::kAttribute:
      return sizeof(TiXmlAttribute);
    case XmlNode::kText:
      return sizeof(TiXmlText);
    case XmlNode::kComment:
      return sizeof(TiXmlComment);
    case XmlNode::kDeclaration:
      return sizeof(TiXmlDeclaration);
    case XmlNode::kUnknown:
      break;
  }
  return sizeof(TiXmlUnknown);
}

// The heap of a tree, counted from the scan's nodes and strings (inline: the
// scan calls it for every node).
class TreeCost {
 public:
  void Node(XmlNode kind) { tree_ += Block(NodeSize(kind)); }
  void String(std::size_t length, bool appended) {
    if (length > kHeap.inlineString) tree_ += Block(Capacity(length, appended) + 1);
    const std::size_t temporary = appended ? length : length + 2;
    if (temporary > temporary_) temporary_ = temporary;
  }
  // The nodes and strings counted so far.
  std::uint64_t tree() const { return tree_; }
  // The same, with the longest temporary string beside them.
  std::uint64_t Total() const {
    return tree_ + (temporary_ > kHeap.inlineString ? Block(Capacity(temporary_, false) + 1) : 0);
  }

 private:
  static constexpr std::uint64_t Capacity(std::size_t length, bool appended) {
    const std::uint64_t least = 2 * kHeap.inlineString;
    return appended ? 2 * std::uint64_t{length} : length < least ? least : length;
  }

  std::uint64_t tree_ = 0;
  std::size_t temporary_ = 0;  // the longest temporary string
};

}  // namespace talvoro

#endif  // TALVORO_XML_BUDGET_H_
