#include "parser/scanner.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "parser/parsererror.h"
#include "parser/scriptwriter.h"
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

std::unique_ptr<TVXSQLScanner> NewScanner() {
  return TVXScanner::Create<TVXSQLScanner>();
}

// A token as the parser sees it.
struct Tok {
  std::string Text;
  TTokenKind Kind;
  int Spaces;
  bool operator==(const Tok&) const = default;
};

void PrintTo(const Tok& T, std::ostream* Os) {
  *Os << "{\"" << T.Text << "\", ";
  Vexar::PrintTo(T.Kind, Os);
  *Os << ", " << T.Spaces << "}";
}

// A token with where its source text starts.
struct PlacedTok {
  std::string Text;
  TTokenKind Kind;
  int Line;
  int Column;
  bool operator==(const PlacedTok&) const = default;
};

void PrintTo(const PlacedTok& T, std::ostream* Os) {
  *Os << "{\"" << T.Text << "\", ";
  Vexar::PrintTo(T.Kind, Os);
  *Os << ", line " << T.Line << ", col " << T.Column << "}";
}

// Reads Text to its end (tkEnd included) with a bound that catches a scanner
// that stops advancing.
template <class F>
void ForEachToken(TVXSQLScanner& S, const std::string& Text, F Visit) {
  S.SetExpression(Text);
  for (size_t Guard = 0; Guard < Text.size() + 3; ++Guard) {
    Visit(S);
    if (S.TokenKind() == tkEnd)
      return;
    S.GetNextToken();
  }
  ADD_FAILURE() << "no end of text reached for \"" << Text << "\"";
}

std::vector<Tok> Scan(const std::string& Text) {
  auto S = NewScanner();
  std::vector<Tok> R;
  ForEachToken(*S, Text, [&](TVXSQLScanner& S) {
    R.push_back({S.Token(), S.TokenKind(), S.SpaceCount()});
  });
  return R;
}

std::vector<PlacedTok> ScanPlaced(const std::string& Text) {
  auto S = NewScanner();
  std::vector<PlacedTok> R;
  ForEachToken(*S, Text, [&](TVXSQLScanner& S) {
    R.push_back({S.Token(), S.TokenKind(), S.LineNo(), S.TokenColumn()});
  });
  return R;
}

TEST(ScannerTest, WorkedStatement) {
  const std::vector<PlacedTok> Expected = {
      {"SELECT", tkKeyword, 1, 1}, {"t", tkIdent, 1, 8},        {".", tkDelim, 1, 9},
      {"a", tkIdent, 1, 10},       {",", tkDelim, 1, 11},       {"x'y", tkString, 1, 14},
      {"FROM", tkKeyword, 1, 20},  {"t", tkIdent, 1, 25},       {"WHERE", tkKeyword, 1, 27},
      {"n", tkIdent, 1, 33},       {"<=", tkComparison, 1, 35}, {"1.5", tkFloat, 1, 38},
      {"ORDER", tkKeyword, 2, 1},  {"BY", tkKeyword, 2, 7},     {"1", tkInteger, 2, 10},
      {";", tkEnd, 2, 11}};
  const std::string Text = "SELECT t.a, 'x''y' FROM t WHERE n <= 1.5\r\nORDER BY 1;";
  EXPECT_EQ(ScanPlaced(Text), Expected);

  std::vector<int> Spaces;
  for (const Tok& T : Scan(Text))
    Spaces.push_back(T.Spaces);
  EXPECT_EQ(Spaces, (std::vector<int>{0, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));
}

struct KindCase {
  const char* Name;
  std::string Text;
  std::vector<Tok> Tokens;  // up to and including the end
};

TEST(ScannerTest, TokenKindsAndSpaceCount) {
  const Tok End{"", tkEnd, 0};
  const KindCase Cases[] = {
      {"empty", "", {End}},
      {"semicolon ends", "a;b", {{"a", tkIdent, 0}, {";", tkEnd, 0}}},
      {"comparisons",
       "a<=b <> c",
       {{"a", tkIdent, 0},
        {"<=", tkComparison, 0},
        {"b", tkIdent, 0},
        {"<>", tkComparison, 1},
        {"c", tkIdent, 1},
        End}},
      {"split comparison",
       "a < = b",
       {{"a", tkIdent, 0}, {"<", tkComparison, 1}, {"=", tkComparison, 1}, {"b", tkIdent, 1}, End}},
      {"float at end",
       "x=1.5",
       {{"x", tkIdent, 0}, {"=", tkComparison, 0}, {"1.5", tkFloat, 0}, End}},
      {"float before delimiter",
       "(2.25)",
       {{"(", tkDelim, 0}, {"2.25", tkFloat, 0}, {")", tkDelim, 0}, End}},
      {"number then field",
       "1.field",
       {{"1", tkInteger, 0}, {".", tkDelim, 0}, {"field", tkIdent, 0}, End}},
      {"two points",
       "1.2.3",
       {{"1", tkInteger, 0},
        {".", tkDelim, 0},
        {"2", tkInteger, 0},
        {".", tkDelim, 0},
        {"3", tkInteger, 0},
        End}},
      {"spaced qualifier", "t . a", {{"t", tkIdent, 0}, {".", tkDelim, 1}, {"a", tkIdent, 1}, End}},
      {"tab and blanks", "a \t b", {{"a", tkIdent, 0}, {"b", tkIdent, 3}, End}},
      {"function and operations",
       "COUNT(*)+x/2",
       {{"COUNT", tkFunction, 0},
        {"(", tkDelim, 0},
        {"*", tkOperation, 0},
        {")", tkDelim, 0},
        {"+", tkOperation, 0},
        {"x", tkIdent, 0},
        {"/", tkOperation, 0},
        {"2", tkInteger, 0},
        End}},
      {"comment markers are operations",
       "-- /*",
       {{"-", tkOperation, 0},
        {"-", tkOperation, 0},
        {"/", tkOperation, 1},
        {"*", tkOperation, 0},
        End}},
      {"words are case-insensitive",
       "select Count",
       {{"select", tkKeyword, 0}, {"Count", tkFunction, 1}, End}},
      {"string literal", "'x'", {{"x", tkString, 0}, End}},
      {"quoted identifier", "\"x\"", {{"x", tkIdent, 0}, End}},
      {"quoted keyword is a name", "\"FROM\"", {{"FROM", tkIdent, 0}, End}},
      {"empty string", "'' x", {{"", tkString, 0}, {"x", tkIdent, 1}, End}},
      {"empty string at end", "''", {{"", tkString, 0}, End}},
      {"doubled quote", "'it''s'", {{"it's", tkString, 0}, End}},
      {"only a quote", "''''", {{"'", tkString, 0}, End}},
      {"doubled identifier quote", "\"a\"\"b\"", {{"a\"b", tkIdent, 0}, End}},
      {"other quote inside", "'a\"b' \"c'd\"", {{"a\"b", tkString, 0}, {"c'd", tkIdent, 0}, End}},
      {"quoted text after blanks", "a  'b'", {{"a", tkIdent, 0}, {"b", tkString, 0}, End}},
      {"word after quoted text", "'b'  c", {{"b", tkString, 0}, {"c", tkIdent, 2}, End}},
      {"quoted semicolon is text",
       "sep = ';'",
       {{"sep", tkIdent, 0}, {"=", tkComparison, 1}, {";", tkString, 0}, End}},
      {"quoted operation is text", "'+'", {{"+", tkString, 0}, End}},
      {"quote ends a word", "ab'c'", {{"ab", tkIdent, 0}, {"c", tkString, 0}, End}},
      {"not identifiers",
       "_x a$b 1e5",
       {{"_x", tkUnknown, 0}, {"a$b", tkUnknown, 1}, {"1e5", tkUnknown, 1}, End}},
      {"high and NUL bytes are word characters",
       std::string("a\xE9 b\0c", 6),
       {{"a\xE9", tkUnknown, 0}, {std::string("b\0c", 3), tkUnknown, 1}, End}},
      {"lone carriage return is a delimiter",
       "a\rb",
       {{"a", tkIdent, 0}, {"\r", tkDelim, 0}, {"b", tkIdent, 0}, End}},
      {"line breaks count as spaces", "a\r\n\nb", {{"a", tkIdent, 0}, {"b", tkIdent, 2}, End}},
      {"LF ends a word and a number",
       "SELECT\na\n1.5\n",
       {{"SELECT", tkKeyword, 0}, {"a", tkIdent, 1}, {"1.5", tkFloat, 1}, {"", tkEnd, 1}}},
  };
  for (const KindCase& C : Cases)
    EXPECT_EQ(Scan(C.Text), C.Tokens) << C.Name;
}

TEST(ScannerTest, LinesAndColumns) {
  const struct {
    const char* Name;
    std::string Text;
    std::vector<PlacedTok> Tokens;
  } Cases[] = {
      {"LF",
       "a\nbc d",
       {{"a", tkIdent, 1, 1}, {"bc", tkIdent, 2, 1}, {"d", tkIdent, 2, 4}, {"", tkEnd, 2, 5}}},
      {"CR LF", "a\r\n  b", {{"a", tkIdent, 1, 1}, {"b", tkIdent, 2, 3}, {"", tkEnd, 2, 4}}},
      {"blank lines",
       "a\n\r\n\n\tb",
       {{"a", tkIdent, 1, 1}, {"b", tkIdent, 4, 2}, {"", tkEnd, 4, 3}}},
      // Quoted text is placed by its source characters, escapes included.
      {"escaped quotes",
       "'it''s' x",
       {{"it's", tkString, 1, 2}, {"x", tkIdent, 1, 9}, {"", tkEnd, 1, 10}}},
      // A line break inside quoted text is still a line break of the text;
      // the token's column is then that of its part on its last line.
      {"line break in quotes",
       "a 'x\r\ny' b",
       {{"a", tkIdent, 1, 1}, {"x\r\ny", tkString, 2, 1}, {"b", tkIdent, 2, 4}, {"", tkEnd, 2, 5}}},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(ScanPlaced(C.Text), C.Tokens) << C.Name;
}

int LevelAtEnd(const std::string& Text) {
  auto S = NewScanner();
  S->SetExpression(Text);
  while (S->TokenKind() != tkEnd)
    S->GetNextToken();
  S->GetNextToken();  // the end read again leaves the level alone
  return S->Level();
}

TEST(ScannerTest, NestingLevel) {
  EXPECT_EQ(LevelAtEnd("((a)"), 1);
  EXPECT_EQ(LevelAtEnd("a)"), -1);
  EXPECT_EQ(LevelAtEnd("f("), 1);
  EXPECT_EQ(LevelAtEnd("'(' \"((\" x"), 0);

  auto S = NewScanner();
  S->SetExpression("f(a, (b))");
  std::vector<int> Levels;
  while (S->TokenKind() != tkEnd) {
    Levels.push_back(S->Level());
    S->GetNextToken();
  }
  EXPECT_EQ(Levels, (std::vector<int>{0, 1, 1, 1, 2, 2, 1, 0}));
}

struct Failure {
  int Code;
  std::string Token;
  int Line;
  int Column;
  bool operator==(const Failure&) const = default;
};

void PrintTo(const Failure& F, std::ostream* Os) {
  *Os << "{code " << F.Code << ", \"" << F.Token << "\", line " << F.Line << ", col " << F.Column
      << "}";
}

// The error that reading Text to its end raises, if any.
std::optional<Failure> ScanError(TVXSQLScanner& S, const std::string& Text) {
  try {
    ForEachToken(S, Text, [](TVXSQLScanner&) {});
  } catch (const EVXParserError& E) {
    return Failure{E.ErrorCode(), E.Token(), E.LineNo(), E.LinePos()};
  }
  return std::nullopt;
}

TEST(ScannerTest, UnterminatedQuotedText) {
  const struct {
    std::string Text;
    Failure Expected;
  } Cases[] = {
      {"'abc", {3, "abc", 1, 2}},
      {"SELECT 'abc", {3, "abc", 1, 9}},
      {"a = '", {3, "", 1, 6}},
      {"a\r\n  'it''s", {3, "it's", 2, 4}},
      {"x \"na\"\"me", {3, "na\"me", 1, 4}},
      {"'a''", {3, "a'", 1, 2}},  // the last quote is the second of a pair
      {"'x\ny", {3, "x\ny", 1, 2}},
      {"';", {3, ";", 1, 2}},
  };
  for (const auto& C : Cases) {
    auto S = NewScanner();
    EXPECT_EQ(ScanError(*S, C.Text), C.Expected) << C.Text;
    // Reading on raises the same error again.
    try {
      S->GetNextToken();
      ADD_FAILURE() << "no second error for " << C.Text;
    } catch (const EVXParserError& E) {
      EXPECT_EQ((Failure{E.ErrorCode(), E.Token(), E.LineNo(), E.LinePos()}), C.Expected);
      EXPECT_STREQ(E.what(), "Unterminated string.");
    }
  }
}

TEST(ScannerTest, ProcessNameQuotesEveryPart) {
  const struct {
    std::string Name, Quoted;
  } Cases[] = {
      {"a", "\"a\""},
      {"t.a", "\"t\".\"a\""},
      {"s.t.f", "\"s.t\".\"f\""},
      {"\"my t\".f", "\"my t\".\"f\""},
      {"\"a\"", "\"a\""},
      {"\"a.b\"", "\"a.b\""},
      {"a.\"b\"", "\"a\".\"b\""},
      {"\"x\".y.z", "\"x\".\"y\".\"z\""},
      {"\"a\"\".b\".c", "\"a\"\".b\".\"c\""},
      {"a\"b", "\"a\"\"b\""},
      // Starts and ends with a quote but is not one quoted name.
      {"\"a\" OR \"b\"", "\"\"\"a\"\" OR \"\"b\"\"\""},
      {"\"open", "\"\"\"open\""},
      {"'x'", "\"'x'\""},
  };
  auto S = NewScanner();
  for (const auto& C : Cases)
    EXPECT_EQ(S->ProcessName(C.Name), C.Quoted) << C.Name;
  S->SetQuoteIdentifiers(false);
  for (const auto& C : Cases)
    EXPECT_EQ(S->ProcessName(C.Name), C.Name);
}

TEST(ScannerTest, QuotedTextRoundTrips) {
  auto S = NewScanner();
  const std::string Values[] = {"",
                                "it's",
                                "''",
                                "'",
                                "a'b'c",
                                "\"",
                                "He said \"hi\"",
                                "x\r\ny",
                                ";",
                                "--",
                                std::string("\0\xFF", 2)};
  for (const std::string& V : Values) {
    const std::string Literal = S->QuoteString(V);
    S->SetExpression(Literal + " x");
    EXPECT_EQ(S->Token(), V) << Literal;
    EXPECT_EQ(S->TokenKind(), tkString) << Literal;
    EXPECT_TRUE(S->TokenQuoted());
    EXPECT_EQ(S->UnquoteText(Literal.substr(1, Literal.size() - 2), '\''), V);
    EXPECT_EQ(S->GetNextToken(), "x") << Literal;

    const std::string Ident = S->QuoteIdent(V);
    S->SetExpression(Ident);
    EXPECT_EQ(S->Token(), V) << Ident;
    EXPECT_EQ(S->TokenKind(), tkIdent) << Ident;
    EXPECT_FALSE(S->NeedQuotes(Ident)) << Ident;
  }
  EXPECT_EQ(S->QuoteString("it's"), "'it''s'");
  EXPECT_EQ(S->QuoteIdent("a\"b"), "\"a\"\"b\"");
}

TEST(ScannerTest, PeekLeavesTheStateAlone) {
  auto S = NewScanner();
  S->SetExpression("a\r\n  ( b");
  auto State = [&] {
    return std::make_tuple(S->Token(), S->TokenKind(), S->Position(), S->Level(), S->LineNo(),
                           S->LinePos(), S->SpaceCount(), S->InQuote());
  };
  const auto Before = State();
  EXPECT_EQ(S->GetTokenPlus(), "(");
  EXPECT_EQ(State(), Before);
  EXPECT_EQ(S->GetNextToken(), "(");
  EXPECT_EQ(S->Level(), 1);
  EXPECT_EQ(S->SpaceCount(), 3);

  // A peek after a token read as a view puts that token back as Token().
  S->SetExpression("a b c");
  EXPECT_EQ(S->ReadTokenView(), "b");
  EXPECT_EQ(S->GetTokenPlus(), "c");
  EXPECT_EQ(S->Token(), "b");
  EXPECT_EQ(S->ReadTokenView(), "c");

  S->SetExpression("a 'b");
  const auto Quoted = State();
  EXPECT_THROW(S->GetTokenPlus(), EVXParserError);
  EXPECT_EQ(State(), Quoted);
}

TEST(ScannerTest, SteppingBackKeepsLevelAndPlace) {
  auto S = NewScanner();
  // Step back over a «)» that belongs to the caller: it reads again with the
  // same level, line and column.
  S->SetExpression("f(\r\n  (a)\r\n) b");
  while (S->Token() != ")")
    S->GetNextToken();
  EXPECT_EQ(S->Level(), 1);
  S->SetPosition(S->Position() - 1);
  EXPECT_EQ(S->Level(), 2);
  EXPECT_EQ(S->TokenKind(), tkUnknown);
  EXPECT_EQ(S->GetNextToken(), ")");
  EXPECT_EQ(S->Level(), 1);
  EXPECT_EQ(S->LineNo(), 2);
  EXPECT_EQ(S->TokenColumn(), 5);
  S->GetNextToken();
  EXPECT_EQ(S->Level(), 0);
  EXPECT_EQ(S->GetNextToken(), "b");
  EXPECT_EQ(S->LineNo(), 3);
  EXPECT_EQ(S->TokenColumn(), 3);

  // Step back over words across a line break.
  S->SetExpression("x = 1\r\n  NOT y");
  while (S->Token() != "NOT")
    S->GetNextToken();
  S->SetPosition(S->Position() - 3);
  EXPECT_EQ(S->LineNo(), 2);
  EXPECT_EQ(S->LinePos(), 3);
  S->SetPosition(5);  // before the «1»: back over the line break
  EXPECT_EQ(S->LineNo(), 1);
  EXPECT_EQ(S->LinePos(), 5);
  EXPECT_EQ(S->GetNextToken(), "1");
  S->SetPosition(13);  // forward over it again
  EXPECT_EQ(S->LineNo(), 2);
  EXPECT_EQ(S->GetNextToken(), "y");
  EXPECT_EQ(S->TokenColumn(), 7);

  // Back to the start of text that opens with quoted text.
  S->SetExpression("\"a\" = (1)");
  while (S->TokenKind() != tkEnd)
    S->GetNextToken();
  S->SetPosition(1);
  EXPECT_EQ(S->Level(), 0);
  EXPECT_EQ(S->GetNextToken(), "a");
  EXPECT_EQ(S->TokenKind(), tkIdent);
  EXPECT_EQ(S->GetNextToken(), "=");

  // Positions are limited to the text and just past its end.
  S->SetPosition(100);
  EXPECT_EQ(S->Position(), 10);
  EXPECT_EQ(S->TokenKind(), tkEnd);
  EXPECT_EQ(S->GetNextToken(), "");
  S->SetPosition(-4);
  EXPECT_EQ(S->Position(), 1);
  EXPECT_EQ(S->GetNextToken(), "a");
}

// A dialect that changes its vocabulary only through GetComma*.
class WordyScanner : public TVXSQLScanner {
 public:
  std::string GetCommaKeywords() const override { return "select,from,like,count"; }
  std::string GetCommaOperations() const override { return "+,-,*,/,DIV"; }

 protected:
  friend class TVXScanner;
  WordyScanner() = default;
};

TEST(ScannerTest, DialectWordListsAreLoaded) {
  auto S = TVXScanner::Create<WordyScanner>();
  std::vector<Tok> R;
  ForEachToken(*S, "Like count a div b where", [&](TVXSQLScanner& S) {
    R.push_back({S.Token(), S.TokenKind(), S.SpaceCount()});
  });
  EXPECT_EQ(R, (std::vector<Tok>{{"Like", tkKeyword, 0},
                                 {"count", tkFunction, 1},  // functions come first
                                 {"a", tkIdent, 1},
                                 {"div", tkOperation, 1},
                                 {"b", tkIdent, 1},
                                 {"where", tkIdent, 1},
                                 {"", tkEnd, 0}}));
}

// Character classes of a class derived from the generic scanner are its
// own: the generic scanner's answers are not taken for them.
class HashScanner : public TVXSQLScanner {
 public:
  bool IsDelim(char C) const override { return C == '#' || TVXSQLScanner::IsDelim(C); }
  bool ShouldLevelUp(char C) const override { return C == '['; }

 protected:
  friend class TVXScanner;
  HashScanner() = default;
};

TEST(ScannerTest, DerivedCharacterClassesAreAsked) {
  auto S = TVXScanner::Create<HashScanner>();
  std::vector<std::pair<std::string, int>> R;
  ForEachToken(*S, "a#b[(", [&](TVXSQLScanner& S) { R.push_back({S.Token(), S.Level()}); });
  EXPECT_EQ(R, (std::vector<std::pair<std::string, int>>{
                   {"a", 0}, {"#", 0}, {"b", 0}, {"[", 1}, {"(", 1}, {"", 1}}));
  EXPECT_EQ(Scan("a#b")[0].Text, "a#b");  // the generic scanner is unchanged
}

// Every scanner has word lists of its own.
TEST(ScannerTest, WordListsBelongToOneScanner) {
  auto A = NewScanner();
  auto B = NewScanner();
  A->Keywords()->Add("QUALIFY");
  A->Functions()->Delete(A->Functions()->IndexOf("SUM"));
  A->Operations()->Add("||");
  EXPECT_TRUE(A->IsKeyword("qualify"));
  EXPECT_FALSE(A->IsFunction("SUM"));
  EXPECT_TRUE(A->IsOperation("||"));
  auto C = NewScanner();
  for (TVXSQLScanner* S : {B.get(), C.get()}) {
    EXPECT_FALSE(S->IsKeyword("QUALIFY"));
    EXPECT_TRUE(S->IsFunction("SUM"));
    EXPECT_FALSE(S->IsOperation("||"));
    EXPECT_EQ(S->Keywords()->Count(), 22);
  }
}

TEST(ScannerTest, ReplacingWordLists) {
  auto S = NewScanner();
  TStringList Words;
  Words.Add("limit");
  Words.Add("Select");
  S->SetKeywords(&Words);
  EXPECT_EQ(S->Keywords()->CommaText(), "LIMIT,SELECT");
  EXPECT_TRUE(S->IsKeyword("Limit"));
  EXPECT_FALSE(S->IsKeyword("FROM"));
  S->Keywords()->Add("where");
  S->SetKeywords(S->Keywords());  // its own list: upper-cased in place
  EXPECT_EQ(S->Keywords()->CommaText(), "LIMIT,SELECT,WHERE");

  S->SetFunctions(&Words);
  EXPECT_EQ(S->Functions()->CommaText(), "LIMIT,SELECT");

  TStringList Ops;
  Ops.Add("mod");
  S->SetOperations(&Ops);
  EXPECT_EQ(S->Operations()->CommaText(), "mod");
  S->SetExpression("a MOD b + c");
  EXPECT_EQ(S->GetNextToken(), "MOD");
  EXPECT_EQ(S->TokenKind(), tkOperation);
  S->GetNextToken();
  EXPECT_EQ(S->GetNextToken(), "+");
  EXPECT_EQ(S->TokenKind(), tkDelim);
}

TEST(ScannerTest, LongInputStaysLinear) {
  auto S = NewScanner();
  S->SetExpression(std::string(1000000, ' ') + "word");
  EXPECT_EQ(S->Token(), "word");
  EXPECT_EQ(S->SpaceCount(), 1000000);
  EXPECT_EQ(S->TokenColumn(), 1000001);

  // Half a million escaped quotes inside one literal.
  S->SetExpression("'" + std::string(1000000, '\'') + "' x");
  EXPECT_EQ(S->Token(), std::string(500000, '\''));
  EXPECT_EQ(S->GetNextToken(), "x");
  EXPECT_EQ(S->TokenColumn(), 1000004);
}

TEST(ScannerTest, ArbitraryBytesEndCleanly) {
  std::mt19937 Random(20240611);
  std::string All;
  for (int C = 0; C < 256; ++C)
    All += static_cast<char>(C);
  std::vector<std::string> Inputs = {All, std::string(All.rbegin(), All.rend())};
  const std::string Alphabet = std::string("'\"();.,<=>\r\n \t01aZ_-*") + '\0';
  for (int N = 0; N < 300; ++N) {
    std::string T;
    const int Length = static_cast<int>(Random() % 40);
    for (int I = 0; I < Length; ++I)
      T += (Random() % 4) ? Alphabet[Random() % Alphabet.size()] : static_cast<char>(Random());
    Inputs.push_back(T);
  }
  for (const std::string& In : Inputs) {
    auto S = NewScanner();
    if (auto E = ScanError(*S, In)) {
      EXPECT_EQ(E->Code, 3);
    }
    EXPECT_LE(S->LineNo(), static_cast<int>(In.size()) + 1);
  }
}

}  // namespace
// A derived class reads every token through the general reader; the
// library's own classes read words and delimiters a shorter way. Both must
// give the same tokens, places, blanks and nesting for any text.
class GeneralScanner : public TVXSQLScanner {
 protected:
  friend class TVXScanner;
  GeneralScanner() = default;
};

TEST(ScannerTest, ShortAndGeneralReadingsAgree) {
  auto Short = NewScanner();
  auto General = TVXScanner::Create<GeneralScanner>();
  std::vector<std::string> Texts = {
      "SELECT a.b, SUM(c) AS s FROM t WHERE x >= 1.5 AND y<>2;",
      "1.2.3 1. .5 12.5x 7.e a1.2 (1.2) x.1.2",
      "a<=b>=c<>d!=e==f; g",
      "Count(*) sum max Min avg + - * / , . : \\ [ ] { }",
      "a\r\nb\rc\nd\t e   f",
      "'str''ing' \"id\"\"ent\" a'b c\"d",
      "$x _y x$ x-y x_y \x80\xff\x01",
      ")))(((",
      "",
  };
  std::mt19937 Random(17);
  const std::string Alphabet = "aZ09_.,;:()<=>!+-*/ \t\r\n'\"$\x80";
  for (int i = 0; i < 3000; ++i) {
    std::string T;
    const int Length = static_cast<int>(Random() % 24);
    for (int j = 0; j < Length; ++j) T += Alphabet[Random() % Alphabet.size()];
    Texts.push_back(T);
  }
  for (const std::string& T : Texts) {
    ASSERT_EQ(TokenStates(*Short, T, true), TokenStates(*General, T)) << "text: \"" << T << "\"";
    const auto OneByOne = TokenList(*General, T, false);
    ASSERT_EQ(TokenList(*Short, T, true), OneByOne) << "text: \"" << T << "\"";
    ASSERT_EQ(TokenList(*General, T, true), OneByOne) << "text: \"" << T << "\"";
  }
}

// The writer quotes names of the library's own scanner a shorter way where
// no quote or empty part is involved, and writes a name that is already made
// of quoted parts as it stands; a derived scanner's names go through
// ProcessName. Both must write every name alike.
TEST(ScannerTest, ShortAndGeneralNameQuotingAgree) {
  auto Short = NewScanner();
  auto General = TVXScanner::Create<GeneralScanner>();
  std::vector<std::string> Names = {"a", "ab", "s.t.f", "t.c", "a..b", ".a", "a.", "\"q\".c",
                                    "t.\"c\"", "x.db", "",
                                    // Names already written, and near misses.
                                    "\"a\".\"b\"", "\"a.b\".\"c\"", "\"a\".\"b.c\"", "\"a\"\"\"",
                                    "\"\".\"\"", "\"a\".", "\"a\"..\"b\"", "\"a\".\"b\".", "\"\"\"",
                                    "\"a\"b", "\"a\".b", "\"a\"\"\".\"b\""};
  std::mt19937 Random(5);
  const std::string Alphabet = "ab.\"";
  for (int i = 0; i < 3000; ++i) {
    std::string N;
    const int Length = static_cast<int>(Random() % 8);
    for (int j = 0; j < Length; ++j) N += Alphabet[Random() % Alphabet.size()];
    Names.push_back(N);
  }
  for (const std::string& N : Names) {
    std::string A, B;
    ScriptWriter::AppendScannerName(A, *Short, N);
    ScriptWriter::AppendScannerName(B, *General, N);
    ASSERT_EQ(A, B) << "name: " << N;
  }
}

}  // namespace Vexar
