// Hostile input in every dialect: deep nesting, huge statements and lists,
// binary bytes, unterminated quotes, overlong numbers, keywords only, odd
// operator tables and repositioning the scanner anywhere. Each must end in a
// clear parse error or in a model that is written and read back unchanged;
// no other exception may leave the parser.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialects/ibparser.h"
#include "dialects/myparser.h"
#include "parser/selectparser.h"

namespace Vexar {
namespace {

struct TDialect {
  const char* Name;
  std::function<std::unique_ptr<TVXSelectParser>()> Make;
};

std::unique_ptr<TVXSelectParser> IB(TVXIBSQLServer Server, TVXSQLDialect Dialect) {
  auto P = TVXSelectParser::Create<TVXIBSelectParser>();
  P->SetSQLServer(Server);
  P->IBScanner()->SetSQLDialect(Dialect);
  return P;
}

const std::vector<TDialect>& Dialects() {
  static const std::vector<TDialect> All = {
      {"generic", [] { return TVXSelectParser::Create<TVXSelectParser>(); }},
      {"InterBase 1", [] { return IB(qssInterBase, qibDialect1); }},
      {"InterBase 3", [] { return IB(qssInterBase, qibDialect3); }},
      {"Firebird 1", [] { return IB(qssFireBird, qibDialect1); }},
      {"Firebird 3", [] { return IB(qssFireBird, qibDialect3); }},
      {"MySQL", [] { return TVXSelectParser::Create<TVXMySelectParser>(); }},
  };
  return All;
}

// What reading a statement gave: the written text, or the error.
struct TOutcome {
  bool Accepted = false;
  int Code = 0;
  std::string Token, Message, Written;
};

// Reads S without an error handler: anything but EVXParserError escapes and
// fails the test. An accepted statement must be written, read back and
// written again to the same text.
TOutcome Read(const TDialect& D, const std::string& S) {
  TOutcome R;
  auto P = D.Make();
  try {
    P->SetExpression(S);
  } catch (const EVXParserError& E) {
    R.Code = E.ErrorCode();
    R.Token = E.Token();
    R.Message = E.Message();
    return R;
  }
  R.Accepted = true;
  R.Written = P->GetExpression();
  auto Again = D.Make();
  try {
    Again->SetExpression(R.Written);
  } catch (const EVXParserError& E) {
    ADD_FAILURE() << D.Name << ": written text does not read back: " << E.Message();
    return R;
  }
  EXPECT_EQ(Again->GetExpression(), R.Written) << D.Name;
  return R;
}

std::string Repeat(const std::string& S, int Times) {
  std::string R;
  R.reserve(S.size() * Times);
  for (int i = 0; i < Times; ++i)
    R += S;
  return R;
}

// ---------------------------------------------------------------------------
// Size and depth

TEST(HostileInput, HundredThousandParenthesesDeepEndInAParseError) {
  const int Deep = 100000;
  const std::vector<std::string> Statements = {
      "SELECT " + Repeat("(", Deep) + "a" + Repeat(")", Deep) + " FROM t",
      "SELECT a FROM t WHERE " + Repeat("(", Deep) + "a = 1" + Repeat(")", Deep),
      "SELECT " + Repeat("SUM(", Deep) + "a" + Repeat(")", Deep) + " FROM t",
      "SELECT a FROM t WHERE " + Repeat("NOT ", Deep) + "a = 1",
      "SELECT " + Repeat("(", Deep),
      "SELECT a FROM t WHERE a IN " + Repeat("(", Deep),
      "SELECT a FROM " + Repeat("(", Deep) + "t" + Repeat(")", Deep),
  };
  for (const TDialect& D : Dialects()) {
    for (const std::string& S : Statements) {
      TOutcome R = Read(D, S);
      EXPECT_FALSE(R.Accepted) << D.Name << ": " << S.substr(0, 40);
      EXPECT_TRUE(R.Code == 1 || R.Code == 2) << D.Name << ": " << R.Message;
    }
  }
}

TEST(HostileInput, TenMegabyteStatementsAreRead) {
  const int Size = 10 * 1024 * 1024;
  const std::string Literal(Size, 'x');
  struct TCase {
    std::string Sql;
    std::string Contains;  // a part of the written text, or "" for an error
  } Cases[] = {
      // A string literal and a name of 10 MB survive whole.
      {"SELECT a FROM t WHERE a = '" + Literal + "'", "'" + Literal + "'"},
      {"SELECT " + Literal + " FROM t", Literal},
      // 10 MB of blanks and line breaks between the words.
      {"SELECT a" + Repeat(" \r\n", Size / 3) + "FROM t", "FROM"},
      // A condition of twenty thousand comparisons.
      {"SELECT a FROM t WHERE a = 1" + Repeat(" AND a = 1", 20000), " = 1)"},
      // Garbage of 10 MB after a valid start.
      {"SELECT a FROM t WHERE a = 1 " + Repeat("#", Size), ""},
  };
  const TDialect& Generic = Dialects()[0];
  for (const TCase& C : Cases) {
    TOutcome R = Read(Generic, C.Sql);
    if (C.Contains.empty()) {
      EXPECT_FALSE(R.Accepted && R.Written.empty()) << C.Sql.substr(0, 40);
    } else {
      ASSERT_TRUE(R.Accepted) << C.Sql.substr(0, 40) << ": " << R.Message;
      EXPECT_NE(R.Written.find(C.Contains), std::string::npos) << C.Sql.substr(0, 40);
    }
  }
}

// Numbering repeated columns once walked every earlier output for each
// output and every alias for each number tried.
TEST(HostileInput, MillionItemSelectListIsReadInLinearTime) {
  const int Items = 1000000;
  auto P = TVXSelectParser::Create<TVXSelectParser>();
  P->Scanner()->SetQuoteIdentifiers(false);
  // The same column a million times: every repetition gets its own alias.
  P->SetExpression("SELECT a" + Repeat(", a", Items - 1) + " FROM t");
  TVXFieldDefs* Fields = P->TableDefs()->Items(0)->FieldDefs();
  ASSERT_EQ(Fields->Count(), Items);
  EXPECT_EQ(Fields->Items(1)->Alias(), "a1");
  EXPECT_EQ(Fields->Items(Items - 1)->Alias(), "a" + std::to_string(Items - 1));
  EXPECT_NE(P->GetExpression().find(" AS a999999\r\nFROM\r\n  t\r\n"), std::string::npos);

  // Distinct columns, and a name that already holds the next number.
  const int Distinct = 100000;
  std::string S = "SELECT a1, a";
  for (int i = 0; i < Distinct; ++i)
    S += ", c" + std::to_string(i) + ", a";
  P->SetExpression(S + " FROM t");
  Fields = P->TableDefs()->Items(0)->FieldDefs();
  ASSERT_EQ(Fields->Count(), 2 * Distinct + 2);
  EXPECT_EQ(Fields->Items(3)->Alias(), "a2");
  EXPECT_EQ(Fields->Items(2 * Distinct + 1)->Alias(), "a" + std::to_string(Distinct + 1));

  // Expressions without alias are numbered in order, past a number taken.
  const int Expressions = 100000;
  P->SetExpression("SELECT a + 1, b AS FIELD_2" + Repeat(", a + 1", Expressions - 1) + " FROM t");
  Fields = P->TableDefs()->Items(0)->FieldDefs();
  ASSERT_EQ(Fields->Count(), Expressions + 1);
  EXPECT_EQ(Fields->Items(0)->Alias(), "FIELD_1");
  EXPECT_EQ(Fields->Items(2)->Alias(), "FIELD_3");
  EXPECT_EQ(Fields->Items(Expressions)->Alias(), "FIELD_" + std::to_string(Expressions + 1));
}

// Outputs of one name give the GROUP BY derivation as many equal names to
// tell the explicit entries apart by; looking them up must not take longer
// with every one of them.
TEST(HostileInput, GroupingOfManyLikeNamedColumnsIsWrittenInLinearTime) {
  const int Items = 50000;
  auto P = TVXSelectParser::Create<TVXSelectParser>();
  P->Scanner()->SetQuoteIdentifiers(false);
  const std::string Sql = "SELECT a" + Repeat(", a", Items - 1) + ", SUM(b) FROM t GROUP BY A";
  P->SetExpression(Sql);
  const std::clock_t Start = std::clock();
  const std::string Written = P->GetExpression();
  const double Seconds = double(std::clock() - Start) / CLOCKS_PER_SEC;
  // The bound of the fuzz targets: far below what a quadratic walk costs.
  EXPECT_LT(Seconds, 0.25 + 50e-6 * static_cast<double>(Sql.size()));
  ASSERT_EQ(P->GroupByItems()->Count(), Items);  // «A» names the derived «t.a»
  EXPECT_NE(Written.find("GROUP BY\r\n  t.a,\r\n  t.a,"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Bytes and quotes

TEST(HostileInput, NulAndHighBytesInNamesAndStringsSurviveARoundTrip) {
  std::string High;
  for (int C = 0x80; C <= 0xFF; ++C)
    High += static_cast<char>(C);
  const std::string Nul("a\0b", 3);
  for (const TDialect& D : Dialects()) {
    const bool My = std::string(D.Name) == "MySQL";
    const std::string Q = My ? "`" : "\"";
    for (const std::string& Bytes : {Nul, High, Nul + High}) {
      // In a string literal.
      TOutcome R = Read(D, "SELECT a FROM t WHERE a = '" + Bytes + "'");
      // MySQL writes a NUL in a string as its escape \0.
      std::string Value = Bytes;
      if (My && Value[1] == '\0')
        Value.replace(1, 1, "\\0");
      if (R.Accepted) {
        EXPECT_NE(R.Written.find(Value), std::string::npos) << D.Name;
      } else {
        EXPECT_EQ(R.Code, 1) << D.Name << ": " << R.Message;
      }
      // As a quoted name (an identifier in MySQL and dialect 3).
      R = Read(D, "SELECT " + Q + Bytes + Q + " FROM t");
      if (R.Accepted) {
        EXPECT_NE(R.Written.find(Bytes), std::string::npos) << D.Name;
      } else {
        EXPECT_EQ(R.Code, 1) << D.Name << ": " << R.Message;
      }
      // Bare, inside and around words.
      for (const std::string& S : {"SELECT " + Bytes + " FROM t", "SELECT a" + Bytes + "b FROM t",
                                   "SELECT a FROM t" + Bytes, Bytes}) {
        R = Read(D, S);
        if (!R.Accepted) {
          EXPECT_TRUE(R.Code == 1 || R.Code == 2) << D.Name << ": " << R.Message;
        }
      }
    }
  }
}

TEST(HostileInput, UnterminatedQuotesOfEveryKindAreReportedAsSuch) {
  for (const TDialect& D : Dialects()) {
    for (const char* Q : {"'", "\"", "`"}) {
      for (const std::string& S :
           {"SELECT " + std::string(Q) + "abc", "SELECT a FROM t WHERE a = " + std::string(Q),
            "SELECT a FROM t WHERE a = " + std::string(Q) + "x" + Q + Q,
            "SELECT a FROM t WHERE a = " + std::string(Q) + "x\\" + Q,
            "SELECT a FROM " + std::string(Q) + "t\r\n", std::string(Q)}) {
        TOutcome R = Read(D, S);
        // The backquote quotes only in MySQL; elsewhere it is a character of a word.
        // A backslash escapes a quote only in MySQL strings, not in its names.
        const bool My = std::string(D.Name) == "MySQL";
        const bool Open = (*Q != '`' || My) &&
                          (S.find('\\') == std::string::npos || (My && *Q != '`'));
        if (Open) {
          EXPECT_FALSE(R.Accepted) << D.Name << ": " << S;
        }
        if (!R.Accepted) {
          EXPECT_TRUE(R.Code >= 1 && R.Code <= 3) << D.Name << ": " << R.Message;
        }
        if (R.Code == 3) {
          EXPECT_EQ(R.Message, "Unterminated string.");
        }
      }
    }
  }
}

// Found by fuzzing: in dialect 1, where double quotes make strings, a name
// read from quoted text was written in capitals with underscores and then
// read back as another, bare name; and quoted text as a qualifier did not
// read back at all.
TEST(HostileInput, DialectOneQuotedNamesAreWrittenIdempotently) {
  const TDialect* D1 = &Dialects()[1];
  for (const char* S : {"SELECT t.\"my col\" FROM t", "SELECT \"my table\".A FROM \"my table\"",
                        "SELECT a + b, t.\"my col\" FROM t WHERE a + b > 1 ORDER BY 2, a DESC",
                        "SELECT \"DATE\", MY$COL, a || 'x' FROM \"my table\" ROWS 1 TO 5"}) {
    TOutcome R = Read(*D1, S);
    EXPECT_TRUE(R.Accepted) << S << ": " << R.Message;
  }
  EXPECT_NE(Read(*D1, "SELECT t.\"my col\" FROM t").Written.find("T.\"my col\""),
            std::string::npos);
}

// ---------------------------------------------------------------------------
// Numbers, words and operators

TEST(HostileInput, FortyDigitNumbersAreLiteralsOrReportedWhereTheyCount) {
  const std::string N(40, '9');
  struct TCase {
    const char* Dialect;
    std::string Sql;
    bool Accepted;
  } Cases[] = {
      {"generic", "SELECT " + N + " FROM t", true},
      {"generic", "SELECT a FROM t WHERE a = " + N + "." + N, true},
      {"generic", "SELECT a FROM t WHERE a > -" + N, true},
      {"generic", "SELECT a FROM t ORDER BY " + N, true},
      {"Firebird 3", "SELECT FIRST " + N + " a FROM t", false},
      {"Firebird 3", "SELECT SKIP " + N + " a FROM t", false},
      {"InterBase 3", "SELECT a FROM t ROWS " + N, false},
      {"InterBase 3", "SELECT a FROM t ROWS 1 TO " + N, false},
      {"InterBase 3", "SELECT a FROM t ROWS 1 BY " + N, false},
      {"MySQL", "SELECT a FROM t LIMIT " + N, false},
      {"MySQL", "SELECT a FROM t LIMIT 1, " + N, false},
      {"MySQL", "SELECT a FROM t LIMIT 2147483648", false},
  };
  for (const TCase& C : Cases) {
    const TDialect* D = nullptr;
    for (const TDialect& X : Dialects())
      if (std::string(X.Name) == C.Dialect)
        D = &X;
    ASSERT_NE(D, nullptr);
    TOutcome R = Read(*D, C.Sql);
    EXPECT_EQ(R.Accepted, C.Accepted) << C.Sql << ": " << R.Message;
    if (C.Accepted) {
      EXPECT_NE(R.Written.find(N), std::string::npos) << C.Sql;
    } else {
      EXPECT_EQ(R.Code, 1) << C.Sql << ": " << R.Message;
    }
  }
}

TEST(HostileInput, KeywordsOnlyEndInAParseError) {
  for (const TDialect& D : Dialects()) {
    auto P = D.Make();
    const TStringList* Words = P->Scanner()->Keywords();
    std::string All;
    for (int i = 0; i < Words->Count(); ++i)
      All += (*Words)[i] + " ";
    for (const std::string& S : std::vector<std::string>{
             All, "SELECT " + All, "SELECT FROM WHERE GROUP BY ORDER BY", "SELECT SELECT",
             "SELECT a FROM t WHERE AND OR NOT", "SELECT a FROM t ORDER BY ASC DESC"}) {
      TOutcome R = Read(D, S);
      EXPECT_FALSE(R.Accepted) << D.Name << ": " << S.substr(0, 60);
      EXPECT_TRUE(R.Code == 1 || R.Code == 2) << D.Name << ": " << R.Message;
    }
  }
}

TEST(HostileInput, EmptyOperatorTableOrEmptyCaptionsGiveSoundResults) {
  const std::vector<std::string> Statements = {
      "SELECT a FROM t WHERE a = 1",
      "SELECT a FROM t WHERE a IS NULL AND b LIKE 'x' OR NOT (c BETWEEN 1 AND 2)",
      "SELECT a FROM t GROUP BY a HAVING COUNT(a) > 1",
      "SELECT a FROM t WHERE ",
  };
  using TSetup = std::function<void(TVXOperators*)>;
  const std::vector<TSetup> Tables = {
      [](TVXOperators* O) { O->Clear(); },
      [](TVXOperators* O) {
        O->Clear();
        O->AddOperator("", 1);
      },
      [](TVXOperators* O) { O->AddOperator("", 0); },
      [](TVXOperators* O) { O->AddOperator("", 2, "", "", ""); },
      [](TVXOperators* O) { O->AddOperator(" ", 1, "(", ",", ")"); },
  };
  for (const TDialect& D : Dialects()) {
    for (const TSetup& Setup : Tables) {
      for (const std::string& S : Statements) {
        auto P = D.Make();
        Setup(P->Operators());
        std::string Written;
        try {
          P->SetExpression(S);
          Written = P->GetExpression();
        } catch (const EVXParserError& E) {
          EXPECT_TRUE(E.ErrorCode() == 1 || E.ErrorCode() == 2) << D.Name << ": " << E.Message();
          continue;
        }
        auto Again = D.Make();
        Setup(Again->Operators());
        EXPECT_NO_THROW(Again->SetExpression(Written)) << D.Name << ": " << Written;
        EXPECT_EQ(Again->GetExpression(), Written) << D.Name;
      }
    }
  }
}

// ---------------------------------------------------------------------------
// The scanner moved anywhere

// Every token from the current position to the end, with its place, the
// level after it, and how reading ended (0, or the error code).
struct TTrace {
  std::vector<std::string> Steps;
  bool operator==(const TTrace&) const = default;
};

TTrace ReadToEnd(TVXSQLScanner& S) {
  TTrace T;
  const int Limit = static_cast<int>(S.Expression().size()) + 2;
  try {
    for (int i = 0; i <= Limit; ++i) {
      S.GetNextToken();
      T.Steps.push_back(S.Token() + "|" + std::to_string(S.TokenKind()) + "|" +
                        std::to_string(S.LineNo()) + ":" + std::to_string(S.TokenColumn()) +
                        "|" + std::to_string(S.Level()));
      if (S.TokenKind() == tkEnd)
        return T;
    }
    ADD_FAILURE() << "reading did not end";
  } catch (const EVXParserError& E) {
    EXPECT_EQ(E.ErrorCode(), 3);
    T.Steps.push_back("unterminated " + std::to_string(E.LineNo()) + ":" +
                      std::to_string(E.LinePos()));
  }
  return T;
}

TEST(HostileInput, SetPositionToEveryOffsetReadsTheSameFromAnywhere) {
  const std::string Statement =
      "SELECT (a), \"q\"\"x\", 'it''s', `b`, f(1.5)\r\nFROM t\n WHERE (x <= 'a;b')\r\n"
      "  AND y = 2; trailing 'open";
  for (const TDialect& D : Dialects()) {
    auto P = D.Make();
    TVXSQLScanner* S = P->Scanner();
    const int Length = static_cast<int>(Statement.size());
    for (int Pos = -1; Pos <= Length + 2; ++Pos) {
      // Once from the first token, once from the end of the text.
      S->SetExpression(Statement);
      S->SetPosition(Pos);
      EXPECT_GE(S->Position(), 1);
      EXPECT_LE(S->Position(), Length + 1);
      const TTrace FromStart = ReadToEnd(*S);
      S->SetPosition(Length + 1);
      S->SetPosition(Pos);
      const TTrace FromEnd = ReadToEnd(*S);
      EXPECT_EQ(FromStart.Steps, FromEnd.Steps) << D.Name << " at " << Pos;
    }
  }
}

// ---------------------------------------------------------------------------
// The component-facing contract

TEST(ParserContract, WithOnParserErrorNothingLeavesSetExpression) {
  const std::vector<std::string> Statements = {
      "SELECT " + Repeat("(", 100000),
      "SELECT a FROM t WHERE a = 'x",
      "SELECT FIRST " + std::string(40, '9') + " a FROM t",
      "SELECT a FROM t ROWS " + std::string(40, '9'),
      "SELECT a FROM t LIMIT " + std::string(40, '9'),
      std::string("SELECT \0\xff FROM t", 15),
      "SELECT SELECT",
      "",
      "SELECT a FROM t",
  };
  for (const TDialect& D : Dialects()) {
    for (const std::string& S : Statements) {
      auto P = D.Make();
      int Calls = 0;
      P->OnParserError = [&](TVXSelectParser*, const std::string& Message, const std::string&,
                             int, int) {
        ++Calls;
        EXPECT_FALSE(Message.empty());
      };
      EXPECT_NO_THROW(P->SetExpression(S)) << D.Name << ": " << S.substr(0, 40);
      EXPECT_LE(Calls, 1);
      // Without the handler the same text raises EVXParserError exactly
      // when the handler was called (Read fails the test on any other).
      EXPECT_EQ(Read(D, S).Accepted, Calls == 0) << D.Name << ": " << S.substr(0, 40);
    }
  }
}

}  // namespace
}  // namespace Vexar
