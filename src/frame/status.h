// Status: the outcome of loading or saving a document. Success carries
// nothing; a failure says why, in a code a program can test and a text a
// person can read (the system's error message, TinyXML's error). The
// exported functions answer only true or false; the reason stays inside the
// library for the tests, the inspector and the diagnosis.
#ifndef TALVORO_FRAME_STATUS_H_
#define TALVORO_FRAME_STATUS_H_

#include <string>
#include <utility>

namespace talvoro {

class Status {
 public:
  enum class Code {
    kOk,
    // Loading.
    kMissing,            // no file at the path
    kNotRegular,         // a directory, device, FIFO or the like
    kUnreadable,         // the file cannot be opened or read
    kTooLarge,           // longer than kMaxDocumentBytes
    kEmpty,              // no text at all
    kMalformed,          // TinyXML cannot parse it
    kTooDeep,            // nested deeper than kMaxNesting elements
    kTooManyAttributes,  // an element with more than kMaxAttributes attributes
    kNoElement,          // only a declaration, comments or the like
    kNoWeather,          // a weather document without its "weather" element
    kNoMemory,           // the library's own buffers could not be allocated
    // Saving.
    kFolderMissing,      // the target's folder does not exist
    kTargetNotRegular,   // the target exists but is no regular file
    kNotWritable,        // the target or its folder may not be written
    kHardLinks,          // the target has further names that a replacement would cut off
    kOwnerNotKept,       // the new file cannot take the target's owner or group
    kAttributesNotKept,  // the target's extended attributes cannot be carried over
    kWriteFailed,
    kSyncFailed,
    kCloseFailed,
    kLinkFailed,
    kRenameFailed,
    kNotReadBack,  // the printed text would not load as the same document
    // Only between the file layer and its callers, which retry: a call
    // interrupted by a signal before it did anything.
    kInterrupted,
  };

  Status() = default;  // success
  Status(Code code, std::string detail) : code_(code), detail_(std::move(detail)) {}
  explicit Status(Code code) : code_(code) {}

  static Status Ok() { return Status(); }

  // The place in the document the reason concerns, 1-based.
  Status& At(int line, int column) {
    line_ = line;
    column_ = column;
    return *this;
  }
  Status& At(std::pair<int, int> place) { return At(place.first, place.second); }
  int line() const { return line_; }
  int column() const { return column_; }

  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  // What the system or TinyXML said, or "" when the code says it all.
  const std::string& detail() const { return detail_; }
  // The reason as one line for a person, e.g. "unreadable: Permission denied".
  std::string ToString() const;

 private:
  Code code_ = Code::kOk;
  std::string detail_;
  int line_ = 0;
  int column_ = 0;
};

// The reason's name alone, e.g. "missing" or "failed sync".
const char* Describe(Status::Code code);

}  // namespace talvoro

// Returns from the enclosing function when `expr` gives a failure.
#define TALVORO_RETURN_IF_ERROR(expr)   \
  do {                                  \
    ::talvoro::Status status_ = (expr); \
    if (!status_.ok()) return status_;  \
  } while (false)

#endif  // TALVORO_FRAME_STATUS_H_
