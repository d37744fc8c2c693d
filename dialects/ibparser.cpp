#include "dialects/ibparser.h"

#include "parser/scriptwriter.h"
#include "platform/strutils.h"

namespace Vexar {

TVXIBSelectParser::TVXIBSelectParser()
    : FIBOptions(std::make_unique<TVXIBOptions>()), FFBOptions(std::make_unique<TVXFBOptions>()) {}

TVXIBSelectParser::~TVXIBSelectParser() {
  FFBOptions.reset();
  FIBOptions.reset();
}

void TVXIBSelectParser::SetIBOptions(const TVXIBOptions* Value) {
  if (Value != FIBOptions.get())
    FIBOptions->Assign(Value);
}

void TVXIBSelectParser::SetFBOptions(const TVXFBOptions* Value) {
  if (Value != FFBOptions.get())
    FFBOptions->Assign(Value);
}

std::unique_ptr<TVXSQLScanner> TVXIBSelectParser::CreateScanner() {
  return TVXScanner::Create<TVXIBScanner>();
}

void TVXIBSelectParser::Clear() {
  TVXSelectParser::Clear();
  FIBOptions->Clear();
  FFBOptions->Clear();
  FRowsRead = false;
}

// Firebird: FIRST n, then SKIP m, both before DISTINCT. Under InterBase the
// words are left to the generic select clause, which reports them.
void TVXIBSelectParser::DoParseSelectClause() {
  if (FSQLServer == qssFireBird) {
    int Value = 0;
    if (IsWord(CurToken(), "FIRST")) {
      if (!ReadNumber(Value))
        return;
      FFBOptions->SetFirst(Value);
      FFBOptions->SetHasFirst(true);
      NextToken();
    }
    if (IsWord(CurToken(), "SKIP")) {
      if (!ReadNumber(Value))
        return;
      FFBOptions->SetSkip(Value);
      NextToken();
    }
  }
  TVXSelectParser::DoParseSelectClause();
}

// InterBase: ROWS n [TO m] [BY k] [PERCENT] [WITH TIES], in this order and
// once. The end of the text ends the statement; any other token stays in
// ssAppendix, comes back here and is reported, a second ROWS clause included
// (it would silently overwrite parts of the first).
void TVXIBSelectParser::DoParseAppendix() {
  if (FSQLServer != qssInterBase || FRowsRead || !IsWord(CurToken(), "ROWS")) {
    TVXSelectParser::DoParseAppendix();
    return;
  }
  FRowsRead = true;
  int Value = 0;
  if (!ReadNumber(Value))
    return;
  FIBOptions->SetRows(Value);
  FIBOptions->SetHasRows(true);
  NextToken();
  if (IsWord(CurToken(), "TO")) {
    if (!ReadNumber(Value))
      return;
    FIBOptions->SetRowsTo(Value);
    NextToken();
  }
  if (IsWord(CurToken(), "BY")) {
    if (!ReadNumber(Value))
      return;
    FIBOptions->SetRowsBy(Value);
    NextToken();
  }
  if (IsWord(CurToken(), "PERCENT")) {
    NextToken();
    FIBOptions->SetPercent(true);
  }
  if (IsWord(CurToken(), "WITH")) {
    NextToken();
    if (!IsWord(CurToken(), "TIES")) {
      Fail();
      return;
    }
    NextToken();
    FIBOptions->SetWithTies(true);
  }
  if (CurToken().Kind == tkEnd)
    FState = ssEnd;
}

// SELECT [FIRST n SKIP m (Firebird)] [DISTINCT] select list FROM ..., the
// WHERE, GROUP BY, HAVING and ORDER BY clauses, [ROWS ... (InterBase)]. Each
// part before ROWS ends with a line break, so ROWS is the last line.
std::string TVXIBSelectParser::GetExpression() {
  std::string R;
  ScriptWriter::AppendKeyword(R, this, "SELECT");
  R += ' ';
  if (FSQLServer == qssFireBird)
    R += FFBOptions->GetScript();
  if (GetDistinct()) {
    ScriptWriter::AppendKeyword(R, this, "DISTINCT");
    R += ' ';
  }
  if (!ScriptWriter::AppendSelectList(R, *this))
    return std::string();
  ScriptWriter::AppendClauses(R, *this);
  if (FSQLServer == qssInterBase)
    R += FIBOptions->GetScript();
  return R;
}

}  // namespace Vexar
