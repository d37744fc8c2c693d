// The dialect parsers: their clauses read and written back as exact text,
// their errors, and the stability of what they write.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "dialects/ibparser.h"
#include "dialects/myparser.h"
#include "parser/parsererror.h"

namespace Vexar {
namespace {

// The statement written after parsing Sql, or the message of its error.
std::string Write(TVXSelectParser& P, const std::string& Sql) {
  try {
    P.SetExpression(Sql);
  } catch (const EVXParserError& E) {
    return E.Message();
  }
  return P.GetExpression();
}

std::unique_ptr<TVXIBSelectParser> IBParser(TVXIBSQLServer Server, TVXSQLDialect Dialect) {
  auto P = TVXSelectParser::Create<TVXIBSelectParser>();
  P->SetSQLServer(Server);
  P->IBScanner()->SetSQLDialect(Dialect);
  return P;
}

std::unique_ptr<TVXMySelectParser> MyParser(bool QuoteIdentifiers) {
  auto P = TVXSelectParser::Create<TVXMySelectParser>();
  P->Scanner()->SetQuoteIdentifiers(QuoteIdentifiers);
  return P;
}

TEST(DialectParserTest, FactoriesMakeTheDialectScanner) {
  auto IB = TVXSelectParser::Create<TVXIBSelectParser>();
  ASSERT_NE(dynamic_cast<TVXIBScanner*>(IB->Scanner()), nullptr);
  EXPECT_EQ(IB->Scanner()->Keywords()->Count(), 290);
  auto My = TVXSelectParser::Create<TVXMySelectParser>();
  ASSERT_NE(dynamic_cast<TVXMySQLScanner*>(My->Scanner()), nullptr);
  EXPECT_EQ(My->Scanner()->Keywords()->Count(), 232);
  // And the parser reads with it: backquotes are MySQL's name quotes.
  My->Scanner()->SetQuoteIdentifiers(false);
  EXPECT_EQ(Write(*My, "SELECT `a b` FROM t"), "SELECT \r\n  t.`a b`\r\nFROM\r\n  t\r\n");
}

struct IBCase {
  TVXIBSQLServer Server;
  TVXSQLDialect Dialect;
  const char* Sql;
  std::string Out;  // the statement written back, or the error message
};

const auto IB = qssInterBase;
const auto FB = qssFireBird;
const auto D1 = qibDialect1;
const auto D3 = qibDialect3;

TEST(DialectParserTest, InterBaseStatements) {
  const IBCase Cases[] = {
      {FB, D3, "SELECT FIRST 10 SKIP 20 DISTINCT NAME FROM CUSTOMER",
       "SELECT FIRST 10 SKIP 20 DISTINCT \r\n  CUSTOMER.NAME\r\nFROM\r\n  CUSTOMER\r\n"},
      {FB, D3, "SELECT SKIP 5 NAME FROM CUSTOMER",
       "SELECT SKIP 5 \r\n  CUSTOMER.NAME\r\nFROM\r\n  CUSTOMER\r\n"},
      {FB, D3, "select first 10 * from customer", "SELECT FIRST 10 *\r\nFROM\r\n  CUSTOMER\r\n"},
      // FIRST 0 and ROWS 0 return no row: they stay; SKIP 0 skips nothing.
      {FB, D3, "SELECT FIRST 0 SKIP 0 NAME FROM T",
       "SELECT FIRST 0 \r\n  T.NAME\r\nFROM\r\n  T\r\n"},
      {IB, D3, "SELECT NAME FROM T ROWS 0", "SELECT \r\n  T.NAME\r\nFROM\r\n  T\r\nROWS 0"},
      {IB, D3, "SELECT NAME FROM CUSTOMER ROWS 5 TO 10 PERCENT",
       "SELECT \r\n  CUSTOMER.NAME\r\nFROM\r\n  CUSTOMER\r\nROWS 5 TO 10 PERCENT"},
      {IB, D3, "SELECT NAME FROM CUSTOMER WHERE ID > 1 ORDER BY NAME rows 1 to 9 by 2 with ties",
       "SELECT \r\n  CUSTOMER.NAME\r\nFROM\r\n  CUSTOMER\r\nWHERE\r\n  (ID > 1)\r\nORDER BY\r\n"
       "  NAME\r\nROWS 1 TO 9 BY 2 WITH TIES"},
      // Unquoted names are the server's upper-case names in both dialects;
      // quoted ones keep their case in dialect 3.
      {IB, D3, "select name from customer", "SELECT \r\n  CUSTOMER.NAME\r\nFROM\r\n  CUSTOMER\r\n"},
      {IB, D1, "select name from customer", "SELECT \r\n  CUSTOMER.NAME\r\nFROM\r\n  CUSTOMER\r\n"},
      {IB, D3, R"(SELECT "Name", "DATE", MY$COL FROM "Customer")",
       "SELECT \r\n  \"Customer\".\"Name\",\r\n  \"Customer\".\"DATE\",\r\n"
       "  \"Customer\".MY$COL\r\nFROM\r\n  \"Customer\"\r\n"},
      {IB, D3, R"(SELECT "ABC" FROM T)", "SELECT \r\n  T.ABC\r\nFROM\r\n  T\r\n"},
      {IB, D1, R"(SELECT "ABC" FROM T)", "SELECT \r\n  'ABC' AS FIELD_1\r\nFROM\r\n  T\r\n"},
      {IB, D3, "SELECT NAME AS n FROM T", "SELECT \r\n  T.NAME AS N\r\nFROM\r\n  T\r\n"},
      {IB, D3, R"(SELECT NAME AS "n" FROM T)", "SELECT \r\n  T.NAME AS \"n\"\r\nFROM\r\n  T\r\n"},
      {IB, D3, "SELECT A || B FROM T", "SELECT \r\n  A || B AS FIELD_1\r\nFROM\r\n  T\r\n"},
      // Errors.
      {IB, D3, "SELECT a||b FROM T", "Invalid token 'a||b' at position 8 of line 1."},
      {IB, D3, "SELECT FIRST 10 NAME FROM CUSTOMER",
       "Invalid token 'FIRST' at position 8 of line 1."},
      {FB, D3, "SELECT SKIP 5 FIRST 10 NAME FROM CUSTOMER",
       "Invalid token 'FIRST' at position 15 of line 1."},
      {FB, D3, "SELECT FIRST X NAME FROM CUSTOMER", "Invalid token 'X' at position 14 of line 1."},
      {FB, D3, "SELECT FIRST 'X' NAME FROM CUSTOMER",
       "Invalid token 'X' at position 15 of line 1."},
      {FB, D3, "SELECT NAME FROM CUSTOMER ROWS 5",
       "Invalid token 'ROWS' at position 27 of line 1."},
      {IB, D3, "SELECT NAME FROM CUSTOMER ROWS 5 BY 2 TO 10",
       "Invalid token 'TO' at position 39 of line 1."},
      {IB, D3, "SELECT NAME FROM CUSTOMER ROWS 5 WITH X",
       "Invalid token 'X' at position 39 of line 1."},
      {IB, D3, "SELECT NAME FROM CUSTOMER ROWS", "Unexpected end of statement."},
      {IB, D3, "SELECT NAME FROM CUSTOMER ROWS 5 TO", "Unexpected end of statement."},
      {IB, D3, "SELECT NAME FROM CUSTOMER ROWS 5 ROWS 6",
       "Invalid token 'ROWS' at position 34 of line 1."},
      {IB, D3, "SELECT NAME FROM CUSTOMER ROWS 5 PERCENT X",
       "Invalid token 'X' at position 42 of line 1."},
      // Numbers beyond an int are reported where they stand.
      {FB, D3, "SELECT FIRST 2147483648 NAME FROM T",
       "Invalid token '2147483648' at position 14 of line 1."},
      {FB, D3, "SELECT FIRST 1 SKIP 99999999999999999999 NAME FROM T",
       "Invalid token '99999999999999999999' at position 21 of line 1."},
      {IB, D3, "SELECT NAME FROM T ROWS 4294967297",
       "Invalid token '4294967297' at position 25 of line 1."},
      {IB, D3, "SELECT NAME FROM T\r\nROWS 1 TO 2147483648",
       "Invalid token '2147483648' at position 11 of line 2."},
      {IB, D3, "SELECT NAME FROM T ROWS 1 BY 3000000000",
       "Invalid token '3000000000' at position 30 of line 1."},
      {IB, D3, "SELECT NAME FROM T ROWS 2147483647",
       "SELECT \r\n  T.NAME\r\nFROM\r\n  T\r\nROWS 2147483647"},
  };
  for (const IBCase& C : Cases) {
    auto P = IBParser(C.Server, C.Dialect);
    EXPECT_EQ(Write(*P, C.Sql), C.Out) << C.Sql;
  }
}

TEST(DialectParserTest, InterBaseOptionsAndServerSwitch) {
  auto P = IBParser(FB, D3);
  ASSERT_EQ(Write(*P, "SELECT FIRST 3 SKIP 4 NAME FROM T"),
            "SELECT FIRST 3 SKIP 4 \r\n  T.NAME\r\nFROM\r\n  T\r\n");
  // The server is a setting: switching drops FIRST and SKIP from the text
  // but keeps their values until the next parse empties them.
  P->SetSQLServer(IB);
  EXPECT_EQ(P->GetExpression(), "SELECT \r\n  T.NAME\r\nFROM\r\n  T\r\n");
  EXPECT_EQ(P->FBOptions()->First(), 3);
  EXPECT_EQ(P->FBOptions()->Skip(), 4);
  P->SetSQLServer(FB);
  Write(*P, "SELECT NAME FROM T");
  EXPECT_EQ(P->FBOptions()->First(), 0);
  EXPECT_EQ(P->FBOptions()->Skip(), 0);

  TVXIBOptions Rows;
  Rows.SetRowsTo(10);
  EXPECT_EQ(Rows.GetScript(), "ROWS 0 TO 10");
  Rows.Clear();
  Rows.SetPercent(true);
  Rows.SetWithTies(true);
  EXPECT_EQ(Rows.GetScript(), "");
  Rows.SetRows(7);
  P->SetIBOptions(&Rows);
  EXPECT_EQ(P->IBOptions()->GetScript(), "ROWS 7 PERCENT WITH TIES");
  EXPECT_THROW(P->IBOptions()->Assign(P->FBOptions()), EConvertError);

  TVXFBOptions Head;
  Head.SetSkip(5);
  P->SetFBOptions(&Head);
  EXPECT_EQ(P->FBOptions()->GetScript(), "SKIP 5 ");
  P->Clear();
  EXPECT_EQ(P->FBOptions()->Skip(), 0);
  EXPECT_EQ(P->IBOptions()->Rows(), 0);
  EXPECT_EQ(P->GetExpression(), "");

  // A clause of 0 rows is part of the records, copies included.
  Write(*P, "SELECT FIRST 0 NAME FROM T");
  Head.Assign(P->FBOptions());
  EXPECT_EQ(Head.GetScript(), "FIRST 0 ");
  P->SetSQLServer(IB);
  Write(*P, "SELECT NAME FROM T ROWS 0");
  Rows.Assign(P->IBOptions());
  EXPECT_EQ(Rows.GetScript(), "ROWS 0");
  Head.Clear();
  Rows.Clear();
  EXPECT_EQ(Head.GetScript() + Rows.GetScript(), "");
}

struct MyCase {
  bool Quote;
  const char* Sql;
  std::string Out;  // the statement written back, or the error message
};

TEST(DialectParserTest, MySQLStatements) {
  const MyCase Cases[] = {
      {false, "SELECT STRAIGHT_JOIN DISTINCT name FROM customer LIMIT 10, 20",
       "SELECT STRAIGHT_JOIN DISTINCT \r\n  customer.name\r\nFROM\r\n  customer\r\nLIMIT 10, 20"},
      {true, "SELECT STRAIGHT_JOIN DISTINCT name FROM customer LIMIT 10, 20",
       "SELECT STRAIGHT_JOIN DISTINCT \r\n  `customer`.`name`\r\nFROM\r\n  `customer`\r\n"
       "LIMIT 10, 20"},
      {false, "SELECT DISTINCT HIGH_PRIORITY a FROM t",
       "SELECT HIGH_PRIORITY DISTINCT \r\n  t.a\r\nFROM\r\n  t\r\n"},
      {false, "select high_priority sql_small_result straight_join distinctrow a from t",
       "SELECT STRAIGHT_JOIN SQL_SMALL_RESULT HIGH_PRIORITY DISTINCTROW \r\n  t.a\r\nFROM\r\n"
       "  t\r\n"},
      {false, "SELECT SQL_BIG_RESULT SQL_BUFFER_RESULT ALL a FROM t",
       "SELECT SQL_BIG_RESULT SQL_BUFFER_RESULT ALL \r\n  t.a\r\nFROM\r\n  t\r\n"},
      {false, "SELECT a FROM t LIMIT 5", "SELECT \r\n  t.a\r\nFROM\r\n  t\r\nLIMIT 5"},
      // LIMIT 0 returns no row: it stays; an offset of 0 is no offset.
      {false, "SELECT a FROM t LIMIT 0", "SELECT \r\n  t.a\r\nFROM\r\n  t\r\nLIMIT 0"},
      {false, "SELECT a FROM t LIMIT 0 OFFSET 0", "SELECT \r\n  t.a\r\nFROM\r\n  t\r\nLIMIT 0"},
      {false, "SELECT a FROM t LIMIT 0, 10", "SELECT \r\n  t.a\r\nFROM\r\n  t\r\nLIMIT 10"},
      {false, "SELECT a FROM t LIMIT 10 OFFSET 5;",
       "SELECT \r\n  t.a\r\nFROM\r\n  t\r\nLIMIT 5, 10"},
      {false, "SELECT a FROM t WHERE a > 1 ORDER BY a limit 3",
       "SELECT \r\n  t.a\r\nFROM\r\n  t\r\nWHERE\r\n  (a > 1)\r\nORDER BY\r\n  a\r\nLIMIT 3"},
      {false, R"(SELECT a, "x" FROM t WHERE a = 'it\'s' OR a = 'it''s' OR a = 'C:\\dir')",
       "SELECT \r\n  t.a,\r\n  'x' AS FIELD_1\r\nFROM\r\n  t\r\nWHERE\r\n"
       "  (a = 'it\\'s') OR \r\n  (a = 'it\\'s') OR \r\n  (a = 'C:\\\\dir')\r\n"},
      {false, "SELECT a AS b FROM t", "SELECT \r\n  t.a AS b\r\nFROM\r\n  t\r\n"},
      {false, "SELECT t.a, u.b FROM t LEFT JOIN u ON t.id = u.id RIGHT OUTER JOIN v ON u.id = v.id",
       "SELECT \r\n  t.a,\r\n  u.b\r\nFROM\r\n  t \r\n  LEFT OUTER JOIN u ON (t.id = u.id)  \r\n"
       "  RIGHT OUTER JOIN v ON (u.id = v.id)\r\n"},
      {true, "SELECT a AS b FROM t", "SELECT \r\n  `t`.`a` AS `b`\r\nFROM\r\n  `t`\r\n"},
      {true, "SELECT `my col` FROM `a``b`", "SELECT \r\n  `a``b`.`my col`\r\nFROM\r\n  `a``b`\r\n"},
      // Errors.
      {false, "SELECT HIGH_PRIORITY HIGH_PRIORITY a FROM t",
       "Invalid token 'HIGH_PRIORITY' at position 22 of line 1."},
      {false, "SELECT ALL DISTINCT a FROM t", "Invalid token 'DISTINCT' at position 12 of line 1."},
      {false, "SELECT DISTINCT ALL a FROM t", "Invalid token 'ALL' at position 17 of line 1."},
      {false, "SELECT DISTINCT STRAIGHT_JOIN DISTINCTROW a FROM t",
       "Invalid token 'DISTINCTROW' at position 31 of line 1."},
      {false, "SELECT a FROM t LIMIT x", "Invalid token 'x' at position 23 of line 1."},
      {false, "SELECT a FROM t LIMIT '5'", "Invalid token '5' at position 24 of line 1."},
      {false, "SELECT a FROM t LIMIT 5,", "Unexpected end of statement."},
      {false, "SELECT a FROM t LIMIT 5 OFFSET", "Unexpected end of statement."},
      {false, "SELECT a FROM t LIMIT 10 x", "Invalid token 'x' at position 26 of line 1."},
      {false, "SELECT a FROM t LIMIT 10 OFFSET 5 x", "Invalid token 'x' at position 35 of line 1."},
      {false, "SELECT a FROM t LIMIT 1 LIMIT 2", "Invalid token 'LIMIT' at position 25 of line 1."},
      {false, "SELECT a FROM t LIMIT 2147483648",
       "Invalid token '2147483648' at position 23 of line 1."},
      {false, "SELECT a FROM t LIMIT 1, 99999999999",
       "Invalid token '99999999999' at position 26 of line 1."},
      {false, "SELECT a FROM t LIMIT 5 OFFSET 2147483648",
       "Invalid token '2147483648' at position 32 of line 1."},
      {false, "SELECT a FROM t WHERE a = 'abc\\'", "Unterminated string."},
  };
  for (const MyCase& C : Cases) {
    auto P = MyParser(C.Quote);
    EXPECT_EQ(Write(*P, C.Sql), C.Out) << C.Sql;
  }
}

TEST(DialectParserTest, MySQLFilterIsTheDistinctFlag) {
  auto P = MyParser(false);
  Write(*P, "SELECT DISTINCT a FROM t LIMIT 5");
  EXPECT_TRUE(P->GetDistinct());
  EXPECT_EQ(P->MySQLOptions()->Filter(), myfoDistinct);
  EXPECT_EQ(P->MySQLOptions()->LimitRows(), 5);
  EXPECT_EQ(P->MySQLOptions()->LimitOffset(), 0);

  Write(*P, "SELECT DISTINCTROW SQL_BUFFER_RESULT a FROM t");
  EXPECT_FALSE(P->GetDistinct());
  EXPECT_EQ(P->MySQLOptions()->Filter(), myfoDistinctRow);
  EXPECT_EQ(P->MySQLOptions()->LimitRows(), 0);
  P->SetDistinct(false);
  EXPECT_EQ(P->MySQLOptions()->Filter(), myfoNone);
  P->SetDistinct(true);
  EXPECT_EQ(P->MySQLOptions()->Filter(), myfoDistinct);

  Write(*P, "SELECT SQL_BUFFER_RESULT a FROM t");
  EXPECT_EQ(P->MySQLOptions()->SelectOptions(), TVXMySQLSelectOptions{mysoSQLBufferResult});
  EXPECT_EQ(P->MySQLOptions()->Filter(), myfoNone);

  // A clause of 0 rows is part of the record, copies included.
  Write(*P, "SELECT a FROM t LIMIT 0");
  TVXMySQLOptions Zero;
  Zero.Assign(P->MySQLOptions());
  EXPECT_EQ(Zero.GetLimitScript(), "LIMIT 0");
  Zero.Clear();
  EXPECT_EQ(Zero.GetLimitScript(), "");

  // The texts follow the script format through the parser.
  P->ScriptFormat()->SetKeywordsFormat(qfmLowerCase);
  TVXMySQLOptions Options;
  Options.SetLimitOffset(20);
  Options.SetFilter(myfoAll);
  Options.SetSelectOptions({mysoHighPriority, mysoStraightJoin});
  P->SetMySQLOptions(&Options);
  EXPECT_EQ(P->MySQLOptions()->GetLimitScript(), "limit 20, 0");
  EXPECT_EQ(P->MySQLOptions()->GetFilterScript(), "all ");
  EXPECT_EQ(P->MySQLOptions()->GetOptionsScript(), "straight_join high_priority ");
  EXPECT_EQ(Options.GetOptionsScript(), "STRAIGHT_JOIN HIGH_PRIORITY ");
  EXPECT_EQ(P->MySQLOptions()->Parser(), P.get());
}

// What a dialect writes, it reads back into the same statement.
TEST(DialectParserTest, WrittenStatementsReadBackUnchanged) {
  struct Case {
    std::function<std::unique_ptr<TVXSelectParser>()> Make;
    const char* Sql;
  };
  auto Ib = [](TVXIBSQLServer S, TVXSQLDialect D) {
    return [S, D]() -> std::unique_ptr<TVXSelectParser> { return IBParser(S, D); };
  };
  auto My = [](bool Q) {
    return [Q]() -> std::unique_ptr<TVXSelectParser> { return MyParser(Q); };
  };
  const Case Cases[] = {
      {Ib(IB, D3),
       "SELECT A, COUNT(B) FROM T WHERE A BETWEEN 1 AND 2 GROUP BY A "
       "HAVING COUNT(B) > 1 ROWS 5 TO 6"},
      {My(false),
       "SELECT a, COUNT(b) FROM t WHERE a LIKE 'x%' AND b IS NULL GROUP BY a "
       "HAVING COUNT(b) > 1 LIMIT 2, 3"},
      {Ib(FB, D3),
       "SELECT FIRST 1 SKIP 2 DISTINCT c.name, \"Odd \"\"x\"\"\", 'it''s' AS \"s\" "
       "FROM customer c WHERE c.id > 1 ORDER BY c.name"},
      {Ib(IB, D3), "SELECT \"DATE\", MY$COL, a || 'x' FROM \"my table\" ROWS 1 TO 5 WITH TIES"},
      {Ib(IB, D1), "SELECT name, \"text\" FROM my_table t WHERE t.a = 'x' ROWS 3 PERCENT"},
      // A column read twice under a quoted name gets an alias dialect 1 can read.
      {Ib(IB, D1), "SELECT \"Customer\".\"Name\", \"Customer\".\"Name\" FROM \"Customer\""},
      // In dialect 3 the numbered alias is quoted only where its reading keeps
      // the quotes: DATE1 bare, "Name1" quoted.
      {Ib(IB, D3), "SELECT c.\"DATE\", c.\"DATE\", c.\"Name\", c.\"Name\" FROM customer c"},
      {My(true),
       "SELECT STRAIGHT_JOIN ALL `a``b`, 'C:\\\\dir', \"it's\" AS `my alias` FROM t "
       "WHERE a = 'it\\'s' ORDER BY a DESC LIMIT 3 OFFSET 4"},
      {My(false),
       "SELECT HIGH_PRIORITY DISTINCT a, 'x\\\\y' FROM t JOIN u ON t.id = u.id "
       "LIMIT 7"},
      {My(true), "SELECT t.a FROM t LEFT JOIN u ON t.id = u.id RIGHT JOIN v ON u.k = v.k"},
  };
  for (const Case& C : Cases) {
    auto P = C.Make();
    const std::string First = Write(*P, C.Sql);
    ASSERT_EQ(First.rfind("SELECT ", 0), 0u) << C.Sql << "\n" << First;
    EXPECT_EQ(Write(*P, First), First) << C.Sql;
    EXPECT_EQ(Write(*P, Write(*P, First)), First) << C.Sql;
  }
}

}  // namespace
}  // namespace Vexar
