#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "read/fields.h"
#include "test_util.h"

namespace {

using talvoro::CopyField;
using talvoro::Decimal;
using talvoro::Low16;
using talvoro::Low16ZeroExtended;

TEST(Decimal, BehavesLikeAtoi) {
  struct Case {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"12abc", 12},
      {"abc", 0},
      {" -5", -5},
      {"", 0},
      {"+7", 7},
      {"\t\n\v\f\r 9", 9},
      {"- 5", 0},
      {"--5", 0},
      {"0x1A", 0},
      {"007", 7},
      {"1e3", 1},
      {"-0", 0},
      {"3.9", 3},
      {" ", 0},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Decimal(c.text), c.value) << '"' << c.text << '"';
}

TEST(Decimal, SaturatesBeyondThirtyTwoBits) {
  EXPECT_EQ(Decimal("2147483648"), INT32_MAX);
  EXPECT_EQ(Decimal("-2147483649"), INT32_MIN);
  EXPECT_EQ(Decimal("99999999999999999999999999999999"), INT32_MAX);
  EXPECT_EQ(Decimal("-99999999999999999999999999999999x"), INT32_MIN);
  EXPECT_EQ(Decimal(std::string(100000, '9').c_str()), INT32_MAX);
  // Saturated only past the limits: digits that reach a limit and go on are.
  struct Case {
    const char* text;
    bool saturated;
  } cases[] = {{"2147483647", false},  {"21474836470", true},  {"2147483648", true},
               {"-2147483648", false}, {"-21474836480", true}, {"-2147483649", true}};
  for (const Case& c : cases)
    EXPECT_EQ(talvoro::ReadDecimal(c.text).saturated, c.saturated) << c.text;
}

TEST(Narrowing, KeepsTheLowSixteenBits) {
  EXPECT_EQ(Low16(70000), 4464);
  EXPECT_EQ(Low16(65537), 1);
  EXPECT_EQ(static_cast<std::uint16_t>(Low16(-1)), 0xFFFF);
  EXPECT_EQ(Low16(32768), INT16_MIN);
  EXPECT_EQ(Low16ZeroExtended(-1), 65535);
  EXPECT_EQ(Low16ZeroExtended(70000), 4464);
  EXPECT_EQ(Low16ZeroExtended(65539), 3);
  // Saturation happens before narrowing: the 32-bit limits' low bits.
  EXPECT_EQ(static_cast<std::uint16_t>(Low16(Decimal("99999999999"))), 0xFFFF);
  EXPECT_EQ(Low16(Decimal("-99999999999")), 0);
}

TEST(CopyField, StoresTextThatFitsWhole) {
  char field[10];
  std::memset(field, 'x', sizeof field);
  CopyField(field, "abc");
  EXPECT_STREQ(field, "abc");
  EXPECT_EQ(field[4], 'x') << "bytes after the terminator are left alone";

  CopyField(field, "123456789");  // exactly W - 1
  EXPECT_EQ(std::string(field, 9), "123456789");
  EXPECT_EQ(field[9], '\0');

  CopyField(field, "");
  EXPECT_EQ(field[0], '\0');
  EXPECT_EQ(field[1], '2');
}

TEST(CopyField, CutsLongerTextAndStaysInsideTheField) {
  struct Guarded {
    char before[4];
    char field[10];
    char after[4];
  } g;
  std::memset(&g, 0x5A, sizeof g);
  CopyField(g.field, "0123456789ABCDEF");
  EXPECT_EQ(std::string(g.field), "012345678");
  for (char c : g.before)
    EXPECT_EQ(c, 0x5A);
  for (char c : g.after)
    EXPECT_EQ(c, 0x5A);

  std::string huge(5 << 20, 'q');
  char wide[260];
  CopyField(wide, huge.c_str());
  EXPECT_EQ(std::strlen(wide), 259u);
}

TEST(Cleared, GivesAllZeroRecords) {
  struct R {
    std::int16_t a;
    char b[7];
    std::int32_t c;
  };
  R r = talvoro::Cleared<R>();
  EXPECT_TRUE(testutil::SameBytes(testutil::Zeroed<R>(), r));
}

}  // namespace
