#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "talvoro/talvoro.h"
#include "test_util.h"
#include "tinyxml_depth.h"
#include "xml/guard.h"

namespace {

using talvoro::kMaxNesting;
using talvoro::MaxElementDepth;
using testutil::TinyXmlParse;

constexpr int kNoLimit = 1 << 20;

std::string Nested(int depth, const std::string& name = "e") {
  std::string xml;
  for (int i = 0; i < depth; ++i)
    xml += "<" + name + ">";
  for (int i = 0; i < depth; ++i)
    xml += "</" + name + ">";
  return xml;
}

TinyXmlParse TinyDepth(const std::string& text) {
  return testutil::ParseWithTinyXml(text);
}

TEST(NestingGuard, CountsOnlyElementsAsTinyXmlReadsThem) {
  const std::string bom = "\xEF\xBB\xBF";
  const struct {
    const char* what;
    std::string xml;
    int depth;
  } cases[] = {
      {"empty", "", 0},
      {"declaration only", "<?xml version='1.0'?>", 0},
      {"one element", "<a/>", 1},
      {"siblings do not add up", "<a><b/><b><c/></b><b/></a>", 3},
      {"end tag with blanks", "<a><b></b  ></a>", 2},
      {"comment", "<a><!-- <b><c><d> --></a>", 1},
      {"unterminated comment", "<a><!-- <b><c>", 1},
      {"CDATA", "<a><![CDATA[<b><c></c></b>]]></a>", 1},
      {"processing instruction", "<?pi <b <c ?><a/>", 1},
      {"a '>' ends a processing instruction", "<?pi <b><c>?><a/>", 2},
      {"DOCTYPE", "<!DOCTYPE a><a><b/></a>", 2},
      {"DOCTYPE subset ends at the first '>'", "<!DOCTYPE a [<!ELEMENT a ANY>]><a><b/></a>", 0},
      {"quoted attribute values", "<a x='<b><c>' y=\"<d><e>\"><f/></a>", 2},
      {"'>' in a quoted value of an unknown ends it", "<a><!DOCTYPE x \"><b><c/></b>\"></a>", 3},
      {"'>' in a processing instruction's value ends it", "<a><?pi x=\"?>\"<b/></a>", 2},
      {"a '<' that starts no element", "<a>< b><1><_c/></a>", 2},
      {"a lead byte swallows the closing quote (UTF-8 by byte order mark)",
       bom + "<a x=\"\xE0\" y=\"><b><c/></b>\"/>", 3},
      {"a lead byte swallows the closing quote (UTF-8 by declaration)",
       "<?xml version='1.0' encoding='utf-8'?><a x=\"\xE0\" y=\"><b><c/></b>\"/>", 3},
      {"UTF8 without its hyphen is UTF-8 too, as TinyXML takes it",
       "<?xml encoding='UTF8'?><a x=\"\xE0\" y=\"><b><c/></b>\"/>", 3},
      {"no swallowing in another encoding",
       "<?xml version='1.0' encoding='ISO-8859-1'?><a x=\"\xE0\" y=\"><b><c/></b>\"/>", 1},
      {"an encoding spelt with a character reference",
       "<?xml encoding='UTF&#45;8'?><a x=\"\xE0\" y=\"><b><c/></b>\"/>", 3},
      {"a character reference skips to the next ';'", "<a x=\"&#x\"><b><c/></b>x;\"/>", 1},
      {"a lead byte at the very end", bom + "<a><b x='\xF0", 2},
      {"mismatched end tag stops the parse", "<a><b></bc><c><d/></c></a>", 2},
      {"several documents at the top", "<a/><b><c><d/></c></b>", 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MaxElementDepth(c.xml.c_str(), kNoLimit), c.depth) << c.what;
    EXPECT_EQ(TinyDepth(c.xml).depth, c.depth) << "TinyXML itself: " << c.what;
  }
}

TEST(NestingGuard, StopsJustPastTheLimit) {
  EXPECT_EQ(MaxElementDepth(Nested(kMaxNesting).c_str(), kMaxNesting), kMaxNesting);
  EXPECT_EQ(MaxElementDepth(Nested(kMaxNesting + 1).c_str(), kMaxNesting), kMaxNesting + 1);
  // Deep enough to overflow TinyXML's stack: refused without parsing.
  std::string deep;
  for (int i = 0; i < 200000; ++i)
    deep += "<a x='1'>";
  EXPECT_EQ(MaxElementDepth(deep.c_str(), kMaxNesting), kMaxNesting + 1);
  // Deep nesting that is not elements costs nothing.
  std::string quoted = "<a x='" + deep + "'/>";
  EXPECT_EQ(MaxElementDepth(quoted.c_str(), kMaxNesting), 1);
}

TEST(NestingGuard, LoaderRefusesDeeperThanTheLimit) {
  testutil::TempDir dir;
  const std::string path = dir / "deep.xml";
  const struct {
    int depth;
    bool loads;
  } cases[] = {{256, true}, {257, false}, {50000, false}};
  for (const auto& c : cases) {
    testutil::WriteFile(path, Nested(c.depth));
    tagServerListInfo info;
    EXPECT_EQ(CTinyXmlHelper::GetServiceData(info, path.c_str()), c.loads) << c.depth;
    EXPECT_EQ(info.types.GetCount(), c.loads ? 1 : 0) << c.depth;
  }
}

std::string WithAttributes(int count, const std::string& extra = "") {
  std::string xml = "<items><item";
  for (int i = 0; i < count; ++i)
    xml += " a" + std::to_string(i) + "='1'";
  return xml + extra + "/></items>";
}

TEST(NestingGuard, CountsTheAttributesOfEachElement) {
  using talvoro::kMaxAttributes;
  using talvoro::MeasureDocument;
  const talvoro::Limits limits{kMaxNesting, kMaxAttributes};
  EXPECT_EQ(MeasureDocument(WithAttributes(3).c_str(), limits).attributes, 3);
  EXPECT_EQ(MeasureDocument(WithAttributes(kMaxAttributes).c_str(), limits).attributes,
            kMaxAttributes);
  EXPECT_EQ(MeasureDocument(WithAttributes(100000).c_str(), limits).attributes, kMaxAttributes + 1);
  // Attribute-like text inside a value, a comment or the declaration is none.
  const std::string many = WithAttributes(0, " v=\"" + WithAttributes(400) + "\"");
  EXPECT_EQ(MeasureDocument(many.c_str(), limits).attributes, 1);
  const std::string declared = "<?xml version='1.0' encoding='UTF-8' standalone='yes'?><a/>";
  EXPECT_EQ(MeasureDocument(declared.c_str(), limits).attributes, 0);

  // Past the limit the loader refuses the document, as it does a malformed one.
  testutil::TempDir dir;
  const std::string path = dir / "items.xml";
  for (const int count : {kMaxAttributes, kMaxAttributes + 1}) {
    testutil::WriteFile(path, WithAttributes(count));
    CArrayTemplate<tagShortCutInfo, const tagShortCutInfo&> items;
    EXPECT_EQ(CTinyXmlHelper::GetShutCutInfo(items, path.c_str()), count <= kMaxAttributes);
  }
}

// Random documents, well-formed and not, built from the pieces that decide
// nesting, then mutated byte by byte. Whatever the guard accepts, TinyXML
// parses no deeper; and where TinyXML succeeds, the two agree exactly.
class DocumentMaker {
 public:
  explicit DocumentMaker(unsigned seed) : random_(seed) {}

  std::string Make() {
    std::string xml;
    const int prolog = Pick(6);
    if (prolog == 1) xml += "\xEF\xBB\xBF";
    if (prolog == 2) xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    if (prolog == 3) xml += "<?xml version='1.0' encoding='GB2312'?>";
    if (prolog == 4) xml += "<!DOCTYPE r>";
    Element(xml, 1 + Pick(40));
    if (Pick(2)) Mutate(xml, 1 + Pick(8));
    return xml;
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  std::string Name() {
    static const char* const kNames[] = {"a", "b", "_x", "n-1", "q:r", "\xC3\xA9t", "a"};
    return kNames[Pick(7)];
  }

  std::string Piece() {
    static const char* const kPieces[] = {"<!-- <c><d> -->",
                                          "<![CDATA[<c><d>]]>",
                                          "<?pi <c> ?>",
                                          "<!x \"><c>\" >",
                                          " text ",
                                          "&amp;",
                                          "&#65;",
                                          "&#x41;",
                                          "\xE0",
                                          "\xEF\xBB\xBF",
                                          "'",
                                          "\"",
                                          "<",
                                          ">",
                                          "/>",
                                          "</a>",
                                          "&#x",
                                          "x;",
                                          "\xC3\xA9",
                                          "\r\n"};
    return kPieces[Pick(20)];
  }

  void Element(std::string& xml, int budget) {
    const std::string name = Name();
    xml += "<" + name;
    for (int i = Pick(3); i > 0; --i)
      xml += std::string(" k") + char('0' + i) + (Pick(2) ? "='" : "=\"") + Piece() +
             (Pick(2) ? "'" : "\"");
    if (budget <= 1 || Pick(5) == 0) {
      xml += "/>";
      return;
    }
    xml += ">";
    for (int i = Pick(4); i >= 0; --i) {
      if (Pick(3)) {
        Element(xml, budget - 1 - Pick(3));
      } else {
        xml += Piece();
      }
    }
    xml += "</" + name + (Pick(4) ? ">" : " >");
  }

  void Mutate(std::string& xml, int edits) {
    static const char kBytes[] = "<>/'\"&#x;!-?[]\xE0\xF0 a";
    for (int i = 0; i < edits && !xml.empty(); ++i) {
      const std::size_t at = random_() % xml.size();
      switch (Pick(4)) {
        case 0:
          xml.erase(at, 1 + Pick(4));
          break;
        case 1:
          xml.insert(at, Piece());
          break;
        case 2:
          xml[at] = kBytes[Pick(sizeof kBytes - 1)];
          break;
        default:
          xml.insert(at, xml.substr(random_() % xml.size(), 1 + Pick(30)));
      }
    }
  }

  std::mt19937 random_;
};

TEST(NestingGuard, NeverBelowWhatTinyXmlReaches) {
  const bool condensed = TiXmlBase::IsWhiteSpaceCondensed();
  for (const bool condense : {true, false}) {
    TiXmlBase::SetCondenseWhiteSpace(condense);
    DocumentMaker maker(20240601u + condense);
    int parsed = 0;
    for (int i = 0; i < 4000; ++i) {
      const std::string xml = maker.Make();
      const int guard = MaxElementDepth(xml.c_str(), kNoLimit);
      const talvoro::Shape shape = talvoro::MeasureDocument(xml.c_str(), {kNoLimit, kNoLimit});
      const TinyXmlParse tiny = TinyDepth(xml);
      ASSERT_EQ(shape.depth, guard) << xml;
      ASSERT_LE(tiny.depth, guard) << xml;
      ASSERT_LE(tiny.attributes, shape.attributes) << xml;
      if (!tiny.error) {
        ++parsed;
        ASSERT_EQ(tiny.depth, guard) << xml;
        ASSERT_EQ(tiny.attributes, shape.attributes) << xml;
      }
      // With a limit, the guard answers the same up to it.
      ASSERT_EQ(MaxElementDepth(xml.c_str(), 3), std::min(guard, 4)) << xml;
    }
    EXPECT_GT(parsed, 500) << "the generator should also make documents that parse";
  }
  TiXmlBase::SetCondenseWhiteSpace(condensed);
}

}  // namespace
