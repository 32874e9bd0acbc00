// One parsed document per call. Loading reads the file through the file
// layer (regular files only, never blocking, at most kMaxDocumentBytes),
// guards TinyXML against the text (guard.h) and parses it; saving prints the
// document, checks that it reads back as itself, and replaces the file
// through the file layer (os/save.h).
#ifndef TALVORO_XML_DOCUMENT_H_
#define TALVORO_XML_DOCUMENT_H_

#include <cstdint>
#include <string>
#include <utility>

#include <tinyxml.h>

#include "os/env.h"
#include "os/status.h"

namespace talvoro {

class XmlDocument {
 public:
  explicit XmlDocument(Env& env = Env::Default()) : env_(env) {}
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // What a refusal says beyond its reason, and what the loaded tree keeps.
  // By default nothing that costs the loading of a good document anything.
  struct Detail {
    // The line and column of a parse error: a refused text is parsed once
    // more with TinyXML's bookkeeping of places on, so that a good document
    // pays nothing for it.
    bool placeRefusals = false;
    // The line and column of every element, as the diagnosis names them.
    bool placeElements = false;
    // Adds what explains a malformed text to TinyXML's error: given the
    // error and the zero-terminated text TinyXML read.
    Status (*explainMalformed)(const Status& error, const char* text) = nullptr;
  };
  void Tell(const Detail& detail) { detail_ = detail; }

  // What loading gives: the document element (the first element at the top)
  // and a success, or no element and the reason the document is refused:
  // a null path (kInvalidArgument), missing, not a regular file, unreadable,
  // over kMaxDocumentBytes, empty, malformed, nested deeper than kMaxNesting,
  // an element with more than kMaxAttributes attributes, a tree past the
  // memory budget, or no element at all. The library's own allocation
  // failures are a refusal too (kNoMemory).
  struct Loaded {
    Status status;
    TiXmlElement* root = nullptr;
  };
  // Loads and parses the file at `path`.
  Loaded Load(const char* path);

  // The encoding TinyXML reads the loaded text in: "UTF-8" after UTF-8's
  // byte-order mark; otherwise what the first declaration at the top names,
  // as written, or "UTF-8" when it names none; "" without a declaration
  // (TinyXML then takes the text byte by byte).
  std::string Encoding() const;

  // The TinyXML document, for walking, building a new one or editing a
  // loaded one.
  TiXmlDocument& Xml() { return doc_; }
  const TiXmlDocument& Xml() const { return doc_; }
  Env& env() const { return env_; }
  // What the guard took the last parse to need at most, text and tree
  // (the budget's measure, held against kMaxParseBytes); 0 before one.
  std::uint64_t estimate() const { return estimate_; }

  // Replaces the file at `path` with the document as TinyXML prints it (with
  // the UTF-8 byte-order mark when the loaded text began with one), as
  // ReplaceFile does (os/save.h). A text that would not load back as this
  // very document is refused (kNotReadBack), the target untouched.
  Status Save(const char* path) const;

 private:
  Status Read(const char* path);
  Status Parse(std::string& text);

  Env& env_;
  TiXmlDocument doc_;
  Detail detail_;
  bool byteOrderMark_ = false;
  std::uint64_t estimate_ = 0;
};

// The line and column of `where` in the zero-terminated `text`, both from 1,
// each byte a column.
std::pair<int, int> PlaceOf(const char* text, const char* where);

}  // namespace talvoro

#endif  // TALVORO_XML_DOCUMENT_H_
