#include "xml/guard.h"

#include <climits>

#include "xml/budget.h"
#include "xml/scan.h"

namespace talvoro {
namespace {

class Measure {
 public:
  explicit Measure(const Limits& limits) : limits_(limits) {}

  bool Element(const char* tag, int depth) {
    if (cost_.tree() > limits_.treeBytes) return Stop(tag);
    if (depth > shape_.depth) {
      shape_.depth = depth;
      if (depth > limits_.depth) return Stop(tag);
    }
    return true;
  }
  bool Attribute(const char* tag, int count) {
    if (count > shape_.attributes) {
      shape_.attributes = count;
      if (count > limits_.attributes) return Stop(tag);
    }
    return true;
  }
  void Node(XmlNode kind) { cost_.Node(kind); }
  void String(std::size_t length, bool appended) { cost_.String(length, appended); }
  void Swallowed(const char*) {}

  Shape Result() {
    shape_.treeBytes = cost_.Total();
    return shape_;
  }

 private:
  bool Stop(const char* tag) {
    shape_.where = tag;
    return false;
  }

  const Limits& limits_;
  Shape shape_;
  TreeCost cost_;
};

}  // namespace

Shape MeasureDocument(const char* text, const Limits& limits) {
  Measure measure(limits);
  ScanDocument(text, measure);
  return measure.Result();
}

int MaxElementDepth(const char* text, int limit) {
  return MeasureDocument(text, {limit, INT_MAX}).depth;
}

}  // namespace talvoro
