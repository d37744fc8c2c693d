// The query model built in code and the exact SQL text it writes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "parser/limits.h"
#include "parser/selectparser.h"

namespace Vexar {
namespace {

class ModelTest : public ::testing::Test {
 protected:
  std::unique_ptr<TVXSelectParser> P = TVXSelectParser::Create<TVXSelectParser>();

  void SetUp() override { P->Scanner()->SetQuoteIdentifiers(false); }

  TVXTableDef* Table(const std::string& Name, const std::string& Alias = "") {
    TVXTableDef* T = P->TableDefs()->Add();
    T->SetName(Name);
    if (!Alias.empty()) T->SetAlias(Alias);
    return T;
  }
  TVXFieldDef* Field(TVXTableDef* T, const std::string& Name,
                     TVXFunctionKind Kind = fkIdentifier) {
    TVXFieldDef* F = T->FieldDefs()->Add();
    F->SetName(Name);
    F->SetKind(Kind);
    return F;
  }
  TVXJoinDef* Join(TVXTableDef* T, const std::string& Field, const std::string& Alias,
                   const std::string& JoinField, TVXJoinKind Kind = vxjInnerJoin) {
    TVXJoinDef* J = T->JoinDefs()->Add();
    J->SetFieldName(Field);
    J->SetJoinAlias(Alias);
    J->SetJoinField(JoinField);
    J->SetJoinKind(Kind);
    return J;
  }
  TVXCriterion* Cond(TVXCriterions* List, const std::string& Left, const std::string& Op,
                     std::initializer_list<std::string> Right = {}) {
    TVXCriterion* C = List->Add();
    C->LeftSide()->SetName(Left);
    C->LeftSide()->SetKind(fkIdentifier);
    C->SetOperator(Op);
    for (const std::string& R : Right) {
      TVXFunctionDef* D = C->RightSide()->Add();
      D->SetName(R);
      D->SetKind(fkInteger);
    }
    return C;
  }
};

TEST_F(ModelTest, JoinedAndUnrelatedTablesWriteTheSelectListAndFrom) {
  TVXTableDef* C = Table("CUSTOMER", "C");
  TVXTableDef* O = Table("ORDERS", "O");
  TVXTableDef* Pr = Table("PRODUCT", "P");
  Field(C, "NAME");
  Field(Pr, "TITLE");
  Join(C, "CUST_ID", "O", "CUST_ID");
  (void)O;
  EXPECT_EQ(P->GetExpression(),
            "SELECT \r\n  C.NAME,\r\n  P.TITLE\r\nFROM\r\n  CUSTOMER C \r\n"
            "  INNER JOIN ORDERS O ON (C.CUST_ID = O.CUST_ID),\r\n  PRODUCT P\r\n");
}

TEST_F(ModelTest, WholeStatementInEveryCasingAndQuotingMode) {
  TVXTableDef* C = Table("customer", "c");
  TVXTableDef* O = Table("orders", "o");
  Field(C, "name");
  Field(O, "total");
  Join(C, "id", "o", "cust_id");
  Cond(P->WhereItems(), "o.total", ">", {"100"});
  P->OrderByItems()->Add("c.name");
  const std::string Plain =
      "SELECT \r\n  c.name,\r\n  o.total\r\nFROM\r\n  customer c \r\n"
      "  INNER JOIN orders o ON (c.id = o.cust_id)\r\nWHERE\r\n  (o.total > 100)\r\n"
      "ORDER BY\r\n  c.name\r\n";
  EXPECT_EQ(P->GetExpression(), Plain);

  P->Scanner()->SetQuoteIdentifiers(true);
  EXPECT_EQ(P->GetExpression(),
            "SELECT \r\n  \"c\".\"name\",\r\n  \"o\".\"total\"\r\nFROM\r\n  \"customer\" \"c\" \r\n"
            "  INNER JOIN \"orders\" \"o\" ON (\"c\".\"id\" = \"o\".\"cust_id\")\r\nWHERE\r\n"
            "  (\"o\".\"total\" > 100)\r\nORDER BY\r\n  \"c\".\"name\"\r\n");

  P->Scanner()->SetQuoteIdentifiers(false);
  P->ScriptFormat()->SetKeywordsFormat(qfmLowerCase);
  EXPECT_EQ(P->GetExpression(),
            "select \r\n  c.name,\r\n  o.total\r\nfrom\r\n  customer c \r\n"
            "  inner join orders o on (c.id = o.cust_id)\r\nwhere\r\n  (o.total > 100)\r\n"
            "order by\r\n  c.name\r\n");
  P->ScriptFormat()->SetKeywordsFormat(qfmFirstUpper);
  P->OrderByItems()->SetOrders(0, okDesc);
  std::string Text = P->GetExpression();
  EXPECT_NE(Text.find("Inner Join orders o On ("), std::string::npos) << Text;
  EXPECT_NE(Text.find("Order By\r\n  c.name DESC\r\n"), std::string::npos) << Text;
}

TEST(FormatText, CasingModes) {
  struct Case {
    const char* In;
    TVXFormatMode Mode;
    const char* Out;
  } Cases[] = {
      {"Left Outer", qfmAsIs, "Left Outer"},   {"left outer", qfmUpperCase, "LEFT OUTER"},
      {"LEFT OUTER", qfmLowerCase, "left outer"}, {"LEFT OUTER", qfmFirstUpper, "Left outer"},
      {"NOT BETWEEN", qfmFirstUpper, "Not between"}, {"MY_FUNC", qfmFirstUpper, "My_Func"},
      {"x", qfmFirstUpper, "X"},               {"", qfmUpperCase, ""},
  };
  for (const Case& C : Cases) EXPECT_EQ(FormatText(C.In, C.Mode), C.Out) << C.In;
}

TEST_F(ModelTest, ExpressionNodesRenderByKind) {
  TVXTableDef* O = Table("ORDERS", "O");
  TVXFieldDef* Count = Field(O, "COUNT", fkFunction);
  EXPECT_EQ(Count->TVXFunctionDef::GetScript(), "COUNT()");
  TVXFunctionDef* Star = Count->Arguments()->Add();
  Star->SetName("*");
  EXPECT_EQ(Count->TVXFunctionDef::GetScript(), "COUNT(*)");

  TVXFieldDef* Sum = Field(O, "SUM", fkFunction);
  TVXFunctionDef* Price = Sum->Arguments()->Add();
  Price->SetName("PRICE");
  Price->SetKind(fkIdentifier);
  EXPECT_EQ(Sum->TVXFunctionDef::GetScript(), "SUM(O.PRICE)");

  // Nodes outside any table; strings are written as the dialect quotes them.
  std::unique_ptr<TVXFunctionDef> N(TCollectionItem::Create<TVXFunctionDef>(nullptr));
  N->SetParser(P.get());
  N->SetKind(fkString);
  for (auto [Name, Out] : {std::pair{"abc", "'abc'"}, {"'abc'", "'abc'"}, {"it's", "'it''s'"},
                           {"", "''"}, {"\"q\"", "'q'"}}) {
    N->SetName(Name);
    EXPECT_EQ(N->GetScript(), Out) << Name;
  }
  // A list: no name, several arguments.
  N->Clear();
  for (const char* V : {"1", "2", "3"}) {
    TVXFunctionDef* A = N->Arguments()->Add();
    A->SetName(V);
    A->SetKind(fkInteger);
  }
  EXPECT_EQ(N->GetScript(), "(1, 2, 3)");
}

TEST_F(ModelTest, OutputAliasesAreUniqueAcrossTheSelectList) {
  TVXTableDef* C = Table("C");
  TVXFieldDef* A = Field(C, "NAME");
  TVXFieldDef* B = Field(C, "NAME");
  EXPECT_EQ(A->Alias(), "NAME");
  EXPECT_EQ(B->Alias(), "NAME1");
  EXPECT_EQ(B->GetScript(), "C.NAME AS NAME1");
  B->SetName("NAME");  // the name it has: nothing changes
  EXPECT_EQ(B->Alias(), "NAME1");

  TVXFieldDef* F1 = Field(C, "COUNT", fkFunction);
  TVXFieldDef* F2 = Field(Table("D"), "SUM", fkFunction);
  EXPECT_EQ(F1->Alias(), "FIELD_1");
  EXPECT_EQ(F2->Alias(), "FIELD_2");
  F1->SetKind(fkFunction);
  EXPECT_EQ(F1->Alias(), "FIELD_1");

  // UpdateFieldAliases numbers a field whose name another field uses as alias.
  TVXTableDef* T = Table("T");
  TVXFieldDef* X = Field(T, "X");
  TVXFieldDef* Y = Field(T, "Y");
  Y->SetAlias("X");
  X->SetAlias("X");
  TVXFieldDef* Z = Field(T, "X");
  Z->SetAlias("MINE");
  P->TableDefs()->UpdateFieldAliases();
  EXPECT_EQ(X->Alias(), "X1");
  EXPECT_EQ(Y->Alias(), "X");
  EXPECT_EQ(Z->Alias(), "MINE");  // an alias of its own is never replaced
}

TEST_F(ModelTest, DeletingFieldsAndTablesRenumbersTheSelectList) {
  TVXTableDef* A = Table("A");
  TVXTableDef* B = Table("B");
  TVXFieldDef* A1 = Field(A, "a1");
  TVXFieldDef* B1 = Field(B, "b1");
  TVXFieldDef* A2 = Field(A, "a2");  // third in the SELECT list, second in A
  EXPECT_EQ(A2->OutputIndex(), 2);
  delete A1;
  EXPECT_EQ(B1->OutputIndex(), 0);
  EXPECT_EQ(A2->OutputIndex(), 1);
  EXPECT_EQ(P->GetExpression(), "SELECT \r\n  B.b1,\r\n  A.a2\r\nFROM\r\n  A,\r\n  B\r\n");
  P->TableDefs()->Delete(1);  // B goes with its field
  EXPECT_EQ(A2->OutputIndex(), 0);
  EXPECT_EQ(P->GetExpression(), "SELECT \r\n  A.a2\r\nFROM\r\n  A\r\n");
}

TEST_F(ModelTest, EmptyModelStarAndStoredProcedures) {
  EXPECT_EQ(P->GetExpression(), "");
  P->SetDistinct(true);
  EXPECT_EQ(P->GetExpression(), "");
  TVXTableDef* G = Table("GET_ORDERS", "G");
  G->SetTableType(qttStoredProc);
  for (const char* In : {"CUST", "YEAR"}) {
    TVXFieldDef* F = Field(G, In);
    F->SetParamType(ptInput);
  }
  EXPECT_EQ(P->GetExpression(), "SELECT DISTINCT *\r\nFROM\r\n  GET_ORDERS(:CUST, :YEAR) G\r\n");
  Field(G, "TOTAL");
  EXPECT_EQ(P->GetExpression(),
            "SELECT DISTINCT \r\n  G.TOTAL\r\nFROM\r\n  GET_ORDERS(:CUST, :YEAR) G\r\n");
}

TEST_F(ModelTest, ConditionTextsFollowTheOperatorTable) {
  TVXTableDef* T = Table("T");
  Field(T, "A");
  TVXWhereItems* W = P->WhereItems();
  Cond(W, "PRICE", "BETWEEN", {"10"});                 // one operand: a trailing blank
  Cond(W, "X", "=", {"1", "2"});                        // Count 1: empty relate word
  Cond(W, "D.CLOSED", "IS NULL", {"5"});                // Count 0: operands not written
  Cond(W, "Y", "NO SUCH OP", {"1"});                    // unknown: no operands
  EXPECT_EQ(W->GetScript(),
            "WHERE\r\n  (PRICE BETWEEN 10 ) AND \r\n  (X = 1  ) AND \r\n  (D.CLOSED IS NULL) AND "
            "\r\n  (Y NO SUCH OP)\r\n");
}

TEST_F(ModelTest, NestedGroupsAreNegatedAndIndented) {
  TVXWhereItems* W = P->WhereItems();
  W->SetFilter(cfNone);
  Cond(W, "A.X", "=", {"1"});
  TVXCriterion* Comp = W->Add();
  Comp->SubItems()->SetFilter(cfAny);
  Cond(Comp->SubItems(), "B.Y", ">", {"2"});
  Cond(Comp->SubItems(), "B.Z", "<", {"5"});
  EXPECT_EQ(W->GetScript(),
            "WHERE\r\n  NOT ((A.X = 1) AND \r\n  ((B.Y > 2) OR \r\n  (B.Z < 5)))\r\n");
  Comp->SubItems()->SetFilter(cfNotAll);
  P->ScriptFormat()->SetKeywordsFormat(qfmLowerCase);
  Comp->SubItems()->Items(0)->SetOperator("NOT LIKE");
  EXPECT_EQ(W->GetScript(),
            "where\r\n  not ((A.X = 1) and \r\n  (not ((B.Y not like 2) or \r\n  (B.Z < 5))))\r\n");
}

TEST_F(ModelTest, HavingNeedsAGroupByClause) {
  TVXTableDef* C = Table("C");
  Field(C, "COUNT", fkFunction)->Arguments()->Add()->SetName("*");
  Cond(P->HavingItems(), "COUNT(*)", ">", {"1"});
  EXPECT_EQ(P->GetExpression(), "SELECT \r\n  COUNT(*) AS FIELD_1\r\nFROM\r\n  C\r\n");
  Field(C, "CITY");
  EXPECT_EQ(P->GetExpression(),
            "SELECT \r\n  COUNT(*) AS FIELD_1,\r\n  C.CITY\r\nFROM\r\n  C\r\nGROUP BY\r\n  C.CITY\r\n"
            "HAVING\r\n  (COUNT(*) > 1)\r\n");
}

TEST_F(ModelTest, GroupByIsDerivedAndKeepsExplicitEntries) {
  TVXTableDef* C = Table("CUSTOMER", "C");
  TVXTableDef* O = Table("ORDERS", "O");
  Field(C, "NAME");
  Field(C, "CITY");
  TVXFieldDef* Sum = Field(O, "sum", fkFunction);  // aggregates ignore case
  Sum->Arguments()->Add()->SetName("TOTAL");
  TVXFieldDef* Expr = Field(C, "A + 1", fkExpression);  // mixed, but not grouped
  (void)Expr;
  Field(O, "MAX");  // a column named like an aggregate is a column
  std::string Text = P->GetExpression();
  EXPECT_NE(Text.find("GROUP BY\r\n  C.NAME,\r\n  C.CITY,\r\n  O.MAX\r\n"), std::string::npos)
      << Text;

  // Entries read from a statement that the derivation does not produce stay.
  P->GroupByItems()->Add("C.NAME");
  P->GroupByItems()->Add("O.REGION");
  Text = P->GetExpression();
  EXPECT_NE(Text.find("GROUP BY\r\n  C.NAME,\r\n  C.CITY,\r\n  O.MAX,\r\n  O.REGION\r\n"),
            std::string::npos)
      << Text;
  P->Clear();
  EXPECT_EQ(P->GroupByItems()->ExplicitEntries().Count(), 0);
}

// AddDistinct adds exactly what «IndexOf < 0, then Add» adds, whatever
// happened to the list before: the explicit entries included.
TEST_F(ModelTest, AddDistinctAddsAsALookupThenAdd) {
  Field(Table("T"), "A");
  Field(Table("O"), "SUM", fkFunction);  // mixed: T.A is derived
  using Step = std::function<void(TVXGroupByItems&)>;
  // «A» names the derived entry T.A: a rebuilt list lacks that explicit entry.
  const Step Add = [](TVXGroupByItems& L) { L.Add("A"); };
  const Step Rebuild = [](TVXGroupByItems& L) { L.Rebuild(); };
  const Step DeleteFirst = [](TVXGroupByItems& L) { L.Delete(0); };
  const Step CaseSensitive = [](TVXGroupByItems& L) {
    L.SetCaseSensitive(true);
    L.Clear();
  };
  const struct {
    const char* Name;
    std::vector<Step> Before;
  } Cases[] = {
      {"cleared", {}},
      {"after a repeated Add", {Add, Add}},
      {"after a rebuild", {Add, Rebuild}},
      {"after a deletion", {Add, Add, DeleteFirst}},
      {"comparing by case", {CaseSensitive}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TVXGroupByItems Fast(P.get()), Plain(P.get());
    for (const Step& S : C.Before) {
      S(Fast);
      S(Plain);
    }
    for (const char* S : {"X", "a", "t.a", "y", "x", "Y", "T.A", "z"}) {
      EXPECT_EQ(Fast.AddDistinct(S), Plain.IndexOf(S) < 0) << S;
      if (Plain.IndexOf(S) < 0) Plain.Add(S);
    }
    EXPECT_EQ(Fast.Text(), Plain.Text());
    EXPECT_EQ(Fast.ExplicitEntries().Text(), Plain.ExplicitEntries().Text());
  }
}

// A copy keeps what the original writes: its explicit entries come along,
// and those of the target go.
TEST_F(ModelTest, GroupByCopiesWriteTheSourcesClause) {
  auto Read = [](const char* Sql) {
    auto Q = TVXSelectParser::Create<TVXSelectParser>();
    Q->Scanner()->SetQuoteIdentifiers(false);
    Q->SetExpression(Sql);
    return Q;
  };
  auto Source = Read("SELECT t.a, SUM(t.b) FROM t GROUP BY t.a, t.c");
  auto Target = Read("SELECT t.a, SUM(t.b) FROM t GROUP BY t.a, t.d");
  Target->SetGroupByItems(Source->GroupByItems());
  EXPECT_EQ(Target->GetExpression(), Source->GetExpression());
  EXPECT_EQ(Target->GroupByItems()->ExplicitEntries().Text(), "t.a\r\nt.c\r\n");

  // Entries of any other list are the copy's explicit entries, once each.
  TStringList Names;
  Names.SetCommaText("t.e,T.E,t.a");
  Target->GroupByItems()->Assign(&Names);
  EXPECT_EQ(Target->GroupByItems()->ExplicitEntries().Text(), "t.e\r\nt.a\r\n");
  EXPECT_NE(Target->GetExpression().find("GROUP BY\r\n  t.a,\r\n  t.e\r\n"), std::string::npos)
      << Target->GetExpression();

  // A list assigned to itself stays as it is.
  Target->GroupByItems()->Assign(Target->GroupByItems());
  EXPECT_EQ(Target->GroupByItems()->ExplicitEntries().Count(), 2);
}

TEST_F(ModelTest, OrderByDirectionsAndPositions) {
  Field(Table("C"), "NAME");
  TVXOrderByItems* O = P->OrderByItems();
  O->Add("C.NAME");
  O->AddOrdered("2", okDesc);
  EXPECT_EQ(O->Orders(1), okDesc);
  EXPECT_EQ(O->Orders(9), okAsc);
  O->SetOrders(9, okDesc);  // ignored
  P->Scanner()->SetQuoteIdentifiers(true);
  EXPECT_EQ(O->GetScript(), "ORDER BY\r\n  \"C\".\"NAME\",\r\n  2 DESC\r\n");
  O->Insert(0, "X");
  EXPECT_EQ(O->Orders(0), okAsc);
  EXPECT_EQ(O->Orders(2), okDesc);
  TStringList Plain;
  Plain.Add("Y");
  O->Assign(&Plain);
  EXPECT_EQ(O->Orders(0), okAsc);
}

TEST_F(ModelTest, TablesRenameAndCleanUpTheirJoinsAndSortEntries) {
  TVXTableDef* C = Table("CUSTOMER", "C");
  TVXTableDef* O = Table("ORDERS", "O");
  TVXJoinDef* J = Join(O, "CUST_ID", "C", "ID");
  C->SetAlias("CU");
  EXPECT_EQ(J->JoinAlias(), "CU");
  P->OrderByItems()->Add("CU.NAME");
  P->OrderByItems()->Add("O.DATE");
  delete C;
  EXPECT_EQ(O->JoinDefs()->Count(), 0);
  ASSERT_EQ(P->OrderByItems()->Count(), 1);
  EXPECT_EQ(P->OrderByItems()->Strings(0), "O.DATE");
}

// Lookups by alias and name answer the first table in list order after
// every change: renames, copies, moves and deletions.
TEST_F(ModelTest, TableLookupsFollowRenamesMovesAndDeletions) {
  // Short lists are searched, long ones looked up in maps kept current.
  for (int Fillers : {0, 20}) {
    SCOPED_TRACE(Fillers);
    TVXTableDefs* L = P->TableDefs();
    for (int i = 0; i < Fillers; ++i) Table("F" + std::to_string(i), "G" + std::to_string(i));
    TVXTableDef* A = Table("T", "X");
    TVXTableDef* B = Table("T", "Y");
    EXPECT_EQ(L->FindByAlias("X"), A);
    EXPECT_EQ(L->FindByName("T"), A);
    A->SetAlias("Z");
    EXPECT_EQ(L->FindByAlias("X"), nullptr);
    EXPECT_EQ(L->FindByAlias("Z"), A);
    B->SetIndex(0);
    EXPECT_EQ(L->FindByName("T"), B);
    B->SetName("U");  // the alias Y does not follow the name
    EXPECT_EQ(L->FindByName("T"), A);
    EXPECT_EQ(L->FindByName("U"), B);
    TVXTableDef* C = Table("V");  // the alias follows the name
    EXPECT_EQ(L->FindByAlias("V"), C);
    C->Assign(A);
    EXPECT_EQ(L->FindByAlias("V"), nullptr);
    EXPECT_EQ(L->FindByAlias("Z"), A);
    delete A;
    EXPECT_EQ(L->FindByAlias("Z"), C);
    // A key goes to the earliest table holding it, whichever took it first.
    TVXTableDef* D = Table("W", "K");
    TVXTableDef* E = Table("W2", "K");
    EXPECT_EQ(L->FindByAlias("K"), D);
    E->SetAlias("M");
    D->SetAlias("M");
    EXPECT_EQ(L->FindByAlias("M"), D);
    D->SetAlias("N");
    EXPECT_EQ(L->FindByAlias("M"), E);
    EXPECT_EQ(L->FindByAlias("K"), nullptr);
    L->Clear();
    EXPECT_EQ(L->FindByName("U"), nullptr);
  }
}

// The number of fields of all tables is kept, not counted again for every
// new field: it must follow every way fields and tables come and go.
TEST_F(ModelTest, FieldCountFollowsEveryChange) {
  TVXTableDefs* L = P->TableDefs();
  auto Counted = [&] {
    int N = 0;
    for (int i = 0; i < L->Count(); ++i) N += L->Items(i)->FieldDefs()->Count();
    return N;
  };
  TVXTableDef* A = Table("A");
  TVXTableDef* B = Table("B");
  Field(A, "x");
  Field(B, "y");
  TVXFieldDef* Z = Field(A, "z");
  EXPECT_EQ(Z->OutputIndex(), 2);
  EXPECT_EQ(L->GetFieldCount(), Counted());
  delete Z;
  EXPECT_EQ(L->GetFieldCount(), Counted());
  B->FieldDefs()->Clear();
  EXPECT_EQ(L->GetFieldCount(), Counted());
  Field(B, "w");
  B->Assign(A);  // B's fields replaced by copies of A's
  EXPECT_EQ(L->GetFieldCount(), Counted());
  delete A;
  EXPECT_EQ(L->GetFieldCount(), Counted());
  TVXTableDef* C = Table("C");
  TVXFieldDef* V = Field(C, "v");
  EXPECT_EQ(V->OutputIndex(), Counted() - 1);
  EXPECT_EQ(L->GetFieldCount(), Counted());
  L->Clear();
  EXPECT_EQ(L->GetFieldCount(), 0);
}

// Join graphs beyond trees: every table once, every join once.
TEST_F(ModelTest, FromClauseWritesEveryTableAndJoinOnce) {
  TVXTableDef* A = Table("A");
  TVXTableDef* B = Table("B");
  TVXTableDef* C = Table("C");
  Join(A, "x", "C", "x");
  Join(B, "y", "C", "y", vxjLOuterJoin);  // star: C is joined from A and B
  EXPECT_EQ(P->TableDefs()->GetFromText(),
            "  A \r\n  INNER JOIN C ON (A.x = C.x)  \r\n  RIGHT OUTER JOIN B ON (B.y = C.y)");

  // A cycle (B joins C, C joins B) ends, and two definitions between the same
  // tables share one ON condition.
  Join(C, "z", "B", "z");
  Join(A, "w", "C", "w");
  EXPECT_EQ(P->TableDefs()->GetFromText(),
            "  A \r\n  INNER JOIN C ON (A.x = C.x AND A.w = C.w)  \r\n"
            "  RIGHT OUTER JOIN B ON (B.y = C.y AND C.z = B.z)");
}

TEST_F(ModelTest, FromClauseWritesTablesNoRootReaches) {
  TVXTableDef* A = Table("A");
  TVXTableDef* B = Table("B");
  Table("");  // an unnamed table is never written
  Table("D");
  Join(A, "id", "B", "id", vxjLOuterJoin);
  Join(B, "id", "A", "ref");
  TVXJoinDef* Blank = Join(Table("E"), "id", "D", " ");  // cannot be written
  (void)Blank;
  EXPECT_EQ(P->TableDefs()->GetFromText(),
            "  A \r\n  LEFT OUTER JOIN B ON (A.id = B.id AND B.id = A.ref),\r\n  D,\r\n  E");
}

TEST_F(ModelTest, QuotingOfFileNamesAndIdentifiers) {
  P->Scanner()->SetQuoteIdentifiers(true);
  TVXTableDef* T = Table("customer.DB");
  EXPECT_EQ(T->ProcessName("customer.DB"), "\"customer.DB\"");
  EXPECT_EQ(T->ProcessName("x.db\" OR \"1"), "\"x.db\"\" OR \"\"1\"");
  EXPECT_EQ(T->ProcessName("\"customer.db\""), "\"customer.db\"");  // quoted once only
  std::unique_ptr<TVXFunctionDef> Free(TCollectionItem::Create<TVXFunctionDef>(nullptr));
  EXPECT_EQ(Free->ProcessName("my t"), "my t");  // no parser: unchanged
  EXPECT_EQ(Free->ProcessKeyword("from"), "from");
}

TEST_F(ModelTest, NestingIsBoundedWhereTreesAreBuilt) {
  TVXFieldDef* F = Field(Table("T"), "F", fkFunction);
  TVXFunctionDef* Node = F;
  int Depth = 0;
  EXPECT_THROW(
      {
        for (;; ++Depth) Node = Node->Arguments()->Add();
      },
      EVXNestingError);
  EXPECT_EQ(Depth, MaxNestingDepth - 1);
  EXPECT_FALSE(P->GetExpression().empty());  // still writable

  TVXCriterion* C = P->WhereItems()->Add();
  Depth = 0;
  EXPECT_THROW(
      {
        for (;; ++Depth) C = C->SubItems()->Add();
      },
      EVXNestingError);
  EXPECT_EQ(Depth, MaxNestingDepth - 1);
}

TEST_F(ModelTest, ParserReachesEveryItemAndCopiesKeepObjects) {
  TVXTableDef* T = Table("T");
  TVXFieldDef* F = Field(T, "A");
  EXPECT_EQ(F->Parser(), P.get());
  EXPECT_EQ(F->Arguments()->Add()->Parser(), P.get());
  TVXCriterion* C = P->WhereItems()->Add();
  EXPECT_EQ(C->Operator(), "=");  // the first operator of the table
  EXPECT_EQ(C->LeftSide()->Parser(), P.get());
  // Operand and sub-condition lists, made when first asked for, reach the
  // parser too; a plain condition copied over a composite one leaves it
  // without sub-conditions and with the filter of a new group.
  EXPECT_EQ(C->RightSide()->Add()->Parser(), P.get());
  TVXCriterion* Comp = P->WhereItems()->Add();
  Comp->SubItems()->SetFilter(cfAny);
  EXPECT_EQ(Comp->SubItems()->Add()->Parser(), P.get());
  EXPECT_TRUE(Comp->IsComposite());
  Comp->Assign(P->WhereItems()->Add());
  EXPECT_FALSE(Comp->IsComposite());
  EXPECT_EQ(Comp->SubItems()->Filter(), cfAll);
  Comp->Assign(C);
  EXPECT_EQ(Comp->RightSide()->Count(), 1);
  TVXFieldDef* G = Field(T, "B");
  T->FieldDefs()->SetItems(0, G);
  EXPECT_EQ(T->FieldDefs()->Items(0), F);
  EXPECT_EQ(F->Name(), "B");

  TVXOperators Ops;
  bool Partial = false;
  P->SetOperators(&Ops);  // an empty table
  EXPECT_EQ(P->Operators()->Count(), 0);
  Ops.LoadDefaults();
  P->SetOperators(&Ops);
  struct Case {
    const char* S;
    const char* Caption;
    bool Partial;
  } Cases[] = {{"<", "<>", true}, {"NOT", "NOT LIKE", true}, {"is null", "IS NULL", false}};
  for (const Case& K : Cases) {
    TVXOperator* Op = P->Operators()->FindNearest(K.S, Partial);
    ASSERT_NE(Op, nullptr) << K.S;
    EXPECT_EQ(Op->Caption(), K.Caption);
    EXPECT_EQ(Partial, K.Partial) << K.S;
  }
  EXPECT_EQ(P->Operators()->FindNearest("", Partial), nullptr);
  EXPECT_EQ(GetFilterAsString(cfNotAll), "Not all");
}

// A dialect's factories are the ones that run, though they are virtual.
class TestScanner : public TVXSQLScanner {
 public:
  std::string GetCommaKeywords() const override { return "SELECT,FROM,QUALIFY"; }

 protected:
  friend class TVXScanner;
  TestScanner() = default;
};

class TestParser : public TVXSelectParser {
 protected:
  friend class TVXSelectParser;
  TestParser() = default;
  std::unique_ptr<TVXSQLScanner> CreateScanner() override {
    return TVXScanner::Create<TestScanner>();
  }
  std::string GetCommaAggregates() const override { return "SUM,MEDIAN"; }
};

TEST(ModelConstruction, DerivedFactoriesRun) {
  auto P = TVXSelectParser::Create<TestParser>();
  EXPECT_NE(dynamic_cast<TestScanner*>(P->Scanner()), nullptr);
  EXPECT_TRUE(P->Scanner()->IsKeyword("qualify"));
  EXPECT_GE(P->Aggregates()->IndexOf("MEDIAN"), 0);
}

// Model classes that override how they are written: each wraps the text
// of its base class, so that the statement shows where each one was used.
class TaggedNode : public TVXFunctionDef {
 public:
  std::string GetScript() const override { return "~" + TVXFunctionDef::GetScript() + "~"; }

 protected:
  friend class TCollectionItem;
  TaggedNode() = default;
};

class TaggedField : public TVXFieldDef {
 public:
  std::string GetScript() const override { return "<" + TVXFieldDef::GetScript() + ">"; }

 protected:
  friend class TCollectionItem;
  TaggedField() = default;
  std::unique_ptr<TVXFunctionDefs> CreateArguments() override {
    return std::make_unique<TVXFunctionDefs>(this, &ItemClassOf<TaggedNode>);
  }
};

class TaggedTable : public TVXTableDef {
 protected:
  friend class TCollectionItem;
  TaggedTable() = default;
  std::unique_ptr<TVXFieldDefs> CreateFieldDefs() override {
    return std::make_unique<TVXFieldDefs>(this, &ItemClassOf<TaggedField>);
  }
};

class TaggedCriterion : public TVXCriterion {
 public:
  std::string GetScript() const override { return "{" + TVXCriterion::GetScript() + "}"; }

 protected:
  friend class TCollectionItem;
  TaggedCriterion() = default;
};

class BracketScanner : public TVXSQLScanner {
 public:
  std::string ProcessName(std::string_view S) const override { return "[" + std::string(S) + "]"; }

 protected:
  friend class TVXScanner;
  BracketScanner() = default;
};

class TaggedParser : public TVXSelectParser {
 protected:
  friend class TVXSelectParser;
  TaggedParser() = default;
  std::unique_ptr<TVXSQLScanner> CreateScanner() override {
    return TVXScanner::Create<BracketScanner>();
  }
  std::unique_ptr<TVXTableDefs> CreateTableDefs() override {
    return std::make_unique<TVXTableDefs>(this, &ItemClassOf<TaggedTable>);
  }
  std::unique_ptr<TVXWhereItems> CreateWhereItems() override {
    return std::make_unique<TVXWhereItems>(this, &ItemClassOf<TaggedCriterion>);
  }
};

TEST(ModelConstruction, OverridesOfWritingAreUsed) {
  auto P = TVXSelectParser::Create<TaggedParser>();
  P->SetExpression(
      "SELECT c.NAME, SUM(o.TOTAL) AS T FROM CUSTOMER c INNER JOIN ORDERS o ON (c.ID = o.CUST) "
      "WHERE (o.TOTAL > 10 OR c.NAME LIKE 'A%') AND o.PAID = 1 GROUP BY c.NAME ORDER BY c.NAME");
  // The argument of SUM is a node of the field's own argument class.
  TVXFieldDef* Sum = P->TableDefs()->FindByAlias("o")->FieldDefs()->FindByAlias("T");
  ASSERT_NE(Sum, nullptr);
  ASSERT_EQ(Sum->Arguments()->Count(), 1);
  EXPECT_NE(dynamic_cast<TaggedNode*>(Sum->Arguments()->Items(0)), nullptr);
  // Names written twice (conditions and grouping entries hold written
  // names) come back in two pairs of brackets.
  EXPECT_EQ(P->GetExpression(),
            "SELECT \r\n"
            "  <[c].[NAME]>,\r\n"
            "  <SUM(~[o].[TOTAL]~) AS T>\r\n"
            "FROM\r\n"
            "  [CUSTOMER] [c] \r\n"
            "  INNER JOIN [ORDERS] [o] ON ([c].[ID] = [o].[CUST])\r\n"
            "WHERE\r\n"
            "  ({([[o].[TOTAL]] > 10) OR \r\n"
            "  ([[c].[NAME]] LIKE 'A%')}) AND \r\n"
            "  ({[[o].[PAID]] = 1})\r\n"
            "GROUP BY\r\n"
            "  [[c.NAME]]\r\n"
            "ORDER BY\r\n"
            "  [c.NAME]\r\n");
}

}  // namespace
}  // namespace Vexar
