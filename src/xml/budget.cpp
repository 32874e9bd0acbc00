#include "xml/budget.h"

#include <tinyxml.h>

namespace talvoro {
namespace {

std::uint64_t NodeSize(XmlNode kind) {
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

}  // namespace

std::uint64_t Block(std::uint64_t size) {
  const std::uint64_t rounded =
      (size + kHeap.header + kHeap.granularity - 1) / kHeap.granularity * kHeap.granularity;
  return rounded < kHeap.leastBlock ? kHeap.leastBlock : rounded;
}

void TreeCost::Node(XmlNode kind) {
  tree_ += Block(NodeSize(kind));
}

void TreeCost::String(std::size_t length, bool appended) {
  if (length > kHeap.inlineString) tree_ += Block((appended ? 2 : 1) * length + 1);
  if (appended && length > longest_) longest_ = length;
}

std::uint64_t TreeCost::Total() const {
  return tree_ + (longest_ > kHeap.inlineString ? Block(2 * longest_ + 1) : 0);
}

}  // namespace talvoro
