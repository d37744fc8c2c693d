#include <gtest/gtest.h>

#include "platform/fields.h"
#include "platform/format.h"
#include "platform/params.h"
#include "platform/set.h"
#include "platform/strutils.h"

namespace Vexar {
namespace {

TEST(Format, FillsPlaceholdersInOrderAndSurvivesBadFormats) {
  EXPECT_EQ(Format("%s(%s)", "COUNT", "*"), "COUNT(*)");
  EXPECT_EQ(Format("#%d: %s", -5, std::string("x")), "#-5: x");
  EXPECT_EQ(Format("100%% %s"), "100% ");  // missing argument prints nothing
  EXPECT_EQ(Format("%x %d", 3), "%x 3");
  EXPECT_EQ(Format("%s", 42), "42");
  EXPECT_EQ(Format("end %"), "end %");
}

enum Colour { clRed, clGreen, clBlue };

TEST(Set, IncludeExcludeAndCompare) {
  TSet<Colour> S{clRed, clBlue};
  EXPECT_TRUE(S.Contains(clRed));
  EXPECT_FALSE(S.Contains(clGreen));
  S.Exclude(clRed).Include(clGreen);
  EXPECT_EQ(S, (TSet<Colour>{clGreen, clBlue}));
  EXPECT_TRUE(TSet<Colour>{clBlue}.SubsetOf(S));
  EXPECT_TRUE((S - S).Empty());
}

TEST(StrUtils, CaseRulesAreAscii) {
  EXPECT_EQ(UpperCase("select é"), "SELECT é");
  EXPECT_EQ(CompareText("abc", "ABD"), -1);
  EXPECT_TRUE(SameText("Where", "WHERE"));
  int V = 0;
  EXPECT_TRUE(TryStrToInt("2147483647", V));
  EXPECT_EQ(V, 2147483647);
  EXPECT_FALSE(TryStrToInt("2147483648", V));
  EXPECT_FALSE(TryStrToInt("99999999999999999999999999999999999999", V));
  EXPECT_FALSE(TryStrToInt("-1", V));
  EXPECT_FALSE(TryStrToInt("", V));
}

TEST(Params, ValuesDistinguishEmptyNullAndTypes) {
  TParams Ps;
  TParam* P = Ps.CreateParam(ftInteger, "Cust", ptInput);
  EXPECT_TRUE(P->IsEmpty());
  P->Clear();
  EXPECT_TRUE(P->IsNull());
  P->SetValue(int64_t(42));
  TParams Copy;
  Copy.Assign(&Ps);
  TParam* Q = Copy.FindParam("CUST");
  ASSERT_NE(Q, nullptr);
  EXPECT_EQ(Q->ParamType(), ptInput);
  EXPECT_EQ(Q->DataType(), ftInteger);
  EXPECT_EQ(std::get<int64_t>(Q->Value()), 42);
  Q->SetValue(TDateTime{45000.5});
  EXPECT_FALSE(Q->IsNull());
}

TEST(Fields, ColumnNamesAreCaseSensitive) {
  TDataSet D;
  D.Fields().Add("ID", ftInteger);
  D.Fields().Add("Name", ftString, 40);
  EXPECT_EQ(D.Fields().Count(), 2);
  EXPECT_EQ(D.Fields().FindField("Name")->DataType(), ftString);
  EXPECT_EQ(D.Fields().FindField("NAME"), nullptr);
}

}  // namespace
}  // namespace Vexar
