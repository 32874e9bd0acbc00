// The reading frame: what a reader sees of its document. A Document loads
// the file (xml/document.h) and offers the walk and the values as a reader
// takes them. With an observer (the diagnosis) every helper also tells what
// the reader passes over or takes, and the document keeps the line of every
// element; without one they cost the reader nothing more than the walk.
#ifndef TALVORO_READ_DOCUMENT_H_
#define TALVORO_READ_DOCUMENT_H_

#include <array>
#include <cstddef>

#include <tinyxml.h>

#include "os/env.h"
#include "read/fields.h"
#include "read/observer.h"
#include "xml/document.h"
#include "xml/walk.h"

namespace talvoro {

class Document {
 public:
  explicit Document(Env& env = Env::Default(), Observer* observer = nullptr);
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Loads and parses the file at `path` (XmlDocument::Load), then tells the
  // observer.
  XmlDocument::Loaded Load(const char* path);

  // The child elements of `parent`, or those named `name` (the others are
  // passed over).
  ChildElementRange<const TiXmlElement> Children(const TiXmlElement& parent,
                                                 const char* name = nullptr) const;
  // The same, for the last level the reader reads: whatever lies below each
  // of them is passed over.
  ChildElementRange<const TiXmlElement> LastLevel(const TiXmlElement& parent,
                                                  const char* name = nullptr) const;
  // `element` is itself the last level the reader reads.
  void NothingReadBelow(const TiXmlElement& element) const;
  // The first child element of `parent` named `name`, or null: missing.
  const TiXmlElement* Entry(const TiXmlElement& parent, const char* name) const;
  // The first N child elements of `parent` named `name`, then null for each
  // of the N that is missing.
  template <std::size_t N>
  std::array<const TiXmlElement*, N> Entries(const TiXmlElement& parent, const char* name) const {
    std::array<const TiXmlElement*, N> entries{};
    std::size_t found = 0;
    for (const TiXmlElement& entry : ChildElements(parent, name)) {
      if (found == N) break;
      entries[found++] = &entry;
    }
    for (std::size_t i = found; observer_ && i < N; ++i)
      observer_->Missing(parent, name);
    return entries;
  }
  // The element's attributes as its record's fields take them.
  talvoro::Fields Fields(const TiXmlElement& element) const { return {element, observer_}; }
  // The observer, for the frame's helpers that take values otherwise
  // (ChildValues); null for the exported functions.
  Observer* observer() const { return observer_; }

  // The loaded document, to ask for what a refusal says (XmlDocument::Tell).
  XmlDocument& xml() { return xml_; }

 private:
  XmlDocument xml_;
  Observer* observer_;
};

// Loads the file at `path` into `doc` and runs `reader` on its document
// element with `containers`: the reader's result, or the loader's reason when
// the document is refused (the containers then untouched).
//
// How a host's "stop" travels. The C interface's containers (api/sink.h)
// hand each record to the host's callback the moment the reader appends it,
// deep in the reader's loops. A callback that answers "stop" makes the
// container throw Stopped, which unwinds through the reader and this function
// (every resource on the way is held by an object that releases it) to the C
// function that ran them, which catches it and answers "stopped by the host".
// An exception, not a result that every append would return: readers are
// written once over containers whose appends return nothing (the exported
// class's CArrayTemplate and CList, whose own errors are exceptions too), so
// the stop needs no line in any reader, and a read that is not stopped pays
// nothing for it.
template <typename... Containers>
Status ReadDocument(Document& doc, const char* path,
                    Status (*reader)(const Document&, const TiXmlElement&, Containers&...),
                    Containers&... containers) {
  const XmlDocument::Loaded loaded = doc.Load(path);
  if (!loaded.root) return loaded.status;
  return reader(doc, *loaded.root, containers...);
}

}  // namespace talvoro

#endif  // TALVORO_READ_DOCUMENT_H_
