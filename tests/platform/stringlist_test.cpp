#include <gtest/gtest.h>

#include "platform/exception.h"
#include "platform/stringlist.h"

namespace Vexar {
namespace {

TEST(StringList, LookupsIgnoreCaseUnlessCaseSensitive) {
  TStringList L;
  L.SetCommaText("Select,FROM,where");
  EXPECT_EQ(L.IndexOf("SELECT"), 0);
  EXPECT_EQ(L.IndexOf("Where"), 2);
  EXPECT_EQ(L.IndexOf("ORDER"), -1);
  L.SetSorted(true);
  EXPECT_EQ(L.CommaText(), "FROM,Select,where");
  EXPECT_EQ(L.IndexOf("WHERE"), 2);
  L.SetCaseSensitive(true);
  EXPECT_EQ(L.IndexOf("WHERE"), -1);
  EXPECT_EQ(L.IndexOf("where"), 2);
}

TEST(StringList, SortedListsKeepOrderAndIgnoreDuplicates) {
  TStringList L;
  L.SetSorted(true);
  EXPECT_EQ(L.Add("MAX"), 0);
  EXPECT_EQ(L.Add("AVG"), 0);
  EXPECT_EQ(L.Add("max"), 1);  // a duplicate: the index of the entry already there
  EXPECT_EQ(L.Count(), 2);
  L.SetDuplicates(dupError);
  EXPECT_THROW(L.Add("Avg"), EListError);
  int Index;
  EXPECT_FALSE(L.Find("COUNT", Index));
  EXPECT_EQ(Index, 1);
}

// A sorted list puts each entry of a comma text in its place, whatever the
// order of the text: at the end, between others or at the front.
TEST(StringList, SortedListsPlaceEveryEntryOfACommaText) {
  struct Case {
    const char* Text;
    TDuplicates Duplicates;
    bool CaseSensitive;
    const char* Sorted;  // null: the text has a duplicate the list refuses
  };
  const Case Cases[] = {
      {"a,b,c", dupIgnore, false, "a,b,c"},
      {"c,b,a", dupIgnore, false, "a,b,c"},
      {"b,d,a,c,e", dupIgnore, false, "a,b,c,d,e"},
      {"a,B,b,A", dupIgnore, false, "a,B"},  // the first of equal texts stays
      {"a,b,B", dupAccept, false, "a,B,b"},  // a later equal text goes before
      {"A_B,AB,A", dupIgnore, false, "A,AB,A_B"},  // '_' after the letters
      {"b,B,a", dupIgnore, true, "B,a,b"},
      {"a,b,B", dupError, false, nullptr},
  };
  for (const Case& C : Cases) {
    TStringList L;
    L.SetSorted(true);
    L.SetDuplicates(C.Duplicates);
    L.SetCaseSensitive(C.CaseSensitive);
    if (!C.Sorted) {
      EXPECT_THROW(L.SetCommaText(C.Text), EListError) << C.Text;
      continue;
    }
    L.SetCommaText(C.Text);
    EXPECT_EQ(L.CommaText(), C.Sorted) << C.Text;
    if (C.Duplicates != dupAccept)
      for (int i = 0; i < L.Count(); ++i) EXPECT_EQ(L.IndexOf(L[i]), i) << C.Text;
  }
}

// Sorting moves only what is out of order and keeps equal entries as they
// stand, also when the list is already in order.
TEST(StringList, SortKeepsTheOrderOfEqualEntries) {
  TStringList L;
  L.SetCommaText("b,B,a,A");
  L.Sort();
  EXPECT_EQ(L.CommaText(), "a,A,b,B");
  L.Sort();
  EXPECT_EQ(L.CommaText(), "a,A,b,B");
  L.SetStrings(0, "c");
  L.Sort();
  EXPECT_EQ(L.CommaText(), "A,b,B,c");
  EXPECT_EQ(L.IndexOf("C"), 3);
}

TEST(StringList, CommaTextRoundTripsQuotedEntries) {
  TStringList L;
  L.SetCommaText(" a , \"b, c\" ,\"say \"\"hi\"\"\",d e");
  ASSERT_EQ(L.Count(), 4);
  EXPECT_EQ(L[0], "a");
  EXPECT_EQ(L[1], "b, c");
  EXPECT_EQ(L[2], "say \"hi\"");
  EXPECT_EQ(L[3], "d e");
  TStringList M;
  M.SetCommaText(L.CommaText());
  EXPECT_EQ(M.CommaText(), L.CommaText());
  L.SetCommaText("");
  EXPECT_EQ(L.Count(), 0);
}

TEST(StringList, AssignCopiesEntriesAndObjects) {
  TStringList A, B;
  TStringList Obj;
  A.AddObject("x", &Obj);
  A.Add("y");
  B.Add("old");
  B.Assign(&A);
  ASSERT_EQ(B.Count(), 2);
  EXPECT_EQ(B.Objects(0), &Obj);
  EXPECT_EQ(B[1], "y");
  EXPECT_THROW(B.Strings(2), EListError);
}

TEST(StringList, TextSplitsEveryKindOfLineBreak) {
  TStringList L;
  L.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(L.CommaText(), "a,b,c,d");
  EXPECT_EQ(L.Text(), "a\r\nb\r\nc\r\nd\r\n");
}

// Long unsorted lists are looked up through a hash table of positions; every
// change of the entries must leave IndexOf answering as a scan would.
TEST(StringList, LookupsInLongListsFollowEveryChange) {
  TStringList L;
  for (int i = 0; i < 100; ++i) L.Add("E" + std::to_string(i));
  EXPECT_EQ(L.IndexOf("e42"), 42);
  L.Add("e42");  // a second equal text: the first one is found
  L.Add("NEW");
  EXPECT_EQ(L.IndexOf("E42"), 42);
  EXPECT_EQ(L.IndexOf("new"), 101);
  L.Insert(0, "FRONT");
  EXPECT_EQ(L.IndexOf("E42"), 43);
  L.Delete(43);
  EXPECT_EQ(L.IndexOf("E42"), 100);  // the later equal text
  L.Exchange(1, 2);
  EXPECT_EQ(L.IndexOf("E0"), 2);
  L.Move(2, 0);
  EXPECT_EQ(L.IndexOf("E0"), 0);
  L.SetStrings(0, "RENAMED");
  EXPECT_EQ(L.IndexOf("E0"), -1);
  EXPECT_EQ(L.IndexOf("renamed"), 0);
  L.SetCaseSensitive(true);
  EXPECT_EQ(L.IndexOf("renamed"), -1);
  EXPECT_EQ(L.IndexOf("e42"), 100);
  L.Clear();
  EXPECT_EQ(L.IndexOf("RENAMED"), -1);
}

}  // namespace
}  // namespace Vexar
