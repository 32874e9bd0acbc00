// One parsed document per call. Loading reads the file safely (regular files
// only, never blocking) and parses it with TinyXML; saving prints the document
// into a temporary file beside the target and renames it into place.
#ifndef TALVORO_FRAME_DOCUMENT_H_
#define TALVORO_FRAME_DOCUMENT_H_

#include <tinyxml.h>

namespace talvoro {

class Document {
 public:
  Document() = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Loads and parses the file at `path`. Returns the document element (the
  // first element at the top), or null when the file is missing, not a
  // regular file, unreadable, empty or malformed, nested deeper than
  // kMaxNesting elements (frame/nesting.h), or holds no element.
  TiXmlElement* Load(const char* path);

  // The TinyXML document, for building a new one or editing a loaded one.
  TiXmlDocument& Xml() { return doc_; }

  // Replaces the file at `path` with the document as TinyXML prints it (with
  // the UTF-8 byte-order mark when the loaded document had one). The text goes
  // to a new file in the target's folder, is synced, and is then renamed over
  // the target in one step. A symbolic link is followed and stays a link; an
  // existing file keeps its permission bits. A text that would not load back
  // as the same document is not saved. False when anything fails, and then the target is exactly
  // as it was and no temporary file is left.
  bool Save(const char* path) const;

 private:
  TiXmlDocument doc_;
};

}  // namespace talvoro

#endif  // TALVORO_FRAME_DOCUMENT_H_
