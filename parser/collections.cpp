#include "parser/collections.h"

#include "parser/scanner.h"
#include "parser/selectparser.h"
#include "platform/strutils.h"

namespace Vexar {

void TVXCollectionItem::SetParser(TVXSelectParser* Value) { FParser = Value; }

void TVXCollectionItem::Assign(const TPersistent* Source) {
  if (const auto* Item = dynamic_cast<const TVXCollectionItem*>(Source)) {
    FParser = Item->FParser;
    return;
  }
  TCollectionItem::Assign(Source);
}

std::string TVXCollectionItem::ProcessName(std::string_view S) const {
  if (!FParser) return std::string(S);
  const TVXSQLScanner* Scanner = FParser->Scanner();
  // A file-based table name (customer.db) is one identifier, not a qualified
  // name: it is quoted whole, its own quote characters escaped, unless it
  // already stands between identifier quotes (as it does when read back).
  if (Scanner->GetQuoteIdentifiers() && LowerCase(S).find(".db") != std::string::npos &&
      Scanner->NeedQuotes(S))
    return Scanner->QuoteIdent(S);
  return Scanner->ProcessName(S);
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
