#include <string>

#include <gtest/gtest.h>

#include "talvoro/talvoro.h"

namespace {

TEST(CString, NullIsEmptyAndComparisonIsExact) {
  CString null(static_cast<const char*>(nullptr));
  EXPECT_TRUE(null.IsEmpty());
  EXPECT_EQ(null.GetLength(), 0);
  EXPECT_TRUE(null == "");
  EXPECT_TRUE(null == static_cast<const char*>(nullptr));

  CString s("Zone");
  EXPECT_TRUE(s == "Zone");
  EXPECT_TRUE("Zone" == s);
  EXPECT_TRUE(s != "zone");
  EXPECT_TRUE(s != CString("Zone "));
  EXPECT_EQ(std::string(static_cast<const char*>(s)), "Zone");
  s = static_cast<const char*>(nullptr);
  EXPECT_TRUE(s.IsEmpty());

  CString bytes("\xC3\xA9t\xC3\xA9");  // UTF-8 stays bytes
  EXPECT_EQ(bytes.GetLength(), 5);
  EXPECT_STREQ(bytes.GetString(), "\xC3\xA9t\xC3\xA9");
}

TEST(CList, AppendsAtTheTailAndWalksFromTheHead) {
  CList<int, const int&> list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  for (int i = 1; i <= 3; ++i)
    list.AddTail(i * 10);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.GetHead(), 10);
  EXPECT_EQ(list.GetTail(), 30);

  const auto& constList = list;
  int expected = 10;
  for (POSITION pos = constList.GetHeadPosition(); pos; expected += 10) {
    EXPECT_EQ(constList.GetNext(pos), expected);
  }
  EXPECT_EQ(expected, 40);

  POSITION pos = list.GetHeadPosition();
  list.GetNext(pos) = 11;  // the element is returned by reference
  EXPECT_EQ(list.GetHead(), 11);

  list.RemoveAll();
  EXPECT_EQ(list.GetCount(), 0);
  list.AddTail(5);
  EXPECT_EQ(list.GetHead(), 5);
  EXPECT_EQ(list.GetTail(), 5);
}

TEST(Exceptions, InvalidArgumentIsAStdInvalidArgument) {
  EXPECT_THROW(AfxThrowInvalidArgException(), CInvalidArgException);
  EXPECT_THROW(AfxThrowInvalidArgException(), std::invalid_argument);
}

TEST(Helper, ObjectsCanBeMadeCopiedAndAssigned) {
  CTinyXmlHelper a;
  CTinyXmlHelper b(a);
  EXPECT_EQ(&(b = a), &b);
  std::unique_ptr<CTinyXmlHelper> owned(new CTinyXmlHelper);  // virtual destructor
}

}  // namespace
