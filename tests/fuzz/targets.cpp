#include "targets.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "c_calls.h"
#include "document_calls.h"
#include "talvoro/diagnose.h"
#include "temp_dir.h"
#include "tinyxml_depth.h"
#include "xml/guard.h"

namespace fuzz {
namespace {

[[noreturn]] void Fault(const char* target, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", target, what.c_str());
  std::abort();
}

// Readers and editors get the input as the document; writers get it as raw
// records and write where no file is yet. A reader must give the same
// outcome twice.
void RunDocumentCall(const testutil::DocumentCall& call, const std::string& input) {
  // A folder of the process's own for the documents, removed at exit; under
  // $TMPDIR, so that the fuzz script can put it in memory.
  static const testutil::TempDir dir;
  const std::string path = dir / "document.xml";
  std::remove(path.c_str());
  if (call.kind != testutil::CallKind::kWriter) {
    std::ofstream(path, std::ios::binary) << input;
  }
  const testutil::CallOutcome outcome = call.run(path, input);
  if (!outcome.fault.empty()) Fault(call.name, outcome.fault);
  if (call.kind == testutil::CallKind::kReader && !(call.run(path, input) == outcome))
    Fault(call.name, "a second read gave another outcome");
}

// The guard against TinyXML itself: whatever the guard lets through, TinyXML
// parses no deeper and reads no more attributes on an element, and where
// TinyXML parses without error the two agree.
void RunNesting(const std::string& input) {
  const talvoro::Shape shape =
      talvoro::MeasureDocument(input.c_str(), {talvoro::kMaxNesting, talvoro::kMaxAttributes});
  if (shape.depth > talvoro::kMaxNesting || shape.attributes > talvoro::kMaxAttributes) return;
  const testutil::TinyXmlParse tiny = testutil::ParseWithTinyXml(input);
  if (tiny.depth > shape.depth) Fault("nesting", "TinyXML went deeper than the guard counted");
  if (tiny.attributes > shape.attributes)
    Fault("nesting", "TinyXML read more attributes than the guard counted");
  if (!tiny.error && (tiny.depth != shape.depth || tiny.attributes != shape.attributes))
    Fault("nesting", "the guard overcounted a parsed document");
}

// The diagnosis beside the exported reader, for every document kind, on the
// same input: the same verdict, findings in document order with their texts,
// and a reason's place only where one is known.
void RunDiagnose(const std::string& input) {
  static const testutil::TempDir dir;
  const std::string path = dir / "document.xml";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << input;
  for (int i = 0; const talvoro::DocumentType* type = talvoro::DocumentTypeAt(i); ++i) {
    struct Seen {
      int line = 0, column = 0;
      std::string fault;
    } seen;
    talvoro::Outcome outcome{};
    const talvoro::Reason reason = talvoro::Diagnose(
        type->kind, path.c_str(), &outcome,
        [](const talvoro::Finding* finding, void* context) {
          Seen& seen = *static_cast<Seen*>(context);
          if (finding->line < seen.line ||
              (finding->line == seen.line && finding->column < seen.column))
            seen.fault = "findings out of document order";
          if (!finding->element || !finding->attribute || !finding->written || !finding->stored)
            seen.fault = "a finding without its texts";
          seen.line = finding->line;
          seen.column = finding->column;
        },
        &seen);
    if (!seen.fault.empty()) Fault(type->word, seen.fault);
    const testutil::CallOutcome read = testutil::FindCall(type->reader)->run(path, "");
    if (read.result != (reason == talvoro::Reason::kOk))
      Fault(type->word, std::string("the diagnosis says ") + talvoro::ReasonText(reason) +
                            ", the reader " + (read.result ? "reads it" : "refuses it"));
    if (outcome.reason != reason) Fault(type->word, "the outcome says another reason");
    if (outcome.column > 0 && outcome.line <= 0) Fault(type->word, "a column without its line");
  }
}

// The C readers as hosts call them, against the exported class, on the
// input after its first three bytes, which make the host's choices: where its
// sink ends (at each member in turn, or no sink at all), which callbacks are
// null, and after how many records and texts it answers "stop" (0: never).
// What arrives is what the full sink receives, less what the host cannot
// take, up to the stop; the reason is the class's verdict, or kStopped.
void RunCInterface(const std::string& input) {
  if (input.size() < 3) return;
  static const testutil::TempDir dir;
  const std::string path = dir / "document.xml";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << input.substr(3);
  constexpr std::size_t kEnds[] = {offsetof(talvoro_sink, reserve), offsetof(talvoro_sink, record),
                                   offsetof(talvoro_sink, text), sizeof(talvoro_sink), 0};
  const std::size_t end = kEnds[static_cast<unsigned char>(input[0]) % 5];
  const unsigned nulls = static_cast<unsigned char>(input[1]);
  const std::size_t stop = static_cast<unsigned char>(input[2]);
  for (const testutil::CReader& reader : testutil::CReaders()) {
    const std::string name = std::string("CInterface ") + reader.name;
    testutil::Recorder all;
    const talvoro_sink full = all.Sink();
    const talvoro_reason verdict = reader.read(path.c_str(), &full, nullptr);
    const testutil::CallOutcome expected = testutil::FindCall(reader.name)->run(path, "");
    if ((verdict == TALVORO_REASON_OK) != expected.result)
      Fault(name.c_str(), "another verdict than the class's");
    if (testutil::AsCallBytes(reader, expected.result, all.events) != expected.bytes)
      Fault(name.c_str(), "other records than the class's");

    testutil::Recorder host;
    host.stopAfter = stop ? stop : SIZE_MAX;
    talvoro_sink sink = host.Sink();
    sink.size = end;
    if (nulls & 1) sink.reserve = nullptr;
    if (nulls & 2) sink.record = nullptr;
    if (nulls & 4) sink.text = nullptr;
    talvoro_outcome outcome{};
    outcome.size = sizeof outcome;
    const talvoro_reason reason = reader.read(path.c_str(), end ? &sink : nullptr, &outcome);
    // What the host can take of what the full sink received, up to its stop.
    const bool takes[] = {end > offsetof(talvoro_sink, reserve) && sink.reserve,
                          end > offsetof(talvoro_sink, record) && sink.record,
                          end > offsetof(talvoro_sink, text) && sink.text};
    std::vector<testutil::Event> wanted;
    std::size_t delivered = 0;
    bool stopped = false;
    for (const testutil::Event& e : all.events) {
      if (stopped || !takes[e.what == 'n' ? 0 : e.what == 'r' ? 1 : 2]) continue;
      wanted.push_back(e);
      if (e.what != 'n' && ++delivered == stop) stopped = true;
    }
    if (!(host.events == wanted)) Fault(name.c_str(), "the host received other callbacks");
    if (reason != (stopped ? TALVORO_REASON_STOPPED : verdict))
      Fault(name.c_str(), std::string("the reason is ") + talvoro_reason_text(reason));
    if (outcome.reason != reason) Fault(name.c_str(), "the outcome says another reason");
  }
}

}  // namespace

bool Run(const char* name, const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  if (std::strcmp(name, "nesting") == 0) {
    RunNesting(input);
    return true;
  }
  if (std::strcmp(name, "CInterface") == 0) {
    RunCInterface(input);
    return true;
  }
  if (std::strcmp(name, "Diagnose") == 0) {
    RunDiagnose(input);
    return true;
  }
  const testutil::DocumentCall* call = testutil::FindCall(name);
  if (!call) return false;
  RunDocumentCall(*call, input);
  return true;
}

}  // namespace fuzz
