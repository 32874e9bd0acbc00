// Status: the outcome of loading or saving a document. Success carries
// nothing; a failure says why, as the public Reason that a program can test
// and a text a person can read (the system's error message, TinyXML's
// error). The exported functions answer only true or false; the reason stays
// inside the library for the tests, the inspector and the diagnosis.
#ifndef TALVORO_OS_STATUS_H_
#define TALVORO_OS_STATUS_H_

#include <string>
#include <utility>

#include "talvoro/core.h"

namespace talvoro {

class Status {
 public:
  Status() = default;  // success
  Status(Reason code, std::string detail) : code_(code), detail_(std::move(detail)) {}
  explicit Status(Reason code) : code_(code) {}

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

  bool ok() const { return code_ == Reason::kOk; }
  Reason code() const { return code_; }
  // What the system or TinyXML said, or "" when the code says it all.
  const std::string& detail() const { return detail_; }
  // The reason as one line for a person, e.g. "unreadable: Permission denied".
  std::string ToString() const;

 private:
  Reason code_ = Reason::kOk;
  std::string detail_;
  int line_ = 0;
  int column_ = 0;
};

// What a caller passed that no call can take: kInvalidArgument, the detail
// naming the argument; success otherwise.
// - a null path;
Status CheckPath(const char* path);
// - a null record where one record is expected;
Status CheckRecord(const void* record);
// - a count below 0, or null records with a count above 0 (null records with
//   a count of 0 are an empty list).
Status CheckRecords(const void* records, int count);

}  // namespace talvoro

// Returns from the enclosing function when `expr` gives a failure.
#define TALVORO_RETURN_IF_ERROR(expr)   \
  do {                                  \
    ::talvoro::Status status_ = (expr); \
    if (!status_.ok()) return status_;  \
  } while (false)

#endif  // TALVORO_OS_STATUS_H_
