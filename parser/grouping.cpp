#include "parser/grouping.h"

#include <unordered_set>

#include "parser/scanner.h"
#include "parser/selectparser.h"
#include "platform/strutils.h"

namespace Vexar {

namespace {

std::string Heading(const TVXSelectParser* Parser, const char* Word) {
  if (!Parser) return std::string(Word) + " BY\r\n  ";
  return Parser->ProcessKeyword(Word) + " " + Parser->ProcessKeyword("BY") + "\r\n  ";
}

}  // namespace

// ---------------------------------------------------------------------------
// TVXGroupByItems

int TVXGroupByItems::Add(const std::string& S) {
  if (FExplicit.IndexOf(S) < 0) FExplicit.Add(S);
  return TStringList::Add(S);
}

void TVXGroupByItems::Delete(int Index) {
  int E = FExplicit.IndexOf(Strings(Index));
  if (E >= 0) FExplicit.Delete(E);
  TStringList::Delete(Index);
}

void TVXGroupByItems::Clear() {
  FExplicit.Clear();
  TStringList::Clear();
}

bool TVXGroupByItems::HasEntries() {
  if (FExplicit.Count() > 0) return true;
  Rebuild();
  return Count() > 0;
}

void TVXGroupByItems::Rebuild() {
  if (TVXSelectParser* P = Parser()) {
    // Classify the SELECT list: aggregates are calls of an aggregate function.
    std::vector<TVXFieldDef*> Fields = P->TableDefs()->GetOrderedFields();
    bool HasAggregate = false, HasOther = false;
    // A stored procedure's input parameters are no outputs: they neither
    // make the list mixed nor are they grouped.
    std::erase_if(Fields, [](const TVXFieldDef* F) { return !F || F->IsInputParam(); });
    for (TVXFieldDef* F : Fields) {
      if (F->Kind() == fkFunction && P->Aggregates()->IndexOf(F->Name()) >= 0)
        HasAggregate = true;
      else
        HasOther = true;
    }
    TStringList::Clear();
    std::unordered_set<std::string> Derived;
    if (HasAggregate && HasOther) {
      for (TVXFieldDef* F : Fields) {
        // Every plain column is grouped, also one named like an aggregate
        // (a column SUM is no call): leaving it out made the clause change
        // once the name came back quoted.
        if (!F || F->Kind() != fkIdentifier) continue;
        // Qualified as the field itself is written: by its table's alias, or
        // name, and not at all under an unnamed table.
        const TVXTableDef* T = F->OwningTable();
        std::string Q = T ? T->Qualifier() : std::string();
        std::string Entry = P->Scanner()->ProcessName(Q.empty() ? F->Name() : Q + "." + F->Name());
        TStringList::Add(Entry);
        // Entries read from a statement are told apart without regard to
        // case, as the reader tells them apart: «GROUP BY o.ID» names the
        // output o.id.
        Derived.insert(UpperCase(Entry));
        Derived.insert(UpperCase(F->Name()));
        if (!Q.empty()) Derived.insert(UpperCase(Q + "." + F->Name()));
      }
    }
    for (int i = 0; i < FExplicit.Count(); ++i) {
      const std::string& E = FExplicit[i];
      if (Derived.count(UpperCase(E)) || Derived.count(UpperCase(P->Scanner()->ProcessName(E))))
        continue;
      TStringList::Add(E);
    }
  }
}

std::string TVXGroupByItems::GetScript() {
  Rebuild();
  std::string R;
  for (int i = 0; i < Count(); ++i) {
    R += ProcessName(Strings(i));
    R += i < Count() - 1 ? ",\r\n  " : "\r\n";
  }
  if (R.empty()) return R;
  return Heading(Parser(), "GROUP") + R;
}

// ---------------------------------------------------------------------------
// TVXOrderByItems

int TVXOrderByItems::AddOrdered(const std::string& S, TVXOrderKind Kind) {
  int Index = TStringList::Add(S);
  FOrders.insert(FOrders.begin() + Index, Kind);
  return Index;
}

void TVXOrderByItems::Delete(int Index) {
  TStringList::Delete(Index);
  if (Index < static_cast<int>(FOrders.size())) FOrders.erase(FOrders.begin() + Index);
}

void TVXOrderByItems::Clear() {
  TStringList::Clear();
  FOrders.clear();
}

void TVXOrderByItems::Insert(int Index, const std::string& S) {
  TStringList::Insert(Index, S);
  // Directions stay parallel to the entries: a new entry is ascending.
  if (Index <= static_cast<int>(FOrders.size())) FOrders.insert(FOrders.begin() + Index, okAsc);
}

void TVXOrderByItems::Assign(const TPersistent* Source) {
  TStringList::Assign(Source);
  FOrders.clear();
  if (const auto* Src = dynamic_cast<const TVXOrderByItems*>(Source)) FOrders = Src->FOrders;
}

TVXOrderKind TVXOrderByItems::Orders(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FOrders.size())) return okAsc;
  return FOrders[Index];
}

void TVXOrderByItems::SetOrders(int Index, TVXOrderKind Value) {
  if (Index >= 0 && Index < static_cast<int>(FOrders.size())) FOrders[Index] = Value;
}

std::string TVXOrderByItems::GetScript() {
  std::string R;
  for (int i = 0; i < Count(); ++i) {
    const std::string& E = Strings(i);
    // A position ("ORDER BY 2") is no name: quoting it would sort by a constant.
    bool IsPosition = !E.empty() && E.find_first_not_of("0123456789") == std::string::npos;
    R += IsPosition ? E : ProcessName(E);
    if (Orders(i) == okDesc) R += " DESC";
    R += i < Count() - 1 ? ",\r\n  " : "\r\n";
  }
  if (R.empty()) return R;
  return Heading(Parser(), "ORDER") + R;
}

}  // namespace Vexar
