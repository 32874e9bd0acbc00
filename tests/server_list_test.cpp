#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document_test.h"
#include "talvoro/talvoro.h"

namespace {

using testutil::SameBytes;
using testutil::Set;
using testutil::Zeroed;

tagSrvData Server(std::int16_t id, const std::string& ip, const std::string& port,
                  const std::string& name) {
  auto r = Zeroed<tagSrvData>();
  r.id = id;
  Set(r.ip, ip);
  Set(r.port, port);
  Set(r.serverName, name);
  return r;
}

tagSrvService Service(std::int32_t id, const std::string& name, const std::string& sink,
                      std::int32_t run) {
  auto r = Zeroed<tagSrvService>();
  r.id = id;
  Set(r.serviceName, name);
  Set(r.sink, sink);
  r.run = run;
  return r;
}

class ServerDocuments : public testutil::DocumentTest {
 protected:
  ServerDocuments() : DocumentTest("doc.xml") {}
};

TEST_F(ServerDocuments, ServersInDocumentOrderBehindExistingEntries) {
  CList<tagSrvData, const tagSrvData&> list;
  list.AddTail(Server(9, "held", "", ""));
  const CString path = Write(R"(<?xml version="1.0"?>
<anything id="77" ip="root">
  <!-- comment -->
  <a id="1" serverName="Quotes" ip="10.0.0.1" port="8080x" extra="no"><b id="5" ip="deep"/></a>
  text
  <c/>
  <d id="65537" port="443" IP="upper" ServerName="upper"/>
  <e id="-1" ip="h" port=" 7 "/>
</anything>)");
  ASSERT_TRUE(CTinyXmlHelper::GetSrvData(list, path));
  ASSERT_TRUE(CTinyXmlHelper::GetSrvData(list, path));
  const std::vector<tagSrvData> items = testutil::Records(list);
  ASSERT_EQ(items.size(), 9u);
  EXPECT_TRUE(SameBytes(Server(9, "held", "", ""), items[0]));
  const tagSrvData read[] = {Server(1, "10.0.0.1", "8080x", "Quotes"), Server(0, "", "", ""),
                             Server(1, "", "443", ""), Server(-1, "h", " 7 ", "")};
  for (int i = 0; i < 8; ++i)
    EXPECT_TRUE(SameBytes(read[i % 4], items[1 + i])) << i;
}

// A record is cleared before it is filled: behind a shorter text's terminator
// lies nothing of the longer text before it.
TEST_F(ServerDocuments, EveryRecordIsClearedBeforeItIsFilled) {
  const CString path = Write(
      "<l><a id='1' serverName='Shanghai telecom main' ip='10.100.100.100' port='443443' "
      "serviceName='quotes and level two' sink='sink of the quotes' run='1'/>"
      "<b id='2' serverName='B' ip='1' port='2' serviceName='q' sink='s' run='0'/></l>");
  CList<tagSrvData, const tagSrvData&> servers;
  CList<tagSrvService, const tagSrvService&> services;
  ASSERT_TRUE(CTinyXmlHelper::GetSrvData(servers, path));
  ASSERT_TRUE(CTinyXmlHelper::GetSrvServiceData(services, path));
  EXPECT_TRUE(SameBytes(Server(2, "1", "2", "B"), servers.GetTail()));
  EXPECT_TRUE(SameBytes(Service(2, "q", "s", 0), services.GetTail()));
}

TEST_F(ServerDocuments, ServicesConvertIdAndRunAsNumbers) {
  struct Case {
    const char* run;  // null: no "run" attribute
    std::int32_t value;
  } cases[] = {{"1", 1},
               {"0", 0},
               {"2", 2},
               {"-1", -1},
               {"yes", 0},
               {"true", 0},
               {"", 0},
               {nullptr, 0},
               {"7up", 7},
               {" +3", 3},
               {"99999999999", INT32_MAX}};
  std::string xml = "<services>";
  for (const Case& c : cases)
    xml += c.run ? std::string("<s id='70000' serviceName='n' sink='k' run='") + c.run + "'/>"
                 : std::string("<s/>");
  xml += "<!-- c --><s id='-5'><child id='6' run='1'/></s></services>";

  CList<tagSrvService, const tagSrvService&> list;
  list.AddTail(Service(42, "held", "", 1));
  ASSERT_TRUE(CTinyXmlHelper::GetSrvServiceData(list, Write(xml)));
  const std::vector<tagSrvService> items = testutil::Records(list);
  const std::size_t count = sizeof cases / sizeof cases[0];
  ASSERT_EQ(items.size(), count + 2);
  EXPECT_TRUE(SameBytes(Service(42, "held", "", 1), items[0]));
  for (std::size_t i = 0; i < count; ++i) {
    const Case& c = cases[i];
    const tagSrvService expected =
        c.run ? Service(70000, "n", "k", c.value) : Service(0, "", "", 0);
    EXPECT_TRUE(SameBytes(expected, items[1 + i])) << (c.run ? c.run : "(absent)");
  }
  EXPECT_TRUE(SameBytes(Service(-5, "", "", 0), items.back()));
}

}  // namespace
