// What every reader does with a document it cannot read, and with one whose
// document element holds nothing: the caller's outputs (containers that
// hold a record already, the weather record, the version's strings) exactly
// as they were, or nothing appended.
#include <string>

#include <gtest/gtest.h>

#include "document_calls.h"
#include "test_util.h"

namespace {

using testutil::AllCalls;
using testutil::CallKind;

TEST(Readers, UnreadableDocumentsChangeNothing) {
  testutil::TempDir dir;
  const std::string document = dir / "doc.xml";
  const std::string failing[] = {
      "",                                     // empty
      "  \n\t",                               // white space only
      "<?xml version='1.0'?><!-- only -->",   // no element
      "<r><Zone><ID>1</ID></Zone>",           // not closed
      "<r><weather Data='1'></weather></x>",  // mismatched end tag
  };
  for (const std::string& xml : failing) {
    testutil::WriteFile(document, xml);
    for (const std::string& path : {document, dir / "missing.xml", dir.path()}) {
      for (const testutil::DocumentCall& call : AllCalls()) {
        if (call.kind != CallKind::kReader) continue;
        const testutil::CallOutcome outcome = call.run(path, "");
        EXPECT_FALSE(outcome.result) << call.name << " " << xml;
        EXPECT_EQ(outcome.fault, "") << call.name << " " << xml;
      }
    }
  }
}

TEST(Readers, AnEmptyDocumentElementAppendsNothing) {
  testutil::TempDir dir;
  testutil::WriteFile(dir / "doc.xml", "<r>text<!-- c --></r>");
  for (const testutil::DocumentCall& call : AllCalls()) {
    if (call.kind != CallKind::kReader) continue;
    const testutil::CallOutcome outcome = call.run(dir / "doc.xml", "");
    // Every reader but the weather, which needs its "weather" element; the
    // version's strings empty.
    const bool weather = std::string(call.name) == "GetWeatherData";
    EXPECT_EQ(outcome.result, !weather) << call.name;
    EXPECT_EQ(outcome.fault, "") << call.name;
    if (!weather) {
      EXPECT_TRUE(outcome.bytes == "" || outcome.bytes == "0:;0:;") << call.name;
    }
  }
}

}  // namespace
