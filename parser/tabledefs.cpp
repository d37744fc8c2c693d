#include "parser/tabledefs.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "parser/selectparser.h"
#include "platform/format.h"
#include "platform/strutils.h"

namespace Vexar {

// ---------------------------------------------------------------------------
// TVXTableDef

void TVXTableDef::Init() {
  FFieldDefs = CreateFieldDefs();
  FJoinDefs = CreateJoinDefs();
  FTableType = qttTable;
}

std::unique_ptr<TVXFieldDefs> TVXTableDef::CreateFieldDefs() {
  return std::make_unique<TVXFieldDefs>(this, &ItemClassOf<TVXFieldDef>);
}

std::unique_ptr<TVXJoinDefs> TVXTableDef::CreateJoinDefs() {
  return std::make_unique<TVXJoinDefs>(this, &ItemClassOf<TVXJoinDef>);
}

TVXTableDef::~TVXTableDef() {
  // Emptied before they are freed: each field renumbers the SELECT list,
  // which reads the field lists of every table, this one included.
  FJoinDefs->Clear();
  FFieldDefs->Clear();
  FJoinDefs.reset();
  FFieldDefs.reset();
  TVXTableDefs* Tables = TableDefs();
  if (Tables && !Tables->Clearing()) Tables->UpdateJoins(this);
  if (TVXSelectParser* P = Parser()) {
    // Sort entries that name this table go with it.
    TVXOrderByItems* Orders = P->OrderByItems();
    if (!Orders) return;
    const std::string Prefix = FAlias + ".";
    for (int i = 0; i < Orders->Count();) {
      if (Orders->Strings(i).compare(0, Prefix.size(), Prefix) == 0)
        Orders->Delete(i);
      else
        ++i;
    }
  }
}

TVXTableDefs* TVXTableDef::TableDefs() const { return dynamic_cast<TVXTableDefs*>(Collection()); }

void TVXTableDef::SetName(const std::string& Value) {
  if (Value == FName) return;
  // An alias that followed the name follows it; join targets keep their text.
  const std::string OldAlias = FAlias, OldName = FName;
  if (FAlias == FName) FAlias = Value;
  FName = Value;
  if (TVXTableDefs* Tables = TableDefs()) {
    Tables->TableNameChanged(this, OldName);
    if (FAlias != OldAlias) Tables->TableAliasChanged(this, OldAlias);
  }
}

void TVXTableDef::SetAlias(const std::string& Value) {
  if (Value == FAlias) return;
  TVXTableDefs* Tables = TableDefs();
  if (Tables) Tables->UpdateTableAlias(FAlias, Value);
  const std::string Old = FAlias;
  FAlias = Value;
  if (Tables) Tables->TableAliasChanged(this, Old);
}

void TVXTableDef::SetFieldDefs(const TVXFieldDefs* Value) {
  if (Value != FFieldDefs.get()) FFieldDefs->Assign(Value);
}

void TVXTableDef::SetJoinDefs(const TVXJoinDefs* Value) {
  if (Value != FJoinDefs.get()) FJoinDefs->Assign(Value);
}

void TVXTableDef::SetParser(TVXSelectParser* Value) {
  TVXCollectionItem::SetParser(Value);
  FFieldDefs->SetParser(Value);
  FJoinDefs->SetParser(Value);
}

void TVXTableDef::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TVXTableDef*>(Source);
  if (!Src) {
    TVXCollectionItem::Assign(Source);
    return;
  }
  if (Src == this) return;
  TVXCollectionItem::Assign(Source);
  // A copy takes the alias as it stands; it renames no join of the list.
  FAlias = Src->FAlias;
  FFieldDefs->Assign(Src->FFieldDefs.get());
  FName = Src->FName;
  if (TVXTableDefs* Tables = TableDefs()) Tables->TableNamesChanged();
}

std::string TVXTableDef::GetProcParams() const {
  std::string R;
  for (int i = 0; i < FFieldDefs->Count(); ++i) {
    const TVXFieldDef* F = FFieldDefs->Items(i);
    if (!F->IsInputParam()) continue;
    if (!R.empty()) R += ", ";
    // A parameter named by the caller is written as one; a value given in
    // the statement (a number, a text, an expression) is written as it is.
    if (F->Kind() == fkIdentifier || F->Kind() == fkUnknown)
      R += ":" + F->Name();
    else
      R += F->TVXFunctionDef::GetScript();
  }
  return R.empty() ? R : "(" + R + ")";
}

std::string TVXTableDef::GetTableText() const {
  std::string R = ProcessName(FName);
  if (FTableType == qttStoredProc) R += GetProcParams();
  if (!FAlias.empty() && FAlias != FName) R += " " + ProcessName(FAlias);
  return R;
}

// ---------------------------------------------------------------------------
// Writing the FROM clause.
//
// The tables and the joins that can be written form a graph. Each connected
// part of it is written as one entry of the FROM list, the entries separated
// by commas in model order of their first tables. An entry starts at its
// first table that no join targets (else at its first table) and walks the
// joins depth first: at each table, first the tables its own joins reach,
// then the tables whose joins reach it, each written once as a JOIN clause.
// A join definition is written once, in the ON condition of whichever of its
// two tables is written later; all definitions between a newly written table
// and the tables already written share its ON condition, joined by AND. A
// join written from its right side turns LEFT into RIGHT and back. For join
// graphs that are trees hanging from unjoined tables, this is exactly the
// walk along each table's own joins.

namespace {

class TFromWriter {
 public:
  explicit TFromWriter(const TVXTableDefs& Tables) : FTables(Tables) {
    int N = Tables.Count();
    FWritten.assign(N, false);
    FOut.resize(N);
    FIn.resize(N);
    for (int i = 0; i < N; ++i) FIndex[Tables.Items(i)] = i;
    for (int i = 0; i < N; ++i) {
      TVXTableDef* T = Tables.Items(i);
      if (T->Name().empty()) continue;  // an unnamed table is never written
      for (int j = 0; j < T->JoinDefs()->Count(); ++j) {
        TVXJoinDef* J = T->JoinDefs()->Items(j);
        TVXTableDef* R = J->GetJoinedTable();
        if (!R || R->Name().empty() || J->GetCondition().empty()) continue;
        int E = static_cast<int>(FEdges.size());
        FEdges.push_back({J, i, FIndex[R]});
        FOut[i].push_back(E);
        if (FIndex[R] != i) FIn[FIndex[R]].push_back(E);
      }
    }
    FEmitted.assign(FEdges.size(), false);
  }

  // The whole FROM text: entries separated by "," and a line break.
  std::string Write() {
    std::string R;
    for (int Start : ComponentStarts()) {
      if (!R.empty()) R += ",\r\n";
      R += Entry(Start);
    }
    return R;
  }

  // The entry that starts at table Start.
  std::string Entry(int Start) {
    FWritten[Start] = true;
    for (int E : FOut[Start])
      if (FEdges[E].To == Start) FPendingSelf.push_back(E);
    std::string R = "  " + FTables.Items(Start)->GetTableText();
    struct Frame {
      int Table;
      bool Root;
    };
    std::vector<Frame> Stack{{Start, true}};
    while (!Stack.empty()) {
      Frame F = Stack.back();
      Stack.pop_back();
      std::vector<int> Kids;
      std::string Clauses;
      auto Visit = [&](int Other) {
        if (Other == F.Table || FWritten[Other]) return;
        FWritten[Other] = true;
        Clauses += "\r\n  " + Clause(Other);
        Kids.push_back(Other);
      };
      for (int E : FOut[F.Table]) Visit(FEdges[E].To);
      for (int E : FIn[F.Table]) Visit(FEdges[E].From);
      if (Clauses.empty()) continue;
      R += F.Root ? " " : "  ";
      R += Clauses;
      for (auto It = Kids.rbegin(); It != Kids.rend(); ++It) Stack.push_back({*It, false});
    }
    return R;
  }

 private:
  struct Edge {
    TVXJoinDef* Join;
    int From;
    int To;
  };

  // "INNER JOIN T A ON (...)" for a table just marked as written.
  std::string Clause(int Table) {
    std::vector<int> Conds;
    auto Take = [&](int E) {
      const Edge& Ed = FEdges[E];
      if (!FEmitted[E] && FWritten[Ed.From] && FWritten[Ed.To]) {
        FEmitted[E] = true;
        Conds.push_back(E);
      }
    };
    for (int E : FOut[Table]) Take(E);
    for (int E : FIn[Table]) Take(E);
    // Conditions of a table on itself wait for the first clause after it.
    for (int E : FPendingSelf) Take(E);
    FPendingSelf.clear();
    std::sort(Conds.begin(), Conds.end());
    const Edge& First = FEdges[Conds.front()];
    bool Reversed = First.From == Table && First.To != Table;
    const TVXJoinDef* J = First.Join;
    std::string On;
    for (int E : Conds) {
      if (!On.empty()) On += " " + J->ProcessKeyword("AND") + " ";
      On += FEdges[E].Join->GetCondition();
    }
    return Format("%s %s %s %s (%s)", J->GetKindText(Reversed), J->ProcessKeyword("JOIN"),
                  FTables.Items(Table)->GetTableText(), J->ProcessKeyword("ON"), On);
  }

  // The first table of each connected part: its first table that no join of
  // another table targets, else its first table; in model order.
  std::vector<int> ComponentStarts() {
    int N = FTables.Count();
    std::vector<int> Parent(N);
    for (int i = 0; i < N; ++i) Parent[i] = i;
    auto Find = [&](int X) {
      while (Parent[X] != X) X = Parent[X] = Parent[Parent[X]];
      return X;
    };
    for (const Edge& E : FEdges) Parent[Find(E.From)] = Find(E.To);
    std::vector<int> Start(N, -1);
    for (int i = 0; i < N; ++i) {
      if (FTables.Items(i)->Name().empty()) continue;
      int C = Find(i);
      // Prefer the first table that no other table's join targets.
      if (Start[C] < 0 || (!FIn[Start[C]].empty() && FIn[i].empty())) Start[C] = i;
    }
    std::vector<int> R;
    for (int S : Start)
      if (S >= 0) R.push_back(S);
    std::sort(R.begin(), R.end());
    return R;
  }

  const TVXTableDefs& FTables;
  std::unordered_map<const TVXTableDef*, int> FIndex;
  std::vector<Edge> FEdges;
  std::vector<std::vector<int>> FOut, FIn;
  std::vector<bool> FWritten, FEmitted;
  std::vector<int> FPendingSelf;
};

}  // namespace

std::string TVXTableDef::GetScript() const {
  TVXTableDefs* Tables = TableDefs();
  if (!Tables) return "  " + GetTableText();
  return TFromWriter(*Tables).Entry(Index());
}

// ---------------------------------------------------------------------------
// TVXTableDefs

TVXTableDefs::~TVXTableDefs() { Clear(); }

void TVXTableDefs::Clear() {
  FClearing = true;
  try {
    TCollection::Clear();
  } catch (...) {
    FClearing = false;
    throw;
  }
  FClearing = false;
}

void TVXTableDefs::Update(TCollectionItem* Item) {
  TVXCollection::Update(Item);
  // A table added at the end holds only keys no earlier table took; any
  // other change (a table removed or moved) makes the maps again.
  if (FNamesIndexed && Item->Collection() == this && Count() == FIndexedCount + 1 &&
      List().back() == Item) {
    auto* T = static_cast<TVXTableDef*>(Item);
    FByAlias.emplace(T->Alias(), T);
    FByName.emplace(T->Name(), T);
    ++FIndexedCount;
    return;
  }
  FNamesIndexed = false;
}

void TVXTableDefs::KeyChanged(std::unordered_map<std::string, TVXTableDef*>& Map,
                              TVXTableDef* Table, const std::string& Old, const std::string& New) {
  if (!FNamesIndexed) return;
  auto OldIt = Map.find(Old);
  if (OldIt != Map.end() && OldIt->second == Table) {
    // The old key goes to the next table holding it, if any.
    Map.erase(OldIt);
    const bool ByAlias = &Map == &FByAlias;
    for (TCollectionItem* I : List()) {
      auto* T = static_cast<TVXTableDef*>(I);
      if (T != Table && (ByAlias ? T->Alias() : T->Name()) == Old) {
        Map.emplace(Old, T);
        break;
      }
    }
  }
  auto It = Map.find(New);
  if (It == Map.end()) {
    Map.emplace(New, Table);
  } else if (It->second != Table && It->second->Index() > Table->Index()) {
    FNamesIndexed = false;
  }
}

void TVXTableDefs::TableAliasChanged(TVXTableDef* Table, const std::string& Old) {
  KeyChanged(FByAlias, Table, Old, Table->Alias());
}

void TVXTableDefs::TableNameChanged(TVXTableDef* Table, const std::string& Old) {
  KeyChanged(FByName, Table, Old, Table->Name());
}

void TVXTableDefs::IndexNames() const {
  FByAlias.clear();
  FByName.clear();
  for (TCollectionItem* I : List()) {
    auto* T = static_cast<TVXTableDef*>(I);
    FByAlias.emplace(T->Alias(), T);  // the first table with the text keeps it
    FByName.emplace(T->Name(), T);
  }
  FIndexedCount = Count();
  FNamesIndexed = true;
}

TVXTableDef* TVXTableDefs::FindByAlias(const std::string& S) const {
  if (!FNamesIndexed) IndexNames();
  auto It = FByAlias.find(S);
  return It == FByAlias.end() ? nullptr : It->second;
}

TVXTableDef* TVXTableDefs::FindByName(const std::string& S) const {
  if (!FNamesIndexed) IndexNames();
  auto It = FByName.find(S);
  return It == FByName.end() ? nullptr : It->second;
}

std::string TVXTableDefs::GetUniqueAlias(const std::string& Base, bool Force) const {
  std::unordered_set<std::string> Taken;
  for (TCollectionItem* I : List()) {
    const TVXFieldDefs* Fields = static_cast<TVXTableDef*>(I)->FieldDefs();
    for (int j = 0; j < Fields->Count(); ++j) Taken.insert(Fields->Items(j)->Alias());
  }
  std::string A = Base;
  bool NeedNumber = Force;
  for (int n = 1; NeedNumber || Taken.count(A); ++n) {
    A = Base + std::to_string(n);
    NeedNumber = false;
  }
  return A;
}

bool TVXTableDefs::IsTableJoined(const TVXTableDef* T) const {
  if (!T) return false;
  for (TCollectionItem* I : List()) {
    const TVXJoinDefs* Joins = static_cast<TVXTableDef*>(I)->JoinDefs();
    for (int j = 0; j < Joins->Count(); ++j)
      if (Joins->Items(j)->JoinAlias() == T->Alias()) return true;
  }
  return false;
}

int TVXTableDefs::GetFieldCount() const {
  int N = 0;
  for (TCollectionItem* I : List()) N += static_cast<TVXTableDef*>(I)->FieldDefs()->Count();
  return N;
}

TVXFieldDef* TVXTableDefs::GetFieldDefs(int Index) const {
  for (TCollectionItem* I : List()) {
    const TVXFieldDefs* Fields = static_cast<TVXTableDef*>(I)->FieldDefs();
    for (int j = 0; j < Fields->Count(); ++j)
      if (Fields->Items(j)->OutputIndex() == Index) return Fields->Items(j);
  }
  return nullptr;
}

std::vector<TVXFieldDef*> TVXTableDefs::GetOrderedFields() const {
  std::vector<TVXFieldDef*> Slots(GetFieldCount(), nullptr);
  for (TCollectionItem* I : List()) {
    const TVXFieldDefs* Fields = static_cast<TVXTableDef*>(I)->FieldDefs();
    for (int j = 0; j < Fields->Count(); ++j) {
      TVXFieldDef* F = Fields->Items(j);
      int p = F->OutputIndex();
      if (p >= 0 && p < static_cast<int>(Slots.size()) && !Slots[p]) Slots[p] = F;
    }
  }
  return Slots;
}

TVXFieldDef* TVXTableDefs::MoveField(TVXFieldDef* Field, TVXTableDef* To) {
  TVXFieldDef* Moved = To->FieldDefs()->Add();  // last in the SELECT list
  Moved->Assign(Field);
  // Exchange places: the copy takes the field's position and the field the
  // last one, so that freeing it renumbers nothing.
  const int Place = Field->OutputIndex();
  Field->SetOutputIndex(Moved->OutputIndex());
  Moved->SetOutputIndex(Place);
  delete Field;
  return Moved;
}

void TVXTableDefs::UpdateJoins(const TVXTableDef* Skip) {
  auto Exists = [&](const std::string& A) {
    for (TCollectionItem* I : List()) {
      auto* T = static_cast<TVXTableDef*>(I);
      if (T != Skip && (T->Alias() == A || T->Name() == A)) return true;
    }
    return false;
  };
  for (TCollectionItem* I : List()) {
    auto* T = static_cast<TVXTableDef*>(I);
    if (T == Skip) continue;
    TVXJoinDefs* Joins = T->JoinDefs();
    for (int j = 0; j < Joins->Count();) {
      if (!Exists(Joins->Items(j)->JoinAlias()))
        Joins->Delete(j);
      else
        ++j;
    }
  }
}

void TVXTableDefs::UpdateFieldAliases() {
  for (TCollectionItem* I : List()) {
    TVXFieldDefs* Fields = static_cast<TVXTableDef*>(I)->FieldDefs();
    // How many fields of the table use each alias, kept current as aliases change.
    std::unordered_map<std::string, int> Uses;
    for (int j = 0; j < Fields->Count(); ++j) ++Uses[Fields->Items(j)->Alias()];
    for (int j = 0; j < Fields->Count(); ++j) {
      TVXFieldDef* F = Fields->Items(j);
      // An alias of the field's own (one a statement or the user gave) is
      // never replaced: only a field named after its column gets a number.
      if (F->Alias() != F->Name()) continue;
      auto It = Uses.find(F->Name());
      int Others = It == Uses.end() ? 0 : It->second - (F->Alias() == F->Name() ? 1 : 0);
      if (Others <= 0) continue;
      --Uses[F->Alias()];
      F->SetAlias(GetUniqueAlias(F->Kind() == fkIdentifier ? F->Name() : "FIELD_", true));
      ++Uses[F->Alias()];
    }
  }
}

void TVXTableDefs::UpdateTableAlias(const std::string& OldAlias, const std::string& NewAlias) {
  for (TCollectionItem* I : List()) {
    TVXJoinDefs* Joins = static_cast<TVXTableDef*>(I)->JoinDefs();
    for (int j = 0; j < Joins->Count(); ++j)
      if (Joins->Items(j)->JoinAlias() == OldAlias) Joins->Items(j)->SetJoinAlias(NewAlias);
  }
}

void TVXTableDefs::EndUpdate() {
  TVXCollection::EndUpdate();
  UpdateFieldAliases();
}

std::string TVXTableDefs::GetFromText() const { return TFromWriter(*this).Write(); }

std::string TVXTableDefs::GetScript() const {
  std::string Fields;
  for (TVXFieldDef* F : GetOrderedFields()) {
    if (!F || F->IsInputParam()) continue;
    std::string S = F->GetScript();
    if (S.empty()) continue;
    if (!Fields.empty()) Fields += ",\r\n";
    Fields += "  " + S;
  }
  std::string Tables = GetFromText();
  std::string R;
  if (Fields.empty())
    R = Tables.empty() ? "" : "*";
  else
    R = "\r\n" + Fields;
  if (!Tables.empty()) {
    std::string From = Parser() ? Parser()->ProcessKeyword("FROM") : "FROM";
    R += "\r\n" + From + "\r\n" + Tables + "\r\n";
  }
  return R;
}

// ---------------------------------------------------------------------------
// TVXJoinDef

TVXTableDef* TVXJoinDef::GetTableDef() const {
  const auto* Joins = dynamic_cast<const TVXJoinDefs*>(Collection());
  return Joins ? Joins->OwnerTable() : nullptr;
}

TVXTableDef* TVXJoinDef::GetJoinedTable() const {
  TVXTableDef* Owner = GetTableDef();
  TVXTableDefs* Tables = Owner ? Owner->TableDefs() : nullptr;
  if (!Tables) return nullptr;
  TVXTableDef* R = Tables->FindByAlias(FJoinAlias);
  return R ? R : Tables->FindByName(FJoinAlias);
}

void TVXJoinDef::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TVXJoinDef*>(Source);
  if (!Src) {
    TVXCollectionItem::Assign(Source);
    return;
  }
  FJoinKind = Src->FJoinKind;
  FFieldName = Src->FFieldName;
  FJoinField = Src->FJoinField;
  FJoinAlias = Src->FJoinAlias;
  FComparison = Src->FComparison;
}

std::string TVXJoinDef::GetKindText(bool Reversed) const {
  TVXJoinKind K = FJoinKind;
  if (Reversed && K == vxjLOuterJoin)
    K = vxjROuterJoin;
  else if (Reversed && K == vxjROuterJoin)
    K = vxjLOuterJoin;
  switch (K) {
    case vxjInnerJoin:
      return ProcessKeyword("INNER");
    case vxjLOuterJoin:
      return ProcessKeyword("LEFT OUTER");
    case vxjROuterJoin:
      return ProcessKeyword("RIGHT OUTER");
    case vxjFOuterJoin:
      return ProcessKeyword("FULL OUTER");
  }
  return std::string();
}

std::string TVXJoinDef::GetCondition() const {
  TVXTableDef* Owner = GetTableDef();
  if (!Owner || FFieldName.empty() || Trim(FJoinField).empty() || FJoinAlias.empty())
    return std::string();
  if (FJoinKind < vxjInnerJoin || FJoinKind > vxjFOuterJoin) return std::string();
  std::string Right = FJoinAlias;
  if (Owner->TableDefs()) {
    TVXTableDef* R = GetJoinedTable();
    if (!R) return std::string();
    // Like the left side, a joined table without alias is named by its name.
    Right = R->Qualifier();
  }
  const std::string& Left = Owner->Qualifier();
  if (Left.empty() || Right.empty()) return std::string();
  return Format("%s.%s %s %s.%s", ProcessName(Left), ProcessName(FFieldName), FComparison,
                ProcessName(Right), ProcessName(FJoinField));
}

std::string TVXJoinDef::GetScript() const {
  std::string Cond = GetCondition();
  if (Cond.empty()) return Cond;
  TVXTableDef* R = GetJoinedTable();
  std::string Joined = R ? R->GetTableText() : ProcessName(FJoinAlias);
  return Format("%s %s %s %s (%s)", GetKindText(false), ProcessKeyword("JOIN"), Joined,
                ProcessKeyword("ON"), Cond);
}

// ---------------------------------------------------------------------------
// TVXJoinDefs

TVXJoinDef* TVXJoinDefs::Find(const std::string& FieldName, const std::string& JoinAlias,
                              const std::string& JoinField) const {
  for (int i = 0; i < Count(); ++i) {
    TVXJoinDef* J = Items(i);
    if (J->FieldName() == FieldName && J->JoinAlias() == JoinAlias && J->JoinField() == JoinField)
      return J;
  }
  return nullptr;
}

std::string TVXJoinDefs::GetScript() const {
  if (!FOwner) return std::string();
  std::string R;
  for (int i = 0; i < Count(); ++i) {
    std::string S = Items(i)->GetScript();
    if (S.empty()) continue;
    R += "\r\n  " + S;
  }
  return R;
}

}  // namespace Vexar
