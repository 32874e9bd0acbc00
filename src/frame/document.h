// One parsed document per call. Loading reads the file through the file layer
// (regular files only, never blocking, at most kMaxDocumentBytes) and parses
// it with TinyXML; saving prints the document into a new file beside the
// target and puts it in the target's place in one step.
#ifndef TALVORO_FRAME_DOCUMENT_H_
#define TALVORO_FRAME_DOCUMENT_H_

#include <array>
#include <cstddef>
#include <string>

#include <tinyxml.h>

#include "frame/env.h"
#include "frame/fields.h"
#include "frame/observer.h"
#include "frame/status.h"
#include "frame/walk.h"

namespace talvoro {

class Document {
 public:
  explicit Document(Env& env = Env::Default(), Observer* observer = nullptr)
      : env_(env), observer_(observer) {}
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // What loading gives: the document element (the first element at the top)
  // and a success, or no element and the reason the document is refused:
  // missing, not a regular file, unreadable, over kMaxDocumentBytes, empty,
  // malformed, nested deeper than kMaxNesting, an element with more than
  // kMaxAttributes attributes, or no element at all. The library's own
  // allocation failures are a refusal too (kNoMemory).
  struct Loaded {
    Status status;
    TiXmlElement* root = nullptr;
  };
  // Loads and parses the file at `path`.
  Loaded Load(const char* path);

  // How a reader walks the document and takes its values. With an observer
  // (the diagnosis) they also report what the reader passes over or changes,
  // and the document keeps the line of every element; without one they cost
  // the reader nothing more than the walk.
  //
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
      ObserveMissing(*observer_, parent, name);
    return entries;
  }
  // The element's attributes as its record's fields take them.
  talvoro::Fields Fields(const TiXmlElement& element) const { return {element, observer_}; }
  // The observer, for the frame's helpers that take values otherwise
  // (ChildValues); null for the exported functions.
  Observer* observer() const { return observer_; }

  // Keeps the line and column of every element and of a parse error, as
  // the document does anyway with an observer. Call before Load().
  void TrackPositions() { trackPositions_ = true; }

  // The encoding TinyXML reads the loaded text in: "UTF-8" after UTF-8's
  // byte-order mark; otherwise what the first declaration at the top names,
  // as written, or "UTF-8" when it names none; "" without a declaration
  // (TinyXML then takes the text byte by byte).
  std::string Encoding() const;

  // The TinyXML document, for building a new one or editing a loaded one.
  TiXmlDocument& Xml() { return doc_; }

  // Replaces the file at `path` with the document as TinyXML prints it (with
  // the UTF-8 byte-order mark when the loaded text began with one).
  //  - The new text is never readable by anyone the target's mode does not
  //    allow, and a killed save leaves no file behind (or, where the file
  //    system cannot create unnamed files, one that the next save into the
  //    folder removes).
  //  - A symbolic link is followed and stays a link. The file keeps its
  //    permission bits (setuid, setgid and sticky aside), owner, group and
  //    the extended attributes the caller may set.
  //  - Refused, with the target untouched: a target that is no regular file,
  //    that the caller may not write, that has several hard links (replacing
  //    it would cut the other names off), or whose owner or group the caller
  //    cannot give the new file; a text that would not load back as this
  //    very document.
  // On any failure the target is exactly as it was and no temporary file is
  // left.
  Status Save(const char* path) const;

 private:
  Status Read(const char* path);
  Status Parse(std::string& text);
  Status SaveTo(const char* path) const;

  Env& env_;
  Observer* observer_;
  TiXmlDocument doc_;
  bool byteOrderMark_ = false;
  bool trackPositions_ = false;
};

}  // namespace talvoro

#endif  // TALVORO_FRAME_DOCUMENT_H_
