// The fixture that every document's tests share: a temporary folder, removed
// with everything in it after the test, and the document's file in it.
// Write() puts a text in that file and gives its path as the readers take it,
// so that a document's fixture needs only its records and its reader:
//
//   class ServiceList : public testutil::DocumentTest {
//    protected:
//     ServiceList() : DocumentTest("services.xml") {}
//     bool Read(const std::string& xml) {
//       return CTinyXmlHelper::GetServiceData(info, Write(xml));
//     }
//     tagServerListInfo info;
//   };
#ifndef TALVORO_TESTS_SUPPORT_DOCUMENT_TEST_H_
#define TALVORO_TESTS_SUPPORT_DOCUMENT_TEST_H_

#include <string>

#include <gtest/gtest.h>

#include "talvoro/platform.h"
#include "test_util.h"

namespace testutil {

class DocumentTest : public ::testing::Test {
 protected:
  explicit DocumentTest(const std::string& file) : path_(dir / file) {}

  // The document's path.
  const std::string& Path() const { return path_; }
  // Writes `xml` as the whole document; its path.
  CString Write(const std::string& xml) const {
    WriteFile(path_, xml);
    return path_.c_str();
  }

  TempDir dir;

 private:
  std::string path_;
};

}  // namespace testutil

#endif  // TALVORO_TESTS_SUPPORT_DOCUMENT_TEST_H_
