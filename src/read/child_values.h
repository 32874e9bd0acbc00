// The values of an element's first N child elements, taken by position
// whatever their names: a child's value is the value of its own first child
// node, of whatever kind (the text of text or CDATA, the text of a comment,
// the name of a nested element). A child that is missing, or that has no
// child node, gives empty text. With the document's observer, the children
// past the N-th, the missing ones and every value stored otherwise than
// written are reported; `names` says what each value is.
#ifndef TALVORO_READ_CHILD_VALUES_H_
#define TALVORO_READ_CHILD_VALUES_H_

#include <cstddef>
#include <cstdint>

#include "read/document.h"

namespace talvoro {

template <int N>
class ChildValues {
 public:
  ChildValues(const Document& doc, const TiXmlElement& element, const char* const (&names)[N])
      : names_(names), observer_(doc.observer()) {
    int index = 0;
    for (const TiXmlElement& child : ChildElements(element)) {
      if (index == N) {
        if (observer_) observer_->PassedOver(child, "past the values of its item");
        continue;
      }
      children_[index] = &child;
      const TiXmlNode* content = child.FirstChild();
      if (content) values_[index] = content->Value();
      ++index;
    }
    if (!observer_) return;
    for (; index < N; ++index)
      observer_->Missing(element, names[index]);
  }

  template <std::size_t W>
  void Text(char (&field)[W], int index) const {
    CopyField(field, Value(index));
    if (observer_ && children_[index])
      observer_->Text(*children_[index], names_[index], Value(index), W);
  }
  std::int16_t Number16(int index) const {
    if (observer_ && children_[index])
      observer_->Number(*children_[index], names_[index], values_[index], NumberField::k16);
    return Low16(Decimal(Value(index)));
  }

 private:
  const char* Value(int index) const { return values_[index] ? values_[index] : ""; }

  const char* const (&names_)[N];
  Observer* observer_;
  const TiXmlElement* children_[N] = {};
  const char* values_[N] = {};  // null for a missing child or one without content
};

}  // namespace talvoro

#endif  // TALVORO_READ_CHILD_VALUES_H_
