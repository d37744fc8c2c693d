#include "parser/selectparser.h"

#include "parser/scriptwriter.h"
#include "platform/strutils.h"

namespace Vexar {

void TVXSelectParser::Initialize() {
  FScanner = CreateScanner();
  FTableDefs = CreateTableDefs();
  FTableDefs->SetParser(this);
  FWhereItems = CreateWhereItems();
  FWhereItems->SetParser(this);
  FHavingItems = CreateHavingItems();
  FHavingItems->SetParser(this);
  FGroupByItems = std::make_unique<TVXGroupByItems>(this);
  FOrderByItems = std::make_unique<TVXOrderByItems>(this);
  FAggregates = std::make_unique<TStringList>();
  DefineAggregates();
  FOperators = std::make_unique<TVXOperators>(this);
  DefineOperators();
  FScriptFormat = std::make_unique<TVXScriptFormat>();
}

TVXSelectParser::~TVXSelectParser() {
  // The ordering list outlives the table list: a table that goes removes
  // its sort entries.
  FFreeField.reset();
  FScriptFormat.reset();
  FOperators.reset();
  FAggregates.reset();
  FHavingItems.reset();
  FTableDefs.reset();
  FOrderByItems.reset();
  FGroupByItems.reset();
  FWhereItems.reset();
  FScanner.reset();
}

std::unique_ptr<TVXSQLScanner> TVXSelectParser::CreateScanner() {
  return TVXScanner::Create<TVXSQLScanner>();
}

std::unique_ptr<TVXTableDefs> TVXSelectParser::CreateTableDefs() {
  return std::make_unique<TVXTableDefs>(this, &ItemClassOf<TVXTableDef>);
}

std::unique_ptr<TVXWhereItems> TVXSelectParser::CreateWhereItems() {
  return std::make_unique<TVXWhereItems>(this, &ItemClassOf<TVXCriterion>);
}

std::unique_ptr<TVXHavingItems> TVXSelectParser::CreateHavingItems() {
  return std::make_unique<TVXHavingItems>(this, &ItemClassOf<TVXCriterion>);
}

// In sorted order, which Sort then only checks.
std::string TVXSelectParser::GetCommaAggregates() const { return "AVG,COUNT,MAX,MIN,SUM"; }

void TVXSelectParser::DefineAggregates() {
  FAggregates->Clear();
  FAggregates->SetCommaText(GetCommaAggregates());
  FAggregates->Sort();
}

void TVXSelectParser::DefineOperators() { FOperators->LoadDefaults(); }

std::string TVXSelectParser::ProcessKeyword(std::string_view S) const {
  return FormatText(S, FScriptFormat ? FScriptFormat->KeywordsFormat() : qfmAsIs);
}

std::string TVXSelectParser::ProcessFunction(std::string_view S) const {
  return FormatText(S, FScriptFormat ? FScriptFormat->FunctionsFormat() : qfmAsIs);
}

void ScriptWriter::AppendKeyword(std::string& Out, const TVXSelectParser* Parser,
                                 std::string_view S) {
  const TVXScriptFormat* F = Parser ? Parser->ScriptFormat() : nullptr;
  AppendFormatted(Out, S, F ? F->KeywordsFormat() : qfmAsIs);
}

void ScriptWriter::AppendFunction(std::string& Out, const TVXSelectParser* Parser,
                                  std::string_view S) {
  const TVXScriptFormat* F = Parser ? Parser->ScriptFormat() : nullptr;
  AppendFormatted(Out, S, F ? F->FunctionsFormat() : qfmAsIs);
}

bool ScriptWriter::AppendSelectList(std::string& Out, const TVXSelectParser& Parser) {
  const size_t Start = Out.size();
  // Room for what a statement of this many outputs usually takes, so that
  // the text is seldom moved while it grows.
  Out.reserve(Start + 128 + 40 * static_cast<size_t>(Parser.TableDefs()->GetFieldCount()));
  AppendScript(Out, *Parser.TableDefs());
  return Out.size() > Start;
}

// GROUP BY before HAVING: writing it rebuilds the grouping list that decides
// whether HAVING is written.
void ScriptWriter::AppendClauses(std::string& Out, const TVXSelectParser& Parser) {
  AppendScript(Out, *Parser.WhereItems());
  AppendScript(Out, *Parser.GroupByItems());
  AppendScript(Out, *Parser.HavingItems());
  AppendScript(Out, *Parser.OrderByItems());
}

std::string TVXSelectParser::GetExpression() {
  std::string R;
  ScriptWriter::AppendKeyword(R, this, "SELECT");
  R += ' ';
  if (GetDistinct()) {
    ScriptWriter::AppendKeyword(R, this, "DISTINCT");
    R += ' ';
  }
  if (!ScriptWriter::AppendSelectList(R, *this)) return std::string();
  ScriptWriter::AppendClauses(R, *this);
  return R;
}

void TVXSelectParser::Clear() {
  // The sort entries go first: every table freed removes the entries that
  // name it one by one, and finds none left to search.
  FOrderByItems->Clear();
  FTableDefs->Clear();
  FWhereItems->Clear();
  FWhereItems->SetFilter(cfAll);
  FGroupByItems->Clear();
  FHavingItems->Clear();
  FHavingItems->SetFilter(cfAll);
  FScanner->SetExpression("");
}

void TVXSelectParser::SetTableDefs(const TVXTableDefs* Value) {
  if (Value != FTableDefs.get()) FTableDefs->Assign(Value);
}

void TVXSelectParser::SetWhereItems(const TVXWhereItems* Value) {
  if (Value != FWhereItems.get()) FWhereItems->Assign(Value);
}

void TVXSelectParser::SetHavingItems(const TVXHavingItems* Value) {
  if (Value != FHavingItems.get()) FHavingItems->Assign(Value);
}

void TVXSelectParser::SetGroupByItems(const TVXGroupByItems* Value) {
  if (Value != FGroupByItems.get()) FGroupByItems->Assign(Value);
}

void TVXSelectParser::SetOrderByItems(const TVXOrderByItems* Value) {
  if (Value != FOrderByItems.get()) FOrderByItems->Assign(Value);
}

void TVXSelectParser::SetOperators(const TVXOperators* Value) {
  if (Value != FOperators.get()) FOperators->Assign(Value);
}

void TVXSelectParser::SetScriptFormat(const TVXScriptFormat* Value) {
  if (Value != FScriptFormat.get()) FScriptFormat->Assign(Value);
}

void TVXSelectParser::SetAggregates(const TStringList* List) {
  if (List == FAggregates.get()) return;
  FAggregates->Assign(List);
  for (int i = 0; i < FAggregates->Count(); ++i)
    FAggregates->SetStrings(i, UpperCase(FAggregates->Strings(i)));
  FAggregates->Sort();
}

}  // namespace Vexar
