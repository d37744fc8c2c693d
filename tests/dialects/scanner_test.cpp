// The dialect scanners: vocabularies, character classes, quote tables, name
// quoting, and MySQL's escaped strings.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "dialects/ibscanner.h"
#include "dialects/myscanner.h"
#include "parser/parsererror.h"
#include "platform/strutils.h"
#include "tests/scanner_readings.h"

namespace Vexar {

static void PrintTo(TTokenKind K, std::ostream* Os) {
  static const char* const Names[] = {"tkUnknown",     "tkKeyword",   "tkFunction",  "tkDelim",
                                      "tkInteger",     "tkFloat",     "tkString",    "tkQuote",
                                      "tkSpace",       "tkEol",       "tkEnd",       "tkIdent",
                                      "tkIdentString", "tkOperation", "tkComparison"};
  *Os << Names[K];
}

namespace {

struct Tok {
  std::string Text;
  TTokenKind Kind;
  bool operator==(const Tok&) const = default;
};

[[maybe_unused]] void PrintTo(const Tok& T, std::ostream* Os) {
  *Os << "{\"" << T.Text << "\", ";
  Vexar::PrintTo(T.Kind, Os);
  *Os << "}";
}

// Every token of Text up to (not including) the end.
std::vector<Tok> Scan(TVXSQLScanner& S, const std::string& Text) {
  std::vector<Tok> R;
  S.SetExpression(Text);
  for (int Guard = 0; S.TokenKind() != tkEnd && Guard < 1000; ++Guard) {
    R.push_back({S.Token(), S.TokenKind()});
    S.GetNextToken();
  }
  return R;
}

std::unique_ptr<TVXIBScanner> IBScanner(TVXSQLDialect Dialect) {
  auto S = TVXScanner::Create<TVXIBScanner>();
  S->SetSQLDialect(Dialect);
  return S;
}

TEST(DialectScannerTest, VocabulariesAreComplete) {
  auto IB = TVXScanner::Create<TVXIBScanner>();
  EXPECT_EQ(IB->Keywords()->Count(), 290);
  EXPECT_EQ(IB->Functions()->CommaText(), "AVG,CAST,COUNT,GEN_ID,MAX,MIN,SUM,UPPER");
  EXPECT_EQ(IB->Operations()->Count(), 5);
  for (const char* W : {"RDB$DB_KEY", "OPTIONOR", "ROWS", "PERCENT", "TIES", "FIRST", "SKIP",
                        "LIKE", "CONTAINING", "YEARDAY"})
    EXPECT_TRUE(IB->IsKeyword(W)) << W;

  auto My = TVXScanner::Create<TVXMySQLScanner>();
  EXPECT_EQ(My->Keywords()->Count(), 232);
  EXPECT_EQ(My->Functions()->Count(), 136);
  EXPECT_EQ(My->Operations()->CommaText(), "*,+,-,/");
  for (const char* W : {"STRAIGHT_JOIN", "SQL_BUFFER_RESULT", "DISTINCTROW", "LIMIT", "ZEROFILL"})
    EXPECT_TRUE(My->IsKeyword(W)) << W;
  for (const char* W : {"BIT_COUNT", "COALESCE", "MASTER_POS_WAIT", "LEFT", "IF"})
    EXPECT_TRUE(My->IsFunction(W)) << W;
  EXPECT_FALSE(My->IsKeyword("OFFSET"));
}

// The dialects' word lists are written in sorted order, so that loading them
// puts every word at the end of its list.
TEST(DialectScannerTest, VocabulariesAreWrittenInSortedOrder) {
  auto Generic = TVXScanner::Create<TVXSQLScanner>();
  auto IB = TVXScanner::Create<TVXIBScanner>();
  auto My = TVXScanner::Create<TVXMySQLScanner>();
  for (const TVXSQLScanner* S : {Generic.get(), static_cast<TVXSQLScanner*>(IB.get()),
                                 static_cast<TVXSQLScanner*>(My.get())})
    for (const std::string& Text :
         {S->GetCommaKeywords(), S->GetCommaFunctions(), S->GetCommaOperations()}) {
      TStringList Words;
      Words.SetCommaText(Text);
      for (int i = 1; i < Words.Count(); ++i)
        EXPECT_LT(CompareText(Words[i - 1], Words[i]), 0) << Words[i] << " in " << Text;
    }
}

// A scanner's SQL dialect is its own: switching one scanner changes the
// quotes of no other.
TEST(DialectScannerTest, SQLDialectBelongsToOneScanner) {
  auto A = IBScanner(qibDialect3);
  auto B = IBScanner(qibDialect3);
  const std::string Text = R"("x")";
  A->SetSQLDialect(qibDialect1);
  EXPECT_EQ(Scan(*A, Text), (std::vector<Tok>{{"x", tkString}}));
  EXPECT_EQ(Scan(*B, Text), (std::vector<Tok>{{"x", tkIdent}}));
  EXPECT_EQ(Scan(*IBScanner(qibDialect3), Text), (std::vector<Tok>{{"x", tkIdent}}));
  A->SetSQLDialect(qibDialect3);
  B->SetSQLDialect(qibDialect1);
  EXPECT_EQ(Scan(*A, Text), (std::vector<Tok>{{"x", tkIdent}}));
  EXPECT_EQ(Scan(*B, Text), (std::vector<Tok>{{"x", tkString}}));
}

struct ScanCase {
  const char* Name;
  std::function<std::unique_ptr<TVXSQLScanner>()> Make;
  std::string Text;
  std::vector<Tok> Tokens;
};

TEST(DialectScannerTest, TokensPerDialect) {
  auto IB1 = [] { return std::unique_ptr<TVXSQLScanner>(IBScanner(qibDialect1)); };
  auto IB3 = [] { return std::unique_ptr<TVXSQLScanner>(IBScanner(qibDialect3)); };
  auto My = [] { return std::unique_ptr<TVXSQLScanner>(TVXScanner::Create<TVXMySQLScanner>()); };
  const ScanCase Cases[] = {
      {"ib3 quotes",
       IB3,
       R"(SELECT "my col", 'it''s', "ABC" FROM t)",
       {{"SELECT", tkKeyword},
        {"my col", tkIdent},
        {",", tkDelim},
        {"it's", tkString},
        {",", tkDelim},
        {"ABC", tkIdent},
        {"FROM", tkKeyword},
        {"T", tkIdent}}},
      {"ib1 quotes",
       IB1,
       R"(SELECT "ABC", 'x')",
       {{"SELECT", tkKeyword}, {"ABC", tkString}, {",", tkDelim}, {"x", tkString}}},
      // Unquoted names are read in upper case; quoted ones keep their case.
      {"ib3 case",
       IB3,
       R"(select name, MY$COL, "Mixed" from customer)",
       {{"select", tkKeyword},
        {"NAME", tkIdent},
        {",", tkDelim},
        {"MY$COL", tkIdent},
        {",", tkDelim},
        {"Mixed", tkIdent},
        {"from", tkKeyword},
        {"CUSTOMER", tkIdent}}},
      {"ib functions",
       IB3,
       "count(x) upper(y) gen_id(g, 1)",
       {{"count", tkFunction},
        {"(", tkDelim},
        {"X", tkIdent},
        {")", tkDelim},
        {"upper", tkFunction},
        {"(", tkDelim},
        {"Y", tkIdent},
        {")", tkDelim},
        {"gen_id", tkFunction},
        {"(", tkDelim},
        {"G", tkIdent},
        {",", tkDelim},
        {"1", tkInteger},
        {")", tkDelim}}},
      {"ib concat",
       IB3,
       "a || b 'x'||'y' a||b",
       {{"A", tkIdent},
        {"||", tkOperation},
        {"B", tkIdent},
        {"x", tkString},
        {"||", tkOperation},
        {"y", tkString},
        {"a||b", tkUnknown}}},
      {"my quotes",
       My,
       R"(SELECT `my col`, "x", 'y', `a``b`)",
       {{"SELECT", tkKeyword},
        {"my col", tkIdent},
        {",", tkDelim},
        {"x", tkString},
        {",", tkDelim},
        {"y", tkString},
        {",", tkDelim},
        {"a`b", tkIdent}}},
      {"my words",
       My,
       "left(a, 1) LIMIT Offset",
       {{"left", tkFunction},
        {"(", tkDelim},
        {"a", tkIdent},
        {",", tkDelim},
        {"1", tkInteger},
        {")", tkDelim},
        {"LIMIT", tkKeyword},
        {"Offset", tkIdent}}},
  };
  for (const ScanCase& C : Cases) {
    auto S = C.Make();
    EXPECT_EQ(Scan(*S, C.Text), C.Tokens) << C.Name;
  }
}

TEST(DialectScannerTest, InterBaseNames) {
  struct Case {
    TVXSQLDialect Dialect;
    std::string Name, Written;
  };
  const Case Cases[] = {
      {qibDialect3, "CUSTOMER", "CUSTOMER"},
      {qibDialect3, "customer", "\"customer\""},
      {qibDialect3, "DATE", "\"DATE\""},
      {qibDialect3, "TYPE", "\"TYPE\""},
      {qibDialect3, "COUNT", "\"COUNT\""},
      {qibDialect3, "MY TABLE", "\"MY TABLE\""},
      {qibDialect3, "MY$COL", "MY$COL"},
      {qibDialect3, "C.NAME", "C.NAME"},
      {qibDialect3, "c.NAME", "\"c\".NAME"},
      {qibDialect3, "\"DATE\"", "\"DATE\""},
      {qibDialect3, "a\"b", "\"a\"\"b\""},
      {qibDialect1, "customer", "CUSTOMER"},
      {qibDialect1, "my table.my col", "MY_TABLE.MY_COL"},
      {qibDialect1, "DATE", "DATE"},
  };
  for (const Case& C : Cases) {
    auto S = IBScanner(C.Dialect);
    EXPECT_EQ(S->ProcessName(C.Name), C.Written) << C.Name;
  }
  EXPECT_TRUE(IBScanner(qibDialect3)->GetQuoteIdentifiers());
  EXPECT_FALSE(IBScanner(qibDialect1)->GetQuoteIdentifiers());
  EXPECT_TRUE(IBScanner(qibDialect1)->GetProcessAliases());
}

TEST(DialectScannerTest, MySQLNames) {
  auto S = TVXScanner::Create<TVXMySQLScanner>();
  EXPECT_EQ(S->ProcessName("t.a"), "`t`.`a`");
  EXPECT_EQ(S->ProcessName("`t`.a"), "`t`.`a`");
  EXPECT_EQ(S->ProcessName("a`b"), "`a``b`");
  EXPECT_EQ(S->ProcessName("DATE"), "`DATE`");
  EXPECT_TRUE(S->GetProcessAliases());
  S->SetQuoteIdentifiers(false);
  EXPECT_EQ(S->ProcessName("t.a"), "t.a");
  EXPECT_FALSE(S->GetProcessAliases());
}

// String literals as written, their values, and the text they are written
// back as; writing the value and reading it again must give the value.
TEST(DialectScannerTest, MySQLStringsRoundTrip) {
  struct Case {
    std::string Literal, Value, Written;
  };
  const Case Cases[] = {
      {R"('it\'s')", "it's", R"('it\'s')"},
      {R"('it''s')", "it's", R"('it\'s')"},
      {R"('C:\\dir')", R"(C:\dir)", R"('C:\\dir')"},
      {R"('C:\\')", R"(C:\)", R"('C:\\')"},  // two backslashes do not escape the quote
      {R"('a\\\'b')", R"(a\'b)", R"('a\\\'b')"},
      {R"('a''\'')", "a''", R"('a\'\'')"},
      {R"("say \"hi\" or ""so""")", R"(say "hi" or "so")", R"('say "hi" or "so"')"},
      {R"('50\%')", R"(50\%)", R"('50\\%')"},
      {R"('x\ny\0\Z')", std::string("x\ny\0\x1A", 5), R"('x\ny\0\Z')"},
      {"''", "", "''"},
      {R"('\\')", R"(\)", R"('\\')"},
  };
  auto S = TVXScanner::Create<TVXMySQLScanner>();
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Literal);
    EXPECT_EQ(Scan(*S, C.Literal + " x"), (std::vector<Tok>{{C.Value, tkString}, {"x", tkIdent}}))
        << C.Literal;
    const std::string Written = S->QuoteString(C.Value);
    EXPECT_EQ(Written, C.Written) << C.Literal;
    EXPECT_EQ(Scan(*S, Written), (std::vector<Tok>{{C.Value, tkString}})) << C.Literal;
  }
}

// Any value made of the characters that matter to MySQL's escapes is
// written so that it reads back as itself.
TEST(DialectScannerTest, MySQLStringsOfHostileCharactersRoundTrip) {
  const std::string Alphabet("a'\"\\`%_\n\r\0\x1A ", 12);
  std::mt19937 Random(5);
  auto S = TVXScanner::Create<TVXMySQLScanner>();
  for (int Round = 0; Round < 500; ++Round) {
    std::string Value;
    for (int N = Random() % 12; N > 0; --N)
      Value += Alphabet[Random() % Alphabet.size()];
    const std::string Written = S->QuoteString(Value);
    ASSERT_EQ(Scan(*S, Written + " x"), (std::vector<Tok>{{Value, tkString}, {"x", tkIdent}}))
        << Written;
  }
}

TEST(DialectScannerTest, UnterminatedStrings) {
  auto My = TVXScanner::Create<TVXMySQLScanner>();
  for (const char* Text : {R"(SELECT 'abc\')", R"(SELECT 'abc\\\')", "SELECT `a", "SELECT \"a"}) {
    try {
      Scan(*My, Text);
      ADD_FAILURE() << Text << " was read to its end";
    } catch (const EVXParserError& E) {
      EXPECT_EQ(E.ErrorCode(), 3) << Text;
      EXPECT_EQ(E.LinePos(), 9) << Text;
    }
  }
  // A backquoted name has no escapes: the backslash is a character of it.
  EXPECT_EQ(Scan(*My, R"(`a\` b)"), (std::vector<Tok>{{R"(a\)", tkIdent}, {"b", tkIdent}}));
}

}  // namespace
// Derived classes read every token through the general reader, the
// dialects' own classes words and delimiters a shorter way: both must read
// alike, in every SQL dialect and with the dialects' own letters and quotes.
class GeneralIBScanner : public TVXIBScanner {
 protected:
  friend class TVXScanner;
  GeneralIBScanner() = default;
};

class GeneralMySQLScanner : public TVXMySQLScanner {
 protected:
  friend class TVXScanner;
  GeneralMySQLScanner() = default;
};

TEST(DialectScannerTest, ShortAndGeneralReadingsAgree) {
  std::mt19937 Random(23);
  const std::string Alphabet = "aZq09_$.,;:()<=>!+-*/ \t\r\n'\"`\\\x80";
  std::vector<std::string> Texts = {"select Name, sum(x) from Customer c where c.ID >= 1.5;",
                                    "SELECT FIRST 5 SKIP 2 a$b, rdb$db_key FROM t ROWS 1 TO 3",
                                    "select `a b`, 'it\\'s' from t limit 1, 2"};
  for (int i = 0; i < 2000; ++i) {
    std::string T;
    const int Length = static_cast<int>(Random() % 20);
    for (int j = 0; j < Length; ++j) T += Alphabet[Random() % Alphabet.size()];
    Texts.push_back(T);
  }
  for (TVXSQLDialect D : {qibDialect1, qibDialect3}) {
    auto Short = TVXScanner::Create<TVXIBScanner>();
    auto General = TVXScanner::Create<GeneralIBScanner>();
    Short->SetSQLDialect(D);
    General->SetSQLDialect(D);
    for (const std::string& T : Texts) {
      ASSERT_EQ(TokenStates(*Short, T, true), TokenStates(*General, T)) << "dialect " << D << ": " << T;
      const auto OneByOne = TokenList(*General, T, false);
      ASSERT_EQ(TokenList(*Short, T, true), OneByOne) << "dialect " << D << ": " << T;
      ASSERT_EQ(TokenList(*General, T, true), OneByOne) << "dialect " << D << ": " << T;
    }
  }
  auto Short = TVXScanner::Create<TVXMySQLScanner>();
  auto General = TVXScanner::Create<GeneralMySQLScanner>();
  for (const std::string& T : Texts) {
    ASSERT_EQ(TokenStates(*Short, T, true), TokenStates(*General, T)) << "mysql: " << T;
    const auto OneByOne = TokenList(*General, T, false);
    ASSERT_EQ(TokenList(*Short, T, true), OneByOne) << "mysql: " << T;
    ASSERT_EQ(TokenList(*General, T, true), OneByOne) << "mysql: " << T;
  }
}

}  // namespace Vexar
