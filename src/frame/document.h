// One parsed document per call. Loading reads the file through the file layer
// (regular files only, never blocking, at most kMaxDocumentBytes) and parses
// it with TinyXML; saving prints the document into a new file beside the
// target and puts it in the target's place in one step.
#ifndef TALVORO_FRAME_DOCUMENT_H_
#define TALVORO_FRAME_DOCUMENT_H_

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

  // Loads and parses the file at `path`. Returns the document element (the
  // first element at the top), or null when the document is refused; status()
  // then says why: missing, not a regular file, unreadable, over
  // kMaxDocumentBytes, empty, malformed, nested deeper than kMaxNesting, an
  // element with more than kMaxAttributes attributes, or no element at all.
  // The library's own allocation failures are a refusal too (kNoMemory).
  TiXmlElement* Load(const char* path);
  const Status& status() const { return status_; }

  // The walks and values of a reader. With an observer they report what the
  // reader passes over or changes: Children() the child elements of other
  // names than `name`, Leaves() (the last level a reader reads) the child
  // elements below each, Fields() every value stored otherwise than written.
  // With an observer the document keeps the line of every element.
  ChildElementRange<const TiXmlElement> Children(const TiXmlElement& parent,
                                                 const char* name = nullptr) const;
  ChildElementRange<const TiXmlElement> Leaves(const TiXmlElement& parent,
                                               const char* name = nullptr) const;
  // `element` itself is the last level read.
  void Leaf(const TiXmlElement& element) const;
  talvoro::Fields Fields(const TiXmlElement& element) const { return {element, observer_}; }
  // Keeps the line and column of every element and of a parse error, as
  // the document does anyway with an observer. Call before Load().
  void TrackPositions() { trackPositions_ = true; }
  Observer* observer() const { return observer_; }

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
  Status status_;
  bool byteOrderMark_ = false;
  bool trackPositions_ = false;
};

}  // namespace talvoro

#endif  // TALVORO_FRAME_DOCUMENT_H_
