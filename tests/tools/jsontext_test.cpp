// The escaping of the batch results: AppendJsonText writes what DumpJson
// writes for the value of JsonText, byte for byte, on texts of every kind.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tools/modeljson.h"

namespace {

using Vexar::AppendJsonText;

std::string ViaJsonValue(const std::string& S) { return Vexar::DumpJson(Vexar::JsonText(S)); }

std::string Direct(const std::string& S) {
  std::string Out = "head:";  // appended, what is there stays
  AppendJsonText(Out, S);
  EXPECT_EQ(Out.compare(0, 5, "head:"), 0);
  return Out.substr(5);
}

TEST(JsonTextTest, EscapesAsTheJsonValueDumpDoes) {
  struct Case {
    std::string In, Out;
  } Cases[] = {
      {"", R"("")"},
      {"SELECT a", R"("SELECT a")"},
      {"\"t\".\"a\" \\ /", R"("\"t\".\"a\" \\ /")"},
      {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
      {std::string("\0\x01\x1f\x7f", 4), R"("\u0000\u0001\u001f\u007f")"},
      {"caf\xe9", R"("caf\u00e9")"},                  // not UTF-8: the byte's value
      {"\xc3\xa9\xe2\x82\xac", R"("\u00e9\u20ac")"},  // two and three bytes
      {"\xf0\x9f\x98\x80", R"("\ud83d\ude00")"},      // four bytes: a surrogate pair
      {"\xc0\xaf", R"("\u00c0\u00af")"},              // overlong
      {"\xed\xa0\x80", R"("\u00ed\u00a0\u0080")"},    // a surrogate
      {"\xf4\x90\x80\x80", R"("\u00f4\u0090\u0080\u0080")"},  // above U+10FFFF
      {"\xe2\x82", R"("\u00e2\u0082")"},              // cut short at the end
      {"\xe2\x82x", R"("\u00e2\u0082x")"},            // cut short by a plain byte
      {"\x80\xbf\xff\xfe", R"("\u0080\u00bf\u00ff\u00fe")"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Direct(C.In), C.Out) << C.In;
    EXPECT_EQ(ViaJsonValue(C.In), C.Out) << C.In;
    // Every position within the eight bytes taken at a time, and texts
    // longer than eight bytes.
    for (size_t k = 1; k <= 9; ++k) {
      const std::string S = std::string(k, 'x') + C.In + std::string(k, 'y') + C.In;
      EXPECT_EQ(Direct(S), ViaJsonValue(S)) << k << ": " << C.In;
    }
  }
}

TEST(JsonTextTest, EveryTextOfOneAndTwoBytesAndRandomTexts) {
  for (int a = 0; a < 256; ++a) {
    std::string S(1, static_cast<char>(a));
    ASSERT_EQ(Direct(S), ViaJsonValue(S)) << a;
    for (int b = 0; b < 256; ++b) {
      S = {static_cast<char>(a), static_cast<char>(b)};
      ASSERT_EQ(Direct(S), ViaJsonValue(S)) << a << " " << b;
    }
  }
  // Texts mixing plain bytes, escapes, lead and continuation bytes.
  std::mt19937 Random(2024);
  const std::string Pieces[] = {"a", "SELECT ", "\"", "\\", "\r\n", "\x01", "\x7f",
                                "\xc3", "\xa9", "\xe2\x82", "\xf0\x9f", "\x98\x80", "\xff"};
  for (int i = 0; i < 20000; ++i) {
    std::string S;
    for (int n = Random() % 12; n > 0; --n) S += Pieces[Random() % std::size(Pieces)];
    ASSERT_EQ(Direct(S), ViaJsonValue(S)) << S;
  }
}

}  // namespace
