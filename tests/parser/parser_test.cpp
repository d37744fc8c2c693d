// Reading SELECT statements into the model and writing them back: the
// worked statements, the model they give, exact error reports, and
// statements whose meaning must survive a round trip.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>

#include "parser/selectparser.h"

namespace Vexar {
namespace {

// Lines each ended by CR LF, as the generator writes them.
std::string Lines(std::initializer_list<const char*> L) {
  std::string R;
  for (const char* S : L)
    R += std::string(S) + "\r\n";
  return R;
}

std::unique_ptr<TVXSelectParser> MakeParser(bool Quote = false) {
  auto P = TVXSelectParser::Create<TVXSelectParser>();
  P->Scanner()->SetQuoteIdentifiers(Quote);
  return P;
}

// The text S is written back as; the text must read back to itself.
std::string RoundTrip(const std::string& S, bool Quote = false) {
  auto P = MakeParser(Quote);
  P->SetExpression(S);
  const std::string Text = P->GetExpression();
  auto Again = MakeParser(Quote);
  Again->SetExpression(Text);
  EXPECT_EQ(Again->GetExpression(), Text) << "written from: " << S;
  return Text;
}

struct TErrorReport {
  int Code = 0;
  std::string Message, Token;
  int Line = 0, Column = 0;
};

TErrorReport ErrorOf(const std::string& S) {
  auto P = MakeParser();
  try {
    P->SetExpression(S);
  } catch (const EVXParserError& E) {
    return {E.ErrorCode(), E.Message(), E.Token(), E.LineNo(), E.LinePos()};
  }
  ADD_FAILURE() << "no error for: " << S;
  return {};
}

// ---------------------------------------------------------------------------
// Worked statements

TEST(ParserWorkedExamples, StatementWithJoinConditionAndOrderIsWrittenBackExactly) {
  const std::string S =
      "SELECT c.name, o.total FROM customer c INNER JOIN orders o ON c.id = o.cust_id "
      "WHERE o.total > 100 ORDER BY c.name";
  auto P = MakeParser();
  P->SetExpression(S);
  EXPECT_EQ(P->State(), ssEnd);
  ASSERT_EQ(P->TableDefs()->Count(), 2);
  TVXTableDef* C = P->TableDefs()->Items(0);
  EXPECT_EQ(C->Name(), "customer");
  EXPECT_EQ(C->Alias(), "c");
  ASSERT_EQ(C->JoinDefs()->Count(), 1);
  TVXJoinDef* J = C->JoinDefs()->Items(0);
  EXPECT_EQ(J->FieldName(), "id");
  EXPECT_EQ(J->JoinAlias(), "o");
  EXPECT_EQ(J->JoinField(), "cust_id");
  EXPECT_EQ(J->Comparison(), "=");
  EXPECT_EQ(J->JoinKind(), vxjInnerJoin);
  ASSERT_EQ(P->WhereItems()->Count(), 1);
  TVXCriterion* W = P->WhereItems()->Items(0);
  EXPECT_EQ(W->LeftSide()->Name(), "o.total");
  EXPECT_EQ(W->Operator(), ">");
  EXPECT_EQ(W->RightSide()->Items(0)->Kind(), fkInteger);
  EXPECT_EQ(P->OrderByItems()->Count(), 1);
  EXPECT_EQ(P->OrderByItems()->Orders(0), okAsc);

  EXPECT_EQ(P->GetExpression(), Lines({"SELECT ", "  c.name,", "  o.total", "FROM", "  customer c ",
                                       "  INNER JOIN orders o ON (c.id = o.cust_id)", "WHERE",
                                       "  (o.total > 100)", "ORDER BY", "  c.name"}));
  EXPECT_EQ(
      RoundTrip(S, true),
      Lines({"SELECT ", "  \"c\".\"name\",", "  \"o\".\"total\"", "FROM", "  \"customer\" \"c\" ",
             "  INNER JOIN \"orders\" \"o\" ON (\"c\".\"id\" = \"o\".\"cust_id\")", "WHERE",
             "  (\"o\".\"total\" > 100)", "ORDER BY", "  \"c\".\"name\""}));
}

TEST(ParserWorkedExamples, SelectListPutsFieldsUnderTheirTables) {
  auto P = MakeParser();
  P->SetExpression("SELECT a, t.b AS x, SUM(t.c) AS s, COUNT(*) FROM t");
  ASSERT_EQ(P->TableDefs()->Count(), 2);
  TVXTableDef* D0 = P->TableDefs()->Items(0);
  TVXTableDef* D1 = P->TableDefs()->Items(1);
  EXPECT_EQ(D0->Name(), "");
  ASSERT_EQ(D0->FieldDefs()->Count(), 2);
  EXPECT_EQ(D0->FieldDefs()->Items(0)->Kind(), fkIdentifier);
  EXPECT_EQ(D0->FieldDefs()->Items(1)->Name(), "COUNT");
  EXPECT_EQ(D0->FieldDefs()->Items(1)->Alias(), "FIELD_1");
  EXPECT_EQ(D1->Name(), "t");
  EXPECT_EQ(D1->Alias(), "t");
  ASSERT_EQ(D1->FieldDefs()->Count(), 2);
  EXPECT_EQ(D1->FieldDefs()->Items(0)->Name(), "b");
  EXPECT_EQ(D1->FieldDefs()->Items(0)->Alias(), "x");
  TVXFieldDef* Sum = D1->FieldDefs()->Items(1);
  EXPECT_EQ(Sum->Alias(), "s");
  ASSERT_EQ(Sum->Arguments()->Count(), 1);
  EXPECT_EQ(Sum->Arguments()->Items(0)->Name(), "c");
  EXPECT_EQ(Sum->GetScript(), "SUM(t.c) AS s");
}

TEST(ParserWorkedExamples, OuterJoinIsStoredOnTheTableOfTheOtherSide) {
  auto P = MakeParser();
  P->SetExpression("SELECT * FROM customer c LEFT OUTER JOIN orders o ON (o.cust_id = c.id)");
  ASSERT_EQ(P->TableDefs()->Count(), 2);
  TVXTableDef* C = P->TableDefs()->Items(0);
  ASSERT_EQ(C->JoinDefs()->Count(), 1);
  EXPECT_EQ(C->JoinDefs()->Items(0)->FieldName(), "id");
  EXPECT_EQ(C->JoinDefs()->Items(0)->JoinField(), "cust_id");
  EXPECT_EQ(C->JoinDefs()->Items(0)->JoinKind(), vxjLOuterJoin);
  EXPECT_EQ(P->GetExpression(), Lines({"SELECT *", "FROM", "  customer c ",
                                       "  LEFT OUTER JOIN orders o ON (c.id = o.cust_id)"}));

  // A star extends to every table of the list.
  P->SetExpression("SELECT * FROM a, b");
  ASSERT_EQ(P->TableDefs()->Count(), 2);
  EXPECT_EQ(P->TableDefs()->Items(1)->Name(), "b");
  EXPECT_EQ(P->TableDefs()->Items(1)->Alias(), "b");
  EXPECT_EQ(P->TableDefs()->Items(1)->FieldDefs()->Count(), 1);
  EXPECT_EQ(P->GetExpression(), Lines({"SELECT *", "FROM", "  a,", "  b"}));
}

TEST(ParserWorkedExamples, ConditionsGroupingAndOrdering) {
  auto P = MakeParser();
  P->SetExpression("SELECT * FROM t WHERE (a = 1) OR (b <> 2) GROUP BY t.c ORDER BY t.c DESC, 2");
  TVXWhereItems* W = P->WhereItems();
  EXPECT_EQ(W->Filter(), cfAny);
  ASSERT_EQ(W->Count(), 2);
  EXPECT_EQ(W->Items(0)->LeftSide()->Kind(), fkIdentifier);
  EXPECT_EQ(W->Items(1)->Operator(), "<>");
  EXPECT_EQ(W->Items(1)->RightSide()->Items(0)->Kind(), fkInteger);
  ASSERT_EQ(P->OrderByItems()->Count(), 2);
  EXPECT_EQ(P->OrderByItems()->Strings(0), "t.c");
  EXPECT_EQ(P->OrderByItems()->Orders(0), okDesc);
  EXPECT_EQ(P->OrderByItems()->Strings(1), "2");
  EXPECT_EQ(P->OrderByItems()->Orders(1), okAsc);
  EXPECT_EQ(P->GetExpression(),
            Lines({"SELECT *", "FROM", "  t", "WHERE", "  (a = 1) OR ", "  (b <> 2)", "GROUP BY",
                   "  t.c", "ORDER BY", "  t.c DESC,", "  2"}));
}

// Outputs read into one node each: name, kind, arguments.
TEST(ParserExpressions, OutputsKeepTheirShape) {
  struct TCase {
    const char* Item;
    const char* Name;
    TVXFunctionKind Kind;
    int Arguments;
    const char* Table;  // alias of the table the field ends up under
  } Cases[] = {
      {"a", "a", fkIdentifier, 0, "t"},
      {"t.a", "a", fkIdentifier, 0, "t"},
      {"42", "42", fkInteger, 0, "t"},
      {"1.5", "1.5", fkFloat, 0, "t"},
      {"'x'", "x", fkString, 0, "t"},
      {"-1", "-1", fkInteger, 0, "t"},
      {"SUM(t.c)", "SUM", fkFunction, 1, "t"},
      {"COUNT(*)", "COUNT", fkFunction, 1, "t"},
      {"UPPER(LOWER(a))", "UPPER", fkFunction, 1, "t"},
      {"a+1", "a + 1", fkExpression, 0, "t"},
      {"t.a * 2", "t.a * 2", fkExpression, 0, "t"},
      {"SUM(a) + 1", "SUM(a) + 1", fkExpression, 0, "t"},
      {"-a", "-a", fkExpression, 0, "t"},
      {"(a + b) * 2", "(a + b) * 2", fkExpression, 0, "t"},
      {"a + 'x'", "a + 'x'", fkExpression, 0, "t"},
  };
  for (const TCase& C : Cases) {
    auto P = MakeParser();
    P->SetExpression(std::string("SELECT ") + C.Item + " FROM t");
    TVXFieldDef* F = P->TableDefs()->GetFieldDefs(0);
    ASSERT_NE(F, nullptr) << C.Item;
    EXPECT_EQ(F->Name(), C.Name) << C.Item;
    EXPECT_EQ(F->Kind(), C.Kind) << C.Item;
    EXPECT_EQ(F->Arguments()->Count(), C.Arguments) << C.Item;
    EXPECT_EQ(F->GetTableAlias(), C.Table) << C.Item;
  }
}

// ---------------------------------------------------------------------------
// Statements in, exact text out (each text also reads back to itself)

struct TTextCase {
  const char* Statement;
  std::string Text;
};

void ExpectTexts(std::initializer_list<TTextCase> Cases, bool Quote = false) {
  for (const TTextCase& C : Cases)
    EXPECT_EQ(RoundTrip(C.Statement, Quote), C.Text) << C.Statement;
}

TEST(ParserRoundTrip, ConditionsKeepThePrecedenceOfNotAndOr) {
  ExpectTexts({
      {"SELECT * FROM t WHERE a = 1 OR b = 2 AND c = 3",
       Lines(
           {"SELECT *", "FROM", "  t", "WHERE", "  (a = 1) OR ", "  ((b = 2) AND ", "  (c = 3))"})},
      {"SELECT * FROM t WHERE NOT a = 1 OR b = 2",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (NOT ((a = 1))) OR ", "  (b = 2)"})},
      {"SELECT * FROM t WHERE NOT (a = 1 OR b = 2)",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  NOT ((a = 1) OR ", "  (b = 2))"})},
      {"SELECT * FROM t WHERE a = 1 AND (b = 2 OR NOT c = 3) AND d = 4",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (a = 1) AND ", "  ((b = 2) OR ",
              "  (NOT ((c = 3)))) AND ", "  (d = 4)"})},
      {"SELECT * FROM t WHERE NOT NOT a = 1",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  NOT ((NOT ((a = 1))))"})},
      // Parentheses around a condition only delimit it.
      {"SELECT * FROM t WHERE ((a = 1)) AND (((b = 2)))",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (a = 1) AND ", "  (b = 2)"})},
      // Parentheses that belong to an operand stay with it.
      {"SELECT * FROM t WHERE (a + b) * 2 > 3 OR (c) IS NULL",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  ((a + b) * 2 > 3) OR ", "  ((c) IS NULL)"})},
  });
}

TEST(ParserRoundTrip, ConditionTreesUseTheModelsGroups) {
  auto P = MakeParser();
  P->SetExpression("SELECT * FROM t WHERE a = 1 OR NOT (b = 2 OR c = 3) AND d = 4");
  TVXWhereItems* W = P->WhereItems();
  ASSERT_EQ(W->Count(), 2);
  EXPECT_EQ(W->Filter(), cfAny);
  TVXCriterions* And = W->Items(1)->SubItems();
  EXPECT_EQ(And->Filter(), cfAll);
  ASSERT_EQ(And->Count(), 2);
  TVXCriterions* Not = And->Items(0)->SubItems();
  EXPECT_EQ(Not->Filter(), cfNotAll);
  EXPECT_EQ(Not->Count(), 2);
  EXPECT_EQ(And->Items(1)->Operator(), "=");
}

TEST(ParserRoundTrip, EveryOperatorOfTheTableIsReadInTheGenericDialect) {
  ExpectTexts({
      {"SELECT * FROM t WHERE a LIKE 'x%' AND b NOT LIKE 'y' AND c IS NULL AND d IS NOT NULL",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (a LIKE 'x%') AND ", "  (b NOT LIKE 'y') AND ",
              "  (c IS NULL) AND ", "  (d IS NOT NULL)"})},
      {"SELECT * FROM t WHERE a BETWEEN 1 AND 5 AND b NOT BETWEEN -2 AND c",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (a BETWEEN 1 AND 5) AND ",
              "  (b NOT BETWEEN -2 AND c)"})},
      {"SELECT * FROM t WHERE a IN (1, 2, 3) OR b NOT IN ('x', 'y''z') OR c IN (1)",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (a IN (1, 2, 3)) OR ",
              "  (b NOT IN ('x', 'y''z')) OR ", "  (c IN (1))"})},
      {"SELECT * FROM t WHERE a<=1 AND b <> 2 AND c < -1 AND d >= +2",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (a <= 1) AND ", "  (b <> 2) AND ",
              "  (c < -1) AND ", "  (d >= +2)"})},
      // The generator's own output reads back.
      {"SELECT * FROM t WHERE (a < 5) ORDER BY a",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (a < 5)", "ORDER BY", "  a"})},
      {"SELECT * FROM t WHERE (A IN (1)) AND (B = 2)",
       Lines({"SELECT *", "FROM", "  t", "WHERE", "  (A IN (1)) AND ", "  (B = 2)"})},
  });

  auto P = MakeParser();
  P->SetExpression("SELECT * FROM t WHERE a IN (1, 2, 3)");
  TVXCriterion* C = P->WhereItems()->Items(0);
  EXPECT_EQ(C->Operator(), "IN");
  ASSERT_EQ(C->RightSide()->Count(), 1);
  EXPECT_EQ(C->RightSide()->Items(0)->Name(), "");
  EXPECT_EQ(C->RightSide()->Items(0)->Arguments()->Count(), 3);
}

TEST(ParserRoundTrip, AnOperatorAnApplicationAddsIsRead) {
  auto P = MakeParser();
  P->Operators()->AddOperator("STARTING WITH", 1);
  P->SetExpression("SELECT * FROM t WHERE a STARTING  WITH 'x'");
  ASSERT_EQ(P->WhereItems()->Count(), 1);
  EXPECT_EQ(P->WhereItems()->Items(0)->Operator(), "STARTING WITH");
  EXPECT_EQ(P->WhereItems()->GetScript(), Lines({"WHERE", "  (a STARTING WITH 'x')"}));
}

TEST(ParserRoundTrip, SelectListAndFromClause) {
  ExpectTexts({
      // Aliases without AS; signed values; generated aliases unique.
      {"SELECT -1, -a, a b, COUNT(*), SUM(c) FROM t",
       Lines({"SELECT ", "  -1 AS FIELD_1,", "  -a AS FIELD_2,", "  t.a AS b,",
              "  COUNT(*) AS FIELD_3,", "  SUM(t.c) AS FIELD_4", "FROM", "  t", "GROUP BY",
              "  t.a"})},
      // Columns of one call under different tables keep their qualifiers;
      // an unqualified column stays unqualified.
      {"SELECT UPPER(LOWER(a)), COALESCE(x.a, y.b) FROM x, y",
       Lines({"SELECT ", "  UPPER(LOWER(a)) AS FIELD_1,", "  COALESCE(x.a, y.b) AS FIELD_2", "FROM",
              "  x,", "  y"})},
      // Several comparisons in ON are one JOIN clause; a comparison written
      // from the joined side is turned round.
      {"SELECT a.k FROM a JOIN b ON (a.x = b.y AND a.z = b.w) LEFT JOIN c ON c.v < b.u",
       Lines({"SELECT ", "  a.k", "FROM", "  a ", "  INNER JOIN b ON (a.x = b.y AND a.z = b.w)  ",
              "  LEFT OUTER JOIN c ON (b.u > c.v)"})},
      {"SELECT a.k FROM a JOIN b ON (a.x = b.y) AND (b.w = a.z)",
       Lines({"SELECT ", "  a.k", "FROM", "  a ", "  INNER JOIN b ON (a.x = b.y AND a.z = b.w)"})},
      // Self-joins and procedure aliases.
      {"SELECT * FROM t, t x", Lines({"SELECT *", "FROM", "  t,", "  t x"})},
      {"SELECT e.name, m.name AS boss FROM emp e LEFT JOIN emp m ON e.boss = m.id",
       Lines({"SELECT ", "  e.name,", "  m.name AS boss", "FROM", "  emp e ",
              "  LEFT OUTER JOIN emp m ON (e.boss = m.id)"})},
      {"SELECT G.X FROM GET_ORDERS(:C) G",
       Lines({"SELECT ", "  G.X", "FROM", "  GET_ORDERS(:C) G"})},
      // Values given to a procedure stay values; only named parameters get a colon.
      {"SELECT G.X FROM GET_ORDERS(:C, 2003, 'x', UPPER(b)) G",
       Lines({"SELECT ", "  G.X", "FROM", "  GET_ORDERS(:C, 2003, 'x', UPPER(b)) G"})},
      // Input parameters are no outputs: nothing to group here.
      {"SELECT COUNT(*) FROM GET_ORDERS(:C) G",
       Lines({"SELECT ", "  COUNT(*) AS FIELD_1", "FROM", "  GET_ORDERS(:C) G"})},
      // A qualified star next to other outputs stays qualified.
      {"SELECT o.*, c.name FROM orders o, customers c",
       Lines({"SELECT ", "  o.*,", "  c.name", "FROM", "  orders o,", "  customers c"})},
      {"SELECT DISTINCT a FROM t AS x", Lines({"SELECT DISTINCT ", "  x.a", "FROM", "  t x"})},
      // A column read twice is numbered; the alias a statement gives stays.
      {"SELECT t.b x, t.b, t.b FROM t",
       Lines({"SELECT ", "  t.b AS x,", "  t.b,", "  t.b AS b1", "FROM", "  t"})},
      // Tables keep the order of the FROM clause; an output that is no
      // column is written once.
      {"SELECT u.a, 1, t.b FROM t, u",
       Lines({"SELECT ", "  u.a,", "  1 AS FIELD_1,", "  t.b", "FROM", "  t,", "  u"})},
      // Which of several tables an unqualified column belongs to is the
      // engine's to decide: it is written unqualified, once.
      {"SELECT a, UPPER(b) FROM t JOIN u ON t.id = u.id",
       Lines({"SELECT ", "  a,", "  UPPER(b) AS FIELD_1", "FROM", "  t ",
              "  INNER JOIN u ON (t.id = u.id)"})},
      {"SELECT t.x, a FROM t, u", Lines({"SELECT ", "  t.x,", "  a", "FROM", "  t,", "  u"})},
      // A column named like a function is written qualified and read back.
      {"SELECT SUM, a FROM t ORDER BY t.SUM",
       Lines({"SELECT ", "  t.SUM,", "  t.a", "FROM", "  t", "ORDER BY", "  t.SUM"})},
      {"SELECT t.a, SUM.x, COUNT(*) FROM t",
       Lines({"SELECT ", "  t.a,", "  SUM.x,", "  COUNT(*) AS FIELD_1", "FROM", "  t", "GROUP BY",
              "  t.a,", "  SUM.x"})},
  });

  auto P = MakeParser();
  P->SetExpression("SELECT G.X FROM GET_ORDERS(:C) G");
  ASSERT_EQ(P->TableDefs()->Count(), 1);
  TVXTableDef* G = P->TableDefs()->Items(0);
  EXPECT_EQ(G->TableType(), qttStoredProc);
  EXPECT_EQ(G->FieldDefs()->Count(), 2);
  P->SetExpression("SELECT * FROM t, t x");
  EXPECT_EQ(P->TableDefs()->Count(), 2);
}

TEST(ParserRoundTrip, GroupingAndOrdering) {
  ExpectTexts({
      // Explicit grouping the select list does not produce is kept.
      {"SELECT COUNT(*) FROM t GROUP BY t.a",
       Lines({"SELECT ", "  COUNT(*) AS FIELD_1", "FROM", "  t", "GROUP BY", "  t.a"})},
      {"SELECT o.cid, COUNT(*) AS n FROM o GROUP BY o.cid HAVING COUNT(*) > 1 ORDER BY n DESC",
       Lines({"SELECT ", "  o.cid,", "  COUNT(*) AS n", "FROM", "  o", "GROUP BY", "  o.cid",
              "HAVING", "  (COUNT(*) > 1)", "ORDER BY", "  n DESC"})},
      {"SELECT a FROM t GROUP BY a, a ORDER BY a ASC DESC",
       Lines({"SELECT ", "  t.a", "FROM", "  t", "GROUP BY", "  a", "ORDER BY", "  a DESC"})},
  });
  // With quoting on, names are quoted alike everywhere, positions never.
  ExpectTexts(
      {{"SELECT a + b, t.\"my col\" FROM t WHERE a + b > 1 ORDER BY 2, a DESC",
        Lines({"SELECT ", "  \"a\" + \"b\" AS FIELD_1,", "  \"t\".\"my col\"", "FROM", "  \"t\"",
               "WHERE", "  (\"a\" + \"b\" > 1)", "ORDER BY", "  2,", "  \"a\" DESC"})}},
      true);
}

TEST(ParserRoundTrip, LiteralsAndQuotedNamesKeepTheirValues) {
  ExpectTexts(
      {
          {"SELECT \"my col\" AS \"my alias\", \"t.x\".\"a b\" FROM \"t.x\" "
           "WHERE \"my col\" = '''quoted''' OR b = 'it''s' OR c = ''",
           Lines({"SELECT ", "  \"my col\" AS \"my alias\",", "  \"t.x\".\"a b\"", "FROM",
                  "  \"t.x\"", "WHERE", "  (\"my col\" = '''quoted''') OR ",
                  "  (\"b\" = 'it''s') OR ", "  (\"c\" = '')"})},
          // A grouping entry that names an output in other case is that output.
          {"SELECT o.CUSTomer_id, COUNT(*) AS n FROM orders o GROUP BY o.customer_id",
           Lines({"SELECT ", "  \"o\".\"CUSTomer_id\",", "  COUNT(*) AS n", "FROM",
                  "  \"orders\" \"o\"", "GROUP BY", "  \"o\".\"CUSTomer_id\""})},
          // A column named like an aggregate is grouped like any column.
          {"SELECT a, t.b AS x, SUM AS s, COUNT(*) FROM t",
           Lines({"SELECT ", "  \"a\",", "  \"t\".\"b\" AS x,", "  \"SUM\" AS s,",
                  "  COUNT(*) AS FIELD_1", "FROM", "  \"t\"", "GROUP BY", "  \"a\",",
                  "  \"t\".\"b\",", "  \"SUM\""})},
          // A file-based table is one name, quoted once however often it is read.
          {"SELECT c.id FROM customer.db c",
           Lines({"SELECT ", "  \"c\".\"id\"", "FROM", "  \"customer.db\" \"c\""})},
      },
      true);
  // Quoted names that need no quotes are stored without them (the quoting
  // of the dialect adds them again); a quoted alias, which the generic
  // dialect writes as it is, keeps them.
  auto P = MakeParser(true);
  P->SetExpression("SELECT \"a\" AS \"x\", b \"when\" FROM \"t\"");
  TVXFieldDef* F = P->TableDefs()->GetFieldDefs(0);
  EXPECT_EQ(F->Name(), "a");
  EXPECT_EQ(F->Alias(), "\"x\"");
  EXPECT_EQ(P->TableDefs()->GetFieldDefs(1)->GetScript(), "\"t\".\"b\" AS \"when\"");
  EXPECT_EQ(P->TableDefs()->Items(0)->Name(), "t");
}

// ---------------------------------------------------------------------------
// Errors

TEST(ParserErrors, MessagesCarryTheTokenAndItsTruePosition) {
  struct TCase {
    const char* Statement;
    int Code;
    const char* Message;
    const char* Token;
    int Line, Column;
  } Cases[] = {
      {"SELECT", 2, "Unexpected end of statement.", "", 1, 7},
      {"SELECT a", 2, "Unexpected end of statement.", "", 1, 9},
      {"SELECT a)", 1, "Invalid token ')' at position 9 of line 1.", ")", 1, 9},
      {"SELECT a INTO x FROM t", 1, "Invalid token 'INTO' at position 10 of line 1.", "INTO", 1,
       10},
      {"SELECT a FROM t WHERE", 2, "Unexpected end of statement.", "", 1, 22},
      {"SELECT a FROM t GROUP BY", 2, "Unexpected end of statement.", "", 1, 25},
      {"SELECT a FROM t ORDER BY", 2, "Unexpected end of statement.", "", 1, 25},
      {"SELECT a FROM t GROUP x", 1, "Invalid token 'x' at position 23 of line 1.", "x", 1, 23},
      {"SELECT * FROM t ORDER BY a WHERE a = 1", 1,
       "Invalid token 'WHERE' at position 28 of line 1.", "WHERE", 1, 28},
      {"SELECT *, a FROM t", 1, "Invalid token ',' at position 9 of line 1.", ",", 1, 9},
      {"SELECT t . a FROM t", 1, "Invalid token '.' at position 10 of line 1.", ".", 1, 10},
      {"SELECT SUM(a FROM t", 1, "Invalid token 'FROM' at position 14 of line 1.", "FROM", 1, 14},
      {"SELECT a + * b FROM t", 1, "Invalid token '*' at position 12 of line 1.", "*", 1, 12},
      {"SELECT COUNT(DISTINCT a) FROM t", 1, "Invalid token 'DISTINCT' at position 14 of line 1.",
       "DISTINCT", 1, 14},
      {"SELECT a FROM (SELECT 1)", 1, "Invalid token '(' at position 15 of line 1.", "(", 1, 15},
      {"SELECT a FROM a JOIN b ON a.x = 1", 1, "Invalid token '1' at position 33 of line 1.", "1",
       1, 33},
      {"SELECT a FROM a JOIN b ON a.x = b.y OR a.z = b.w", 1,
       "Invalid token 'OR' at position 37 of line 1.", "OR", 1, 37},
      {"SELECT a FROM t WHERE a = 1 b", 1, "Invalid token 'b' at position 29 of line 1.", "b", 1,
       29},
      {"SELECT a FROM t HAVING COUNT(*) > 1", 1, "Invalid token 'HAVING' at position 17 of line 1.",
       "HAVING", 1, 17},
      // Lines and columns stay true after the reader looked ahead over words.
      {"SELECT a\r\nFROM t\nWHERE\n  b LIKE 'x'\n\n  AND c NOT IN (1)\n  AND d IS NOT\n  x", 1,
       "Invalid token 'x' at position 3 of line 8.", "x", 8, 3},
      {"SELECT a FROM t\r\nWHERE b = 'it''s' AND c = 'abc", 3, "Unterminated string.", "abc", 2,
       28},
      {"SELECT 'abc", 3, "Unterminated string.", "abc", 1, 9},
  };
  for (const TCase& C : Cases) {
    TErrorReport E = ErrorOf(C.Statement);
    EXPECT_EQ(E.Code, C.Code) << C.Statement;
    EXPECT_EQ(E.Message, C.Message) << C.Statement;
    EXPECT_EQ(E.Token, C.Token) << C.Statement;
    EXPECT_EQ(E.Line, C.Line) << C.Statement;
    EXPECT_EQ(E.Column, C.Column) << C.Statement;
  }
}

TEST(ParserErrors, AnErrorEarlierInTheTextIsReportedBeforeAnUnterminatedString) {
  TErrorReport E = ErrorOf("SELECT a b c FROM t WHERE d = 'x");
  EXPECT_EQ(E.Code, 1);
  EXPECT_EQ(E.Token, "c");
}

TEST(ParserErrors, OnParserErrorReceivesEveryErrorAndNothingIsRaised) {
  auto P = MakeParser();
  struct TSeen {
    std::string Message, Token;
    int Line = 0, Column = 0, Calls = 0;
  } Seen;
  P->OnParserError = [&](TVXSelectParser* Sender, const std::string& Message,
                         const std::string& Token, int Line, int Column) {
    EXPECT_EQ(Sender, P.get());
    Seen = {Message, Token, Line, Column, Seen.Calls + 1};
  };
  EXPECT_NO_THROW(P->SetExpression("SELECT a FROM t WHERE b = 'x"));
  EXPECT_EQ(Seen.Calls, 1);
  EXPECT_EQ(Seen.Message, "Unterminated string.");
  EXPECT_EQ(Seen.Token, "x");
  EXPECT_EQ(Seen.Column, 28);
  // What was read before the error stays in the model.
  EXPECT_EQ(P->TableDefs()->Count(), 1);

  EXPECT_NO_THROW(P->SetExpression("SELECT a FROM t\r\nWHERE a = 1 OR"));
  EXPECT_EQ(Seen.Calls, 2);
  EXPECT_EQ(Seen.Message, "Unexpected end of statement.");
  EXPECT_EQ(P->State(), ssError);
}

TEST(ParserErrors, NestingBeyondTheLimitIsAParseError) {
  for (const std::string& Open : {std::string("("), std::string("f("), std::string("NOT ")}) {
    std::string S = "SELECT * FROM t WHERE ";
    for (int i = 0; i < 5000; ++i)
      S += Open;
    S += "a = 1";
    TErrorReport E = ErrorOf(S);
    EXPECT_EQ(E.Code, 1) << Open;
    EXPECT_EQ(E.Line, 1) << Open;
  }
  // Well below the limit everything reads.
  std::string S = "SELECT * FROM t WHERE ";
  for (int i = 0; i < 60; ++i)
    S += "NOT (";
  S += "a = f(f(f(1)))" + std::string(60, ')');
  auto P = MakeParser();
  EXPECT_NO_THROW(P->SetExpression(S));
  EXPECT_EQ(P->State(), ssEnd);
}

TEST(ParserDriver, EmptyTextClearsAndDistinctFollowsEachStatement) {
  auto P = MakeParser();
  P->SetExpression("select distinct a from t");
  EXPECT_TRUE(P->GetDistinct());
  EXPECT_EQ(P->TableDefs()->Count(), 1);
  P->SetExpression(" \r\n ");
  EXPECT_EQ(P->TableDefs()->Count(), 0);
  EXPECT_EQ(P->GetExpression(), "");
  P->SetExpression("SELECT a FROM t; anything after the end");
  EXPECT_FALSE(P->GetDistinct());
  EXPECT_EQ(P->State(), ssEnd);
}

// A parser that reads statement after statement clears the previous model
// each time: whatever one statement left (sort entries naming its tables,
// output aliases and arguments, condition operands) never shows in the next.
TEST(ParserDriver, OneParserReadingStatementsInTurnWritesWhatFreshOnesWrite) {
  const char* Statements[] = {
      "SELECT c.NAME, SUM(o.TOTAL) AS T FROM CUSTOMER c INNER JOIN ORDERS o ON (c.ID = o.CUST) "
      "WHERE UPPER(c.NAME) LIKE 'A%' AND o.TOTAL BETWEEN 1 AND 9 GROUP BY c.NAME "
      "HAVING SUM(o.TOTAL) > 5 ORDER BY c.NAME DESC, 2",
      "SELECT x FROM t",
      "SELECT a.P, b.Q, COALESCE(a.R, b.R, 0) AS R FROM A a LEFT OUTER JOIN B b ON (a.K = b.K) "
      "WHERE (a.P = 1 OR NOT (b.Q IN (1, 2))) ORDER BY b.Q",
      "SELECT COUNT(*) FROM t WHERE t.c IS NULL",
  };
  auto Reused = MakeParser();
  for (int Round = 0; Round < 2; ++Round) {
    for (const char* S : Statements) {
      auto Fresh = MakeParser();
      Fresh->SetExpression(S);
      Reused->SetExpression(S);
      EXPECT_EQ(Reused->GetExpression(), Fresh->GetExpression()) << S;
      EXPECT_EQ(Reused->OrderByItems()->Count(), Fresh->OrderByItems()->Count()) << S;
    }
  }
  Reused->Clear();
  EXPECT_EQ(Reused->TableDefs()->Count(), 0);
  EXPECT_EQ(Reused->WhereItems()->Count(), 0);
  EXPECT_EQ(Reused->OrderByItems()->Count(), 0);
  EXPECT_EQ(Reused->GetExpression(), "");
}

// A clause handler that fails in a way no text should cause.
class FaultyParser : public TVXSelectParser {
 protected:
  friend class TVXSelectParser;
  FaultyParser() = default;
  void DoParseWhereClause() override { throw std::runtime_error("handler fault"); }
};

TEST(ParserDriver, OtherFailuresTakeTheReportingPathToo) {
  auto P = TVXSelectParser::Create<FaultyParser>();
  std::string Reported;
  P->OnParserError = [&](TVXSelectParser*, const std::string& Message, const std::string&, int,
                         int) { Reported = Message; };
  EXPECT_NO_THROW(P->SetExpression("SELECT a FROM t WHERE a = 1"));
  EXPECT_EQ(Reported, "Unknown error (#4).");
  P->OnParserError = nullptr;
  try {
    P->SetExpression("SELECT a FROM t WHERE a = 1");
    FAIL() << "no error raised";
  } catch (const EVXParserError& E) {
    EXPECT_EQ(E.ErrorCode(), 4);
  }
  P->SetExpression("SELECT a FROM t");  // and the parser stays usable
  EXPECT_EQ(P->State(), ssEnd);
}

}  // namespace
}  // namespace Vexar
