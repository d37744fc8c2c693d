#include "dialects/myparser.h"

#include "parser/scriptwriter.h"
#include "platform/strutils.h"

namespace Vexar {

namespace {

struct TOptionWord {
  const char* Word;
  TVXMySQLSelectOption Option;
};

constexpr TOptionWord OptionWords[] = {
    {"STRAIGHT_JOIN", mysoStraightJoin},  {"SQL_SMALL_RESULT", mysoSQLSmallResult},
    {"SQL_BIG_RESULT", mysoSQLBigResult}, {"SQL_BUFFER_RESULT", mysoSQLBufferResult},
    {"HIGH_PRIORITY", mysoHighPriority},
};

}  // namespace

TVXMySelectParser::TVXMySelectParser() : FMySQLOptions(std::make_unique<TVXMySQLOptions>(this)) {}

TVXMySelectParser::~TVXMySelectParser() {
  FMySQLOptions.reset();
}

void TVXMySelectParser::SetMySQLOptions(const TVXMySQLOptions* Value) {
  if (Value != FMySQLOptions.get())
    FMySQLOptions->Assign(Value);
}

std::unique_ptr<TVXSQLScanner> TVXMySelectParser::CreateScanner() {
  return TVXScanner::Create<TVXMySQLScanner>();
}

void TVXMySelectParser::Clear() {
  TVXSelectParser::Clear();
  FMySQLOptions->Clear();
}

bool TVXMySelectParser::GetDistinct() const {
  return FMySQLOptions->Filter() == myfoDistinct;
}

void TVXMySelectParser::SetDistinct(bool Value) {
  TVXSelectParser::SetDistinct(Value);
  FMySQLOptions->SetFilter(Value ? myfoDistinct : myfoNone);
}

bool TVXMySelectParser::IsFilterWord() const {
  const TVXParseToken& T = CurToken();
  return IsWord(T, "DISTINCT") || IsWord(T, "DISTINCTROW") || IsWord(T, "ALL");
}

// The generic clause reads a leading DISTINCT and the start of the select
// list; a word it does not take may still be an option or a filter word.
void TVXMySelectParser::DoParseSelectClause() {
  TVXSelectParser::DoParseSelectClause();
  FFilterRead = FMySQLOptions->Filter() != myfoNone;
  if (FState != ssError)
    return;
  for (const TOptionWord& W : OptionWords) {
    if (IsWord(CurToken(), W.Word)) {
      DoParseOptions();
      return;
    }
  }
  if (IsFilterWord())
    DoParseFilter();
}

void TVXMySelectParser::DoParseOptions() {
  TVXMySQLSelectOptions Seen;
  for (;;) {
    const TOptionWord* Found = nullptr;
    for (const TOptionWord& W : OptionWords)
      if (IsWord(CurToken(), W.Word))
        Found = &W;
    if (!Found)
      break;
    if (Seen.Contains(Found->Option)) {  // each word may stand once
      Fail();
      return;
    }
    Seen.Include(Found->Option);
    FMySQLOptions->SetSelectOptions(FMySQLOptions->SelectOptions() |
                                    TVXMySQLSelectOptions{Found->Option});
    NextToken();
  }
  if (IsFilterWord())
    DoParseFilter();
  else
    FState = ssFieldDefs;
}

// One filter word per statement: a second one («SELECT DISTINCT ALL a»)
// is reported rather than silently replacing the first.
void TVXMySelectParser::DoParseFilter() {
  FState = ssFieldDefs;
  if (FFilterRead || !IsFilterWord()) {
    Fail();
    return;
  }
  if (IsWord(CurToken(), "DISTINCT")) {
    SetDistinct(true);
  } else {
    TVXSelectParser::SetDistinct(false);
    FMySQLOptions->SetFilter(IsWord(CurToken(), "ALL") ? myfoAll : myfoDistinctRow);
  }
  FFilterRead = true;
  NextToken();
}

// LIMIT n, LIMIT offset, n, or LIMIT n OFFSET offset; the statement ends
// with it. Text after the clause (other than the end or «;») is reported, so
// nothing a user wrote is dropped unseen.
void TVXMySelectParser::DoParseAppendix() {
  if (!IsWord(CurToken(), "LIMIT")) {
    TVXSelectParser::DoParseAppendix();
    return;
  }
  int First = 0, Second = 0;
  if (!ReadNumber(First))
    return;
  FMySQLOptions->SetHasLimit(true);
  NextToken();
  if (IsSymbol(CurToken(), ",")) {
    if (!ReadNumber(Second))
      return;
    FMySQLOptions->SetLimitOffset(First);
    FMySQLOptions->SetLimitRows(Second);
    NextToken();
  } else if (IsWord(CurToken(), "OFFSET")) {
    if (!ReadNumber(Second))
      return;
    FMySQLOptions->SetLimitOffset(Second);
    FMySQLOptions->SetLimitRows(First);
    NextToken();
  } else {
    FMySQLOptions->SetLimitOffset(0);
    FMySQLOptions->SetLimitRows(First);
  }
  if (CurToken().Kind == tkEnd)
    FState = ssEnd;
  else
    Fail();
}

// SELECT, the option words, the filter word (in place of the generic
// DISTINCT), the select list and FROM, the WHERE, GROUP BY, HAVING and
// ORDER BY clauses, and LIMIT as the last line.
std::string TVXMySelectParser::GetExpression() {
  std::string R;
  ScriptWriter::AppendKeyword(R, this, "SELECT");
  R += ' ';
  R += FMySQLOptions->GetOptionsScript();
  R += FMySQLOptions->GetFilterScript();
  if (!ScriptWriter::AppendSelectList(R, *this))
    return std::string();
  ScriptWriter::AppendClauses(R, *this);
  R += FMySQLOptions->GetLimitScript();
  return R;
}

}  // namespace Vexar
