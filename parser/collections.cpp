#include "parser/collections.h"

#include "parser/scanner.h"
#include "parser/scriptwriter.h"
#include "parser/selectparser.h"

namespace Vexar {

void TVXCollectionItem::SetParser(TVXSelectParser* Value) { FParser = Value; }

void TVXCollectionItem::Assign(const TPersistent* Source) {
  if (const auto* Item = dynamic_cast<const TVXCollectionItem*>(Source)) {
    FParser = Item->FParser;
    return;
  }
  TCollectionItem::Assign(Source);
}

namespace {

// Whether S holds ".db" in any case: the name of a file-based table. Names
// are short: a plain loop finds the points sooner than a search call.
bool NamesTableFile(std::string_view S) {
  for (size_t P = 0; P + 2 < S.size(); ++P)
    if (S[P] == '.' && (S[P + 1] == 'd' || S[P + 1] == 'D') &&
        (S[P + 2] == 'b' || S[P + 2] == 'B'))
      return true;
  return false;
}

}  // namespace

// A file-based table name (customer.db) is one identifier, not a qualified
// name: it is quoted whole, its own quote characters escaped, unless it
// already stands between identifier quotes (as it does when read back).
void ScriptWriter::AppendItemName(std::string& Out, const TVXSelectParser* Parser,
                                  std::string_view S) {
  if (!Parser) {
    Out.append(S);
    return;
  }
  const TVXSQLScanner* Scanner = Parser->Scanner();
  // GetQuoteIdentifiers, without its virtual call for a scanner of the
  // library's own class.
  const bool Exact = IsExactly<TVXSQLScanner>(*Scanner);
  const bool Quoting = Exact ? Scanner->QuoteIdentifiers() : Scanner->GetQuoteIdentifiers();
  if (Exact && !Quoting) {
    Out.append(S);  // names are written as given
    return;
  }
  if (Quoting && NamesTableFile(S) && Scanner->NeedQuotes(S))
    Out += Scanner->QuoteIdent(S);
  else
    AppendScannerName(Out, *Scanner, S);
}

std::string TVXCollectionItem::ProcessName(std::string_view S) const {
  std::string R;
  ScriptWriter::AppendItemName(R, FParser, S);
  return R;
}

std::string TVXCollectionItem::ProcessKeyword(std::string_view S) const {
  return FParser ? FParser->ProcessKeyword(S) : std::string(S);
}

std::string TVXCollectionItem::ProcessFunction(std::string_view S) const {
  return FParser ? FParser->ProcessFunction(S) : std::string(S);
}

void TVXCollection::SetParser(TVXSelectParser* Value) {
  if (FParser == Value) return;
  FParser = Value;
  for (int i = 0; i < Count(); ++i) Items(i)->SetParser(Value);
}

TVXCollectionItem* TVXCollection::Add() {
  auto* Item = static_cast<TVXCollectionItem*>(TCollection::Add());
  Item->SetParser(FParser);
  return Item;
}

TVXCollectionItem* TVXCollection::Insert(int Index) {
  auto* Item = static_cast<TVXCollectionItem*>(TCollection::Insert(Index));
  Item->SetParser(FParser);
  return Item;
}

std::string TVXStringList::ProcessName(std::string_view S) const {
  return FParser ? FParser->Scanner()->ProcessName(S) : std::string(S);
}

}  // namespace Vexar
