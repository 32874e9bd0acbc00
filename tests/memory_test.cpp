// The memory budget of one call: the loader's estimate of what parsing takes
// (the text's block and TinyXML's tree, from the pre-scan) against what the
// allocator really hands out, on the worst shapes of documents, the examples
// and the fuzz corpus; and the refusal of a document past the budget, with
// little memory touched. This program counts every block of the global
// allocation functions, with the allocator's header, as glibc lays them out.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "talvoro/c.h"
#include "temp_dir.h"
#include "test_util.h"
#include "xml/document.h"
#include "xml/guard.h"
#include "xml/limits.h"

namespace {

std::atomic<std::uint64_t> current{0}, peak{0};

std::uint64_t BlockOf(void* p) {
  return malloc_usable_size(p) + sizeof(std::size_t);
}

void* Allocate(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const std::uint64_t now = current += BlockOf(p);
  for (std::uint64_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
  }
  return p;
}

void Release(void* p) noexcept {
  if (!p) return;
  current -= BlockOf(p);
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete[](void* p) noexcept {
  Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  Release(p);
}

namespace {

// What loading and parsing `text` (in a file) takes at its peak, above what
// was held before, and the loader's estimate of it.
struct Measured {
  std::uint64_t peak, estimate;
  talvoro::Reason reason;
};

// The parse alone: what the loader holds at its peak above what was held
// before, against the estimate its guard made of it.
Measured Measure(const std::string& path) {
  const std::uint64_t before = current;
  peak = before;
  talvoro::XmlDocument doc;
  const talvoro::Reason reason = doc.Load(path.c_str()).status.code();
  return {peak - before, doc.estimate(), reason};
}

// The estimate of `xml` over its peak, checked to be at least 1.
double ExpectCovered(const std::string& name, const std::string& xml, bool print = true) {
  testutil::TempDir dir;
  const std::string path = dir / "document.xml";
  testutil::WriteFile(path, xml);
  const Measured m = Measure(path);
  EXPECT_GE(m.estimate, m.peak) << name << ": " << talvoro::ReasonText(m.reason);
  const double ratio = m.peak ? static_cast<double>(m.estimate) / static_cast<double>(m.peak) : 0;
  if (print) {
    std::printf("%-28s %9zu bytes: peak %11llu, estimate %11llu (%.2f)\n", name.c_str(), xml.size(),
                static_cast<unsigned long long>(m.peak),
                static_cast<unsigned long long>(m.estimate), ratio);
  }
  return ratio;
}

std::string Repeat(const std::string& item, std::size_t bytes) {
  std::string xml = "<r>";
  while (xml.size() < bytes)
    xml += item;
  return xml + "</r>";
}

TEST(MemoryBudget, TheEstimateIsNeverBelowWhatParsingTakes) {
  const std::size_t size = std::size_t{4} << 20;
  ExpectCovered("empty elements", Repeat("<b/>", size));
  std::string attributes = "<e";
  for (int i = 0; i < 256; ++i)
    attributes += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
  ExpectCovered("many attributes", Repeat(attributes + "/>\n", size));
  // Values of 16 bytes, past what stays inside a string: TinyXML appends them
  // a character at a time, and the string's block ends at twice the length.
  std::string sixteen = "<e";
  for (int i = 0; i < 256; ++i)
    sixteen += " a" + std::to_string(i) + "=\"" + std::string(16, 'v') + "\"";
  ExpectCovered("16-byte values", Repeat(sixteen + "/>\n", size));
  const std::string longName(300, 'n');
  ExpectCovered("long names",
                Repeat("<" + longName + " " + longName + "=\"v\"></" + longName + ">", size));
  std::string deep;
  for (int i = 0; i < talvoro::kMaxNesting - 1; ++i)
    deep += "<d>";
  for (int i = 0; i < talvoro::kMaxNesting - 1; ++i)
    deep += "</d>";
  ExpectCovered("deep nesting at the limit", Repeat(deep, size));
  ExpectCovered("long text", Repeat("<t>" + std::string(100000, 'x') + "</t>", size));
  ExpectCovered("short text", Repeat("<t>text of 17 byte</t>", size));
  ExpectCovered("long values", Repeat("<v a=\"" + std::string(5000, 'v') + "\"/>", size));
  ExpectCovered("entities", Repeat("<v a=\"&amp;&lt;&#x41;&#65;\">&amp;&gt;</v>", size));
  ExpectCovered("comments, CDATA, unknown",
                Repeat("<!-- a comment of some length --><![CDATA[data <here>]]><!x y>", size));
  ExpectCovered("whitespace", "<a>" + std::string(size, ' ') + "</a>");
  std::string servers = "<servers>\n";
  for (int i = 0; servers.size() < size; ++i) {
    servers += "  <server id=\"" + std::to_string(i) + "\" serverName=\"Shanghai Telecom " +
               std::to_string(i) + "\" ip=\"10.0." + std::to_string(i % 250) +
               ".1\" port=\"7709\" />\n";
  }
  ExpectCovered("server list", servers + "</servers>\n");
}

// Every term of the cost model at its boundaries: names, values and texts of
// 1 to 64 bytes (in and out of the string object, a first growth and the
// next), one huge of each beside a small tree. The estimate is never below
// the peak, and where one term dominates not far above it: names are
// assigned whole and counted as they are; values and texts grow a character
// at a time, and are counted at the most they can take.
TEST(MemoryBudget, TheEstimateHoldsAtEveryBoundaryOfItsTerms) {
  const struct {
    const char* family;
    std::string (*item)(const std::string& s);
    double most;  // estimate / peak at most
  } families[] = {
      {"element names", [](const std::string& s) { return "<" + s + "></" + s + ">"; }, 1.05},
      {"attribute names", [](const std::string& s) { return "<e " + s + "=\"v\"/>"; }, 1.05},
      {"values", [](const std::string& s) { return "<e a=\"" + s + "\"/>"; }, 1.2},
      {"texts", [](const std::string& s) { return "<t>" + s + "</t>"; }, 1.2},
  };
  for (const auto& f : families) {
    double least = 1e9, most = 0;
    for (std::size_t length = 1; length <= 64; ++length) {
      const double ratio =
          ExpectCovered(f.family + (" of " + std::to_string(length)),
                        Repeat(f.item(std::string(length, 'n')), 256 << 10), false);
      least = std::min(least, ratio), most = std::max(most, ratio);
    }
    std::printf("%-16s of 1 to 64 bytes: estimate / peak from %.2f to %.2f\n", f.family, least,
                most);
    const double huge = ExpectCovered(std::string("one huge of ") + f.family,
                                      "<r>" + f.item(std::string(4 << 20, 'n')) + "</r>");
    EXPECT_LE(most, f.most) << f.family;
    EXPECT_LE(huge, 1.1) << f.family;
  }
}

TEST(MemoryBudget, TheEstimateCoversTheExamplesAndTheFuzzCorpus) {
  int documents = 0;
  for (const auto& folder : {std::filesystem::path(TALVORO_EXAMPLES_DIR),
                             std::filesystem::path(TALVORO_FUZZ_DIR) / "corpus"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      if (!entry.is_regular_file()) continue;
      const Measured m = Measure(entry.path().string());
      if (!m.estimate) continue;  // refused before the parse, the text alone read
      EXPECT_GE(m.estimate, m.peak) << entry.path();
      ++documents;
    }
  }
  EXPECT_GT(documents, 1000);
}

// 64 MiB of empty elements would take about 3.7 GB: refused before TinyXML
// allocates anything, the scan stopping once the budget is spent. A server
// list of the usual shape at the size limit still reads (64-bit).
TEST(MemoryBudget, ADocumentPastTheBudgetIsRefusedWithLittleMemoryTouched) {
  testutil::TempDir dir;
  const std::string empty = dir / "empty.xml";
  testutil::WriteFile(empty, Repeat("<b/>", (std::size_t{64} << 20) - 16));
  std::uint64_t before = current;
  peak = before;
  talvoro_outcome outcome{};
  outcome.size = sizeof outcome;
  EXPECT_EQ(talvoro_get_srv_data(empty.c_str(), nullptr, &outcome),
            TALVORO_REASON_TOO_LARGE_TO_PARSE);
  EXPECT_STREQ(talvoro_reason_text(outcome.reason), "too large to parse");
  EXPECT_LT(peak - before, std::uint64_t{80} << 20) << "no more than the text";
  const std::string budget = "more than " + std::to_string(talvoro::kMaxParseBytes >> 20) + " MiB";
  EXPECT_NE(std::string(outcome.detail).find(budget), std::string::npos) << outcome.detail;
  // The scan stopped where the budget was spent, a quarter of the way in.
  EXPECT_EQ(outcome.line, 1);
  EXPECT_GT(outcome.column, 1);
  EXPECT_LT(outcome.column, 20 << 20);

  if (sizeof(void*) < 8) return;
  const std::string servers = dir / "servers.xml";
  {
    std::string xml = "<servers>\n";
    for (int i = 0; xml.size() < (std::size_t{64} << 20) - 200; ++i) {
      xml += "  <server id=\"" + std::to_string(i % 30000) + "\" serverName=\"Shanghai Telecom " +
             std::to_string(i) + "\" ip=\"10." + std::to_string(i % 250) + "." +
             std::to_string(i / 250 % 250) + ".1\" port=\"" + std::to_string(7000 + i % 1000) +
             "\" />\n";
    }
    testutil::WriteFile(servers, xml + "</servers>\n");
  }
  const Measured m = Measure(servers);
  EXPECT_EQ(m.reason, talvoro::Reason::kOk);
  EXPECT_GE(m.estimate, m.peak);
  EXPECT_LE(m.estimate, talvoro::kMaxParseBytes);
  std::printf("64 MiB server list: peak %llu, estimate %llu\n",
              static_cast<unsigned long long>(m.peak), static_cast<unsigned long long>(m.estimate));
}

}  // namespace
