#include "parser/tabledefs.h"

#include <algorithm>
#include <array>
#include <memory_resource>
#include <unordered_map>
#include <unordered_set>

#include "parser/scriptwriter.h"
#include "parser/selectparser.h"
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
    if (!Orders || Orders->Count() == 0) return;
    const std::string Prefix = FAlias + ".";
    for (int i = 0; i < Orders->Count();) {
      if (Orders->Strings(i).compare(0, Prefix.size(), Prefix) == 0)
        Orders->Delete(i);
      else
        ++i;
    }
  }
}

TVXTableDefs* TVXTableDef::TableDefs() const {
  return ScriptWriter::FastCast<TVXTableDefs>(Collection());
}

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

namespace {

// The parameter list of a stored procedure, "(:A, :B)", or nothing.
void WriteProcParams(std::string& Out, const TVXTableDef& T) {
  const size_t Start = Out.size();
  const TVXFieldDefs* Fields = T.FieldDefs();
  for (int i = 0; i < Fields->Count(); ++i) {
    const TVXFieldDef* F = Fields->Items(i);
    if (!F->IsInputParam()) continue;
    Out += Out.size() == Start ? "(" : ", ";
    // A parameter named by the caller is written as one; a value given in
    // the statement (a number, a text, an expression) is written as it is.
    if (F->Kind() == fkIdentifier || F->Kind() == fkUnknown) {
      Out += ':';
      Out += F->Name();
    } else {
      Out += F->TVXFunctionDef::GetScript();
    }
  }
  if (Out.size() > Start) Out += ')';
}

// Name, procedure parameters and alias (TVXTableDef::GetTableText).
void WriteTableText(std::string& Out, const TVXTableDef& T) {
  const TVXSelectParser* P = T.Parser();
  ScriptWriter::AppendItemName(Out, P, T.Name());
  if (T.TableType() == qttStoredProc) WriteProcParams(Out, T);
  if (!T.Alias().empty() && T.Alias() != T.Name()) {
    Out += ' ';
    ScriptWriter::AppendItemName(Out, P, T.Alias());
  }
}

}  // namespace

std::string TVXTableDef::GetProcParams() const {
  std::string R;
  WriteProcParams(R, *this);
  return R;
}

std::string TVXTableDef::GetTableText() const {
  std::string R;
  WriteTableText(R, *this);
  return R;
}

// ---------------------------------------------------------------------------
// Writing joins

namespace {

// Whether S holds only blanks and control characters (nothing that Trim keeps).
bool IsBlank(std::string_view S) {
  for (char C : S)
    if (static_cast<unsigned char>(C) > ' ') return false;
  return true;
}

// What a join's condition names: the qualifiers of its two sides, and the
// joined table of the owner's list (null when the owner is in no list).
// Left is null when the join cannot be written.
struct TJoinSides {
  const std::string* Left = nullptr;
  const std::string* Right = nullptr;
  const TVXTableDef* Joined = nullptr;
};

TJoinSides SidesOf(const TVXJoinDef& J) {
  TJoinSides S;
  const TVXTableDef* Owner = J.GetTableDef();
  if (!Owner || J.FieldName().empty() || IsBlank(J.JoinField()) || J.JoinAlias().empty())
    return S;
  if (J.JoinKind() < vxjInnerJoin || J.JoinKind() > vxjFOuterJoin) return S;
  const std::string* Right = &J.JoinAlias();
  if (Owner->TableDefs()) {
    S.Joined = J.GetJoinedTable();
    if (!S.Joined) return S;
    // Like the left side, a joined table without alias is named by its name.
    Right = &S.Joined->Qualifier();
  }
  const std::string* Left = &Owner->Qualifier();
  if (Left->empty() || Right->empty()) return S;
  S.Left = Left;
  S.Right = Right;
  return S;
}

// "C.CUST_ID = O.CUST_ID" for a join whose sides S names.
void WriteCondition(std::string& Out, const TVXJoinDef& J, const TJoinSides& S) {
  const TVXSelectParser* P = J.Parser();
  ScriptWriter::AppendItemName(Out, P, *S.Left);
  Out += '.';
  ScriptWriter::AppendItemName(Out, P, J.FieldName());
  Out += ' ';
  Out += J.Comparison();
  Out += ' ';
  ScriptWriter::AppendItemName(Out, P, *S.Right);
  Out += '.';
  ScriptWriter::AppendItemName(Out, P, J.JoinField());
}

// The kind words of J ("INNER", "LEFT OUTER", ...), LEFT and RIGHT swapped
// for a join written from its right side.
void WriteKindText(std::string& Out, const TVXJoinDef& J, bool Reversed) {
  TVXJoinKind K = J.JoinKind();
  if (Reversed && K == vxjLOuterJoin)
    K = vxjROuterJoin;
  else if (Reversed && K == vxjROuterJoin)
    K = vxjLOuterJoin;
  const char* Words = nullptr;
  switch (K) {
    case vxjInnerJoin:
      Words = "INNER";
      break;
    case vxjLOuterJoin:
      Words = "LEFT OUTER";
      break;
    case vxjROuterJoin:
      Words = "RIGHT OUTER";
      break;
    case vxjFOuterJoin:
      Words = "FULL OUTER";
      break;
  }
  if (Words) ScriptWriter::AppendKeyword(Out, J.Parser(), Words);
}

}  // namespace

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
//
// The writer's lists take their memory from the resource it is given: the
// callers hand it a buffer on the stack that holds the lists of a usual FROM
// clause, so that writing one costs no heap allocation.

namespace {

class TFromWriter {
 public:
  TFromWriter(const TVXTableDefs& Tables, std::pmr::memory_resource* Memory)
      : FTables(Tables),
        FIndex(Memory),
        FEdges(Memory),
        FIn(Memory),
        FOutStart(Memory),
        FInStart(Memory),
        FWritten(Memory),
        FEmitted(Memory),
        FPendingSelf(Memory),
        FConds(Memory),
        FStack(Memory),
        FKids(Memory) {
    const std::vector<TCollectionItem*>& List = Tables.List();
    const int N = static_cast<int>(List.size());
    FWritten.assign(N, false);
    // Table positions by address, for the joined tables the joins name.
    FIndex.reserve(N);
    for (int i = 0; i < N; ++i) FIndex.push_back({static_cast<const TVXTableDef*>(List[i]), i});
    std::sort(FIndex.begin(), FIndex.end());
    // The edges come in the order of their tables, so each table's own joins
    // (out) are a run of them, from FOutStart[T] to FOutStart[T + 1].
    FOutStart.assign(N + 1, 0);
    for (int i = 0; i < N; ++i) {
      FOutStart[i] = static_cast<int>(FEdges.size());
      const auto* T = static_cast<const TVXTableDef*>(List[i]);
      if (T->Name().empty()) continue;  // an unnamed table is never written
      for (const TCollectionItem* Item : T->JoinDefs()->List()) {
        const auto* J = static_cast<const TVXJoinDef*>(Item);
        const TJoinSides S = SidesOf(*J);
        if (!S.Joined || S.Joined->Name().empty() || !S.Left) continue;
        FEdges.push_back({J, S, i, IndexOf(S.Joined)});
      }
    }
    FOutStart[N] = static_cast<int>(FEdges.size());
    // The joins of other tables that reach a table (in), in the order of the
    // edges: FIn from FInStart[T] to FInStart[T + 1].
    FInStart.assign(N + 1, 0);
    for (const Edge& E : FEdges)
      if (E.To != E.From) ++FInStart[E.To + 1];
    for (int i = 0; i < N; ++i) FInStart[i + 1] += FInStart[i];
    FIn.resize(FInStart[N]);
    for (int E = 0; E < static_cast<int>(FEdges.size()); ++E)
      if (FEdges[E].To != FEdges[E].From) FIn[FInStart[FEdges[E].To]++] = E;
    // Filling moved each table's start on to the next table's start: shift
    // the starts back by one place.
    for (int i = N; i > 0; --i) FInStart[i] = FInStart[i - 1];
    FInStart[0] = 0;
    FEmitted.assign(FEdges.size(), false);
  }

  // The whole FROM text: entries separated by "," and a line break.
  void Write(std::string& Out) {
    bool First = true;
    for (int Start : ComponentStarts()) {
      if (!First) Out += ",\r\n";
      First = false;
      Entry(Out, Start);
    }
  }

  // The entry that starts at table Start.
  void Entry(std::string& Out, int Start) {
    FWritten[Start] = true;
    for (int E : Outs(Start))
      if (FEdges[E].To == Start) FPendingSelf.push_back(E);
    Out += "  ";
    WriteTableText(Out, *FTables.Items(Start));
    std::pmr::vector<Frame>& Stack = FStack;
    std::pmr::vector<int>& Kids = FKids;
    Stack.assign(1, {Start, true});
    while (!Stack.empty()) {
      Frame F = Stack.back();
      Stack.pop_back();
      Kids.clear();
      const size_t Mark = Out.size();
      Out += F.Root ? " " : "  ";
      auto Visit = [&](int Other) {
        if (Other == F.Table || FWritten[Other]) return;
        FWritten[Other] = true;
        Out += "\r\n  ";
        Clause(Out, Other);
        Kids.push_back(Other);
      };
      for (int E : Outs(F.Table)) Visit(FEdges[E].To);
      for (int E : Ins(F.Table)) Visit(FEdges[E].From);
      if (Kids.empty()) {
        Out.resize(Mark);
        continue;
      }
      for (auto It = Kids.rbegin(); It != Kids.rend(); ++It) Stack.push_back({*It, false});
    }
  }

 private:
  struct Edge {
    const TVXJoinDef* Join;
    TJoinSides Sides;
    int From;
    int To;
  };
  // The edge numbers from First up to Last.
  struct TEdgeNumbers {
    struct Iter {
      int E;
      int operator*() const { return E; }
      Iter& operator++() {
        ++E;
        return *this;
      }
      bool operator!=(const Iter& O) const { return E != O.E; }
    };
    int First, Last;
    Iter begin() const { return {First}; }
    Iter end() const { return {Last}; }
  };
  // The edge numbers of an array part.
  struct TEdgeList {
    const int *First, *Last;
    const int* begin() const { return First; }
    const int* end() const { return Last; }
  };
  TEdgeNumbers Outs(int T) const { return {FOutStart[T], FOutStart[T + 1]}; }
  TEdgeList Ins(int T) const { return {FIn.data() + FInStart[T], FIn.data() + FInStart[T + 1]}; }

  // The position of T in the list; 0 for a table of another list.
  int IndexOf(const TVXTableDef* T) const {
    auto It = std::lower_bound(FIndex.begin(), FIndex.end(), std::pair<const TVXTableDef*, int>(T, 0));
    return It != FIndex.end() && It->first == T ? It->second : 0;
  }

  // "INNER JOIN T A ON (...)" for a table just marked as written.
  void Clause(std::string& Out, int Table) {
    FConds.clear();
    auto Take = [&](int E) {
      const Edge& Ed = FEdges[E];
      if (!FEmitted[E] && FWritten[Ed.From] && FWritten[Ed.To]) {
        FEmitted[E] = true;
        FConds.push_back(E);
      }
    };
    for (int E : Outs(Table)) Take(E);
    for (int E : Ins(Table)) Take(E);
    // Conditions of a table on itself wait for the first clause after it.
    for (int E : FPendingSelf) Take(E);
    FPendingSelf.clear();
    std::sort(FConds.begin(), FConds.end());
    const Edge& First = FEdges[FConds.front()];
    bool Reversed = First.From == Table && First.To != Table;
    const TVXJoinDef* J = First.Join;
    const TVXSelectParser* P = J->Parser();
    WriteKindText(Out, *J, Reversed);
    Out += ' ';
    ScriptWriter::AppendKeyword(Out, P, "JOIN");
    Out += ' ';
    WriteTableText(Out, *FTables.Items(Table));
    Out += ' ';
    ScriptWriter::AppendKeyword(Out, P, "ON");
    Out += " (";
    for (size_t c = 0; c < FConds.size(); ++c) {
      if (c) {
        Out += ' ';
        ScriptWriter::AppendKeyword(Out, P, "AND");
        Out += ' ';
      }
      const Edge& Ed = FEdges[FConds[c]];
      WriteCondition(Out, *Ed.Join, Ed.Sides);
    }
    Out += ')';
  }

  // The first table of each connected part: its first table that no join of
  // another table targets, else its first table; in model order.
  std::pmr::vector<int> ComponentStarts() {
    std::pmr::memory_resource* Memory = FIn.get_allocator().resource();
    int N = FTables.Count();
    std::pmr::vector<int> Parent(N, Memory);
    for (int i = 0; i < N; ++i) Parent[i] = i;
    auto Find = [&](int X) {
      while (Parent[X] != X) X = Parent[X] = Parent[Parent[X]];
      return X;
    };
    for (const Edge& E : FEdges) Parent[Find(E.From)] = Find(E.To);
    std::pmr::vector<int> Start(N, -1, Memory);
    for (int i = 0; i < N; ++i) {
      if (static_cast<const TVXTableDef*>(FTables.List()[i])->Name().empty()) continue;
      int C = Find(i);
      // Prefer the first table that no other table's join targets.
      if (Start[C] < 0 || (FInStart[Start[C]] != FInStart[Start[C] + 1] && FInStart[i] == FInStart[i + 1]))
        Start[C] = i;
    }
    std::pmr::vector<int> R(Memory);
    for (int S : Start)
      if (S >= 0) R.push_back(S);
    std::sort(R.begin(), R.end());
    return R;
  }

  struct Frame {
    int Table;
    bool Root;
  };

  const TVXTableDefs& FTables;
  std::pmr::vector<std::pair<const TVXTableDef*, int>> FIndex;
  std::pmr::vector<Edge> FEdges;
  std::pmr::vector<int> FIn, FOutStart, FInStart;
  std::pmr::vector<bool> FWritten, FEmitted;
  std::pmr::vector<int> FPendingSelf, FConds;
  // The walk of Entry, kept for the next entry.
  std::pmr::vector<Frame> FStack;
  std::pmr::vector<int> FKids;
};

// Room on the stack for the lists of a FROM clause of a few tables and joins.
using TFromMemory = std::array<std::byte, 2048>;

}  // namespace

std::string TVXTableDef::GetScript() const {
  std::string R;
  TVXTableDefs* Tables = TableDefs();
  if (!Tables) {
    R = "  ";
    WriteTableText(R, *this);
  } else {
    TFromMemory Buffer;
    std::pmr::monotonic_buffer_resource Memory(Buffer.data(), Buffer.size());
    TFromWriter(*Tables, &Memory).Entry(R, Index());
  }
  return R;
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
  FFieldCountValid = false;  // a table came or went, with whatever fields it holds
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

// A short list is searched from the front, which costs less than keeping
// the maps; longer ones are looked up in them.
constexpr int ScannedTables = 16;

TVXTableDef* TVXTableDefs::FindByAlias(const std::string& S) const { return FindTable(S, true); }

TVXTableDef* TVXTableDefs::FindByName(const std::string& S) const { return FindTable(S, false); }

TVXTableDef* TVXTableDefs::FindTable(const std::string& S, bool ByAlias) const {
  if (Count() <= ScannedTables) {
    for (TCollectionItem* I : List()) {
      auto* T = static_cast<TVXTableDef*>(I);
      if ((ByAlias ? T->Alias() : T->Name()) == S) return T;
    }
    return nullptr;
  }
  if (!FNamesIndexed) IndexNames();
  const auto& Map = ByAlias ? FByAlias : FByName;
  auto It = Map.find(S);
  return It == Map.end() ? nullptr : It->second;
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
  if (!FFieldCountValid) {
    int N = 0;
    for (TCollectionItem* I : List()) N += static_cast<TVXTableDef*>(I)->FieldDefs()->Count();
    FFieldCount = N;
    FFieldCountValid = true;
  }
  return FFieldCount;
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
    for (TCollectionItem* Item : static_cast<TVXTableDef*>(I)->FieldDefs()->List()) {
      auto* F = static_cast<TVXFieldDef*>(Item);
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

void ScriptWriter::AppendFromText(std::string& Out, const TVXTableDefs& Tables) {
  TFromMemory Buffer;
  std::pmr::monotonic_buffer_resource Memory(Buffer.data(), Buffer.size());
  TFromWriter(Tables, &Memory).Write(Out);
}

std::string TVXTableDefs::GetFromText() const {
  std::string R;
  ScriptWriter::AppendFromText(R, *this);
  return R;
}

namespace {

// The body of TVXTableDefs::GetScript: the SELECT list (or "*") and the FROM
// clause; nothing without fields and tables.
void WriteTableDefs(std::string& Out, const TVXTableDefs& Tables) {
  const size_t Start = Out.size();
  Out += "\r\n";
  bool AnyField = false;
  for (const TVXFieldDef* F : Tables.GetOrderedFields()) {
    if (!F || F->IsInputParam()) continue;
    // A field that writes nothing takes no place in the list.
    const size_t Mark = Out.size();
    Out += AnyField ? ",\r\n  " : "  ";
    const size_t Text = Out.size();
    ScriptWriter::AppendScript(Out, *F);
    if (Out.size() == Text)
      Out.resize(Mark);
    else
      AnyField = true;
  }
  if (!AnyField) {
    Out.resize(Start);
    Out += '*';  // taken back when no table is written either
  }
  const size_t Mark = Out.size();
  Out += "\r\n";
  ScriptWriter::AppendKeyword(Out, Tables.Parser(), "FROM");
  Out += "\r\n";
  const size_t From = Out.size();
  ScriptWriter::AppendFromText(Out, Tables);
  if (Out.size() == From)
    Out.resize(AnyField ? Mark : Start);
  else
    Out += "\r\n";
}

}  // namespace

std::string TVXTableDefs::GetScript() const {
  std::string R;
  WriteTableDefs(R, *this);
  return R;
}

void ScriptWriter::AppendScript(std::string& Out, const TVXTableDefs& X) {
  if (IsExactly<TVXTableDefs>(X))
    WriteTableDefs(Out, X);
  else
    Out += X.GetScript();
}

// ---------------------------------------------------------------------------
// TVXJoinDef

TVXTableDef* TVXJoinDef::GetTableDef() const {
  const auto* Joins = ScriptWriter::FastCast<const TVXJoinDefs>(Collection());
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
  std::string R;
  WriteKindText(R, *this, Reversed);
  return R;
}

std::string TVXJoinDef::GetCondition() const {
  std::string R;
  const TJoinSides S = SidesOf(*this);
  if (S.Left) WriteCondition(R, *this, S);
  return R;
}

std::string TVXJoinDef::GetScript() const {
  std::string R;
  const TJoinSides S = SidesOf(*this);
  if (!S.Left) return R;
  const TVXSelectParser* P = Parser();
  WriteKindText(R, *this, false);
  R += ' ';
  ScriptWriter::AppendKeyword(R, P, "JOIN");
  R += ' ';
  if (const TVXTableDef* Joined = GetJoinedTable())
    WriteTableText(R, *Joined);
  else
    ScriptWriter::AppendItemName(R, P, FJoinAlias);
  R += ' ';
  ScriptWriter::AppendKeyword(R, P, "ON");
  R += " (";
  WriteCondition(R, *this, S);
  R += ')';
  return R;
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
    R += "\r\n  ";
    R += S;
  }
  return R;
}

}  // namespace Vexar
