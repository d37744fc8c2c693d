#include "parser/funcdefs.h"

#include <typeinfo>

#include "parser/criterions.h"
#include "parser/limits.h"
#include "parser/scanner.h"
#include "parser/scriptwriter.h"
#include "parser/selectparser.h"
#include "parser/tabledefs.h"

namespace Vexar {

// ---------------------------------------------------------------------------
// Writing expressions

namespace {

using ScriptWriter::IsExactly;

// The function list holding Node, or null.
const TVXFunctionDefs* ListOf(const TVXFunctionDef& Node) {
  return ScriptWriter::FastCast<const TVXFunctionDefs, const TVXFieldDefs>(Node.Collection());
}

// What writing an identifier needs to know of the tree it stands in: the
// table that qualifies it (OwningTable) and whether the root of the tree is
// a stored procedure's input parameter. All items of one function list share
// it, and so do the items of a node's own argument list and the node, so it
// is found once for a tree, by its first identifier.
struct TNodeContext {
  bool Known = false;
  bool InputParam = false;
  const TVXTableDef* Table = nullptr;
};

void FindContext(TNodeContext& C, const TVXFunctionDef& Node) {
  // The walk of OwningTable, carried on to the root.
  const TVXFunctionDef* Root = &Node;
  bool TableFound = false;
  while (const TVXFunctionDefs* List = ListOf(*Root)) {
    if (!TableFound && List->OwnerTable()) {
      C.Table = List->OwnerTable();
      TableFound = true;
    }
    if (!List->OwnerNode()) break;
    Root = List->OwnerNode();
  }
  const TVXFieldDef* RootField =
      IsExactly<TVXFunctionDef>(*Root) ? nullptr : ScriptWriter::FastCast<const TVXFieldDef>(Root);
  C.InputParam = RootField && RootField->IsInputParam();
  C.Known = true;
}

void WriteNode(std::string& Out, const TVXFunctionDef& N, TNodeContext& C);
void WriteField(std::string& Out, const TVXFieldDef& F, TNodeContext& C);

// X as its GetScript writes it; C is the context of the list holding X.
void WriteItem(std::string& Out, const TVXFunctionDef& X, TNodeContext& C) {
  if (IsExactly<TVXFunctionDef>(X))
    WriteNode(Out, X, C);
  else if (IsExactly<TVXFieldDef>(X))
    WriteField(Out, static_cast<const TVXFieldDef&>(X), C);
  else
    Out += X.GetScript();
}

// The items of L joined by ", " (TVXFunctionDefs::GetScript); C is their context.
void WriteList(std::string& Out, const TVXFunctionDefs& L, TNodeContext& C) {
  bool First = true;
  for (const TCollectionItem* Item : L.List()) {
    if (!First) Out += ", ";
    First = false;
    WriteItem(Out, *static_cast<const TVXFunctionDef*>(Item), C);
  }
}

// The body of TVXFunctionDef::GetScript; C is N's context.
void WriteNode(std::string& Out, const TVXFunctionDef& N, TNodeContext& C) {
  const TVXSelectParser* P = N.Parser();
  if (N.HasArguments()) {
    const TVXFunctionDefs& Args = *N.Arguments();
    ScriptWriter::AppendFunction(Out, P, N.Name());
    Out += '(';
    if (!IsExactly<TVXFunctionDefs>(Args)) {
      Out += Args.GetScript();
    } else if (Args.OwnerNode() == &N && !Args.OwnerTable()) {
      WriteList(Out, Args, C);  // the arguments stand in N's tree
    } else {
      TNodeContext Own;
      WriteList(Out, Args, Own);
    }
    Out += ')';
    return;
  }
  switch (N.Kind()) {
    case fkFunction:
      ScriptWriter::AppendFunction(Out, P, N.Name());
      Out += "()";
      return;
    case fkIdentifier: {
      // A field of a table, or an identifier used as an argument inside a
      // field, is qualified by its table's alias (or name). Identifiers of
      // conditions stand under no table and carry their qualifier in Name.
      // A value given to a stored procedure is no column of the procedure:
      // its names stand as read.
      if (!C.Known) FindContext(C, N);
      if (!C.InputParam && C.Table && !C.Table->Qualifier().empty()) {
        ScriptWriter::AppendItemName(Out, P, C.Table->Qualifier());
        Out += '.';
      }
      ScriptWriter::AppendItemName(Out, P, N.Name());
      return;
    }
    case fkString: {
      // A value stored with its own enclosing quotes loses one pair; the
      // literal is then written in the dialect's string quoting.
      std::string_view T = N.Name();
      auto IsQ = [](char Ch) { return Ch == '"' || Ch == '\''; };
      if (T.size() > 1 && IsQ(T.front()) && IsQ(T.back())) T = T.substr(1, T.size() - 2);
      if (!P) {
        ScriptWriter::AppendEnclosed(Out, T, '\'');
      } else {
        const TVXSQLScanner* S = P->Scanner();
        if (IsExactly<TVXSQLScanner>(*S))
          ScriptWriter::AppendEnclosed(Out, T, S->GetStringQuote());
        else
          Out += S->QuoteString(T);
      }
      return;
    }
    default:
      Out += N.Name();
      return;
  }
}

// The body of TVXFieldDef::GetScript.
void WriteField(std::string& Out, const TVXFieldDef& F, TNodeContext& C) {
  WriteNode(Out, F, C);
  const std::string& Alias = F.Alias();
  if (Alias.empty() || Alias == F.Name()) return;
  const TVXSelectParser* P = F.Parser();
  Out += ' ';
  ScriptWriter::AppendKeyword(Out, P, "AS");
  Out += ' ';
  // An output alias is quoted when the dialect processes aliases.
  if (P && P->Scanner()->GetProcessAliases())
    ScriptWriter::AppendItemName(Out, P, Alias);
  else
    Out += Alias;
}

}  // namespace

// ---------------------------------------------------------------------------
// TVXFunctionDef

TVXFunctionDef::~TVXFunctionDef() = default;

void TVXFunctionDef::Init() {}

TVXFunctionDefs* TVXFunctionDef::Arguments() const {
  if (!FArguments) {
    FArguments = const_cast<TVXFunctionDef*>(this)->CreateArguments();
    FArguments->SetParser(Parser());
  }
  return FArguments.get();
}

bool TVXFunctionDef::HasArguments() const { return FArguments && FArguments->Count() > 0; }

void TVXFunctionDef::MoveArguments(TVXFunctionDef* Src) {
  if (FArguments) FArguments->Clear();
  if (!Src->HasArguments()) return;
  TVXFunctionDefs* Own = Arguments();
  TVXFunctionDefs* From = Src->FArguments.get();
  // Nodes move only into a list that would have made them alike; a list of
  // another kind (a derived field's own argument class) gets copies.
  if (Own->ItemClass() != From->ItemClass() || typeid(*Own) != typeid(*From)) {
    Own->Assign(From);
    From->Clear();
    return;
  }
  while (From->Count() > 0) From->Items(0)->SetCollection(Own);
}

void TVXFunctionDef::CopyArguments(const TVXFunctionDef* Src) {
  if (Src->HasArguments())
    Arguments()->Assign(Src->FArguments.get());
  else if (FArguments)
    FArguments->Clear();
}

std::unique_ptr<TVXFunctionDefs> TVXFunctionDef::CreateArguments() {
  return std::make_unique<TVXFunctionDefs>(this, &ItemClassOf<TVXFunctionDef>);
}

void TVXFunctionDef::SetName(const std::string& Value) {
  if (FName != Value) FName = Value;
}

void TVXFunctionDef::SetKind(TVXFunctionKind Value) {
  if (FKind != Value) FKind = Value;
}

void TVXFunctionDef::SetArguments(const TVXFunctionDefs* Value) {
  if (Value == FArguments.get()) return;
  if (Value && Value->Count() == 0) {
    if (FArguments) FArguments->Clear();
    return;
  }
  Arguments()->Assign(Value);
}

void TVXFunctionDef::SetParser(TVXSelectParser* Value) {
  TVXCollectionItem::SetParser(Value);
  if (FArguments) FArguments->SetParser(Value);
}

void TVXFunctionDef::Clear() {
  SetName("");
  SetKind(fkUnknown);
  if (FArguments) FArguments->Clear();
}

void TVXFunctionDef::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TVXFunctionDef*>(Source);
  if (!Src) {
    TVXCollectionItem::Assign(Source);
    return;
  }
  if (Src == this) return;
  TVXCollectionItem::Assign(Source);
  CopyArguments(Src);
  SetKind(Src->FKind);
  SetName(Src->FName);
}

int TVXFunctionDef::NestingDepth() const {
  int Depth = 0;
  const TVXFunctionDef* Node = this;
  while (const auto* List = dynamic_cast<const TVXFunctionDefs*>(Node->Collection())) {
    Node = List->OwnerNode();
    if (!Node) break;
    ++Depth;
  }
  return Depth;
}

// Every field script and every grouping entry asks for its table, so the
// walk up the argument lists uses the owners each list decided when it was
// made.
TVXTableDef* TVXFunctionDef::OwningTable() const {
  const TVXFunctionDef* Node = this;
  while (const TVXFunctionDefs* List = ListOf(*Node)) {
    if (TVXTableDef* Table = List->OwnerTable()) return Table;
    Node = List->OwnerNode();
    if (!Node) break;
  }
  return nullptr;
}

std::string TVXFunctionDef::GetScript() const {
  std::string R;
  TNodeContext C;
  WriteNode(R, *this, C);
  return R;
}

void ScriptWriter::AppendScript(std::string& Out, const TVXFunctionDef& X) {
  TNodeContext C;
  WriteItem(Out, X, C);
}

// ---------------------------------------------------------------------------
// TVXFunctionDefs

namespace {

// Owner as a To, or null. The owners of argument lists are mostly
// conditions, which are neither nodes nor tables: they are told apart
// without a failing dynamic_cast.
template <class To, class... Exact>
To* OwnerAs(TPersistent* Owner) {
  if (!Owner || ScriptWriter::IsExactly<TVXCriterion>(*Owner)) return nullptr;
  return ScriptWriter::FastCast<To, Exact...>(Owner);
}

}  // namespace

TVXFunctionDefs::TVXFunctionDefs(TPersistent* Owner, TCollectionItemClass ItemClass)
    : TVXCollection(Owner, ItemClass),
      FOwnerNode(OwnerAs<TVXFunctionDef, TVXFieldDef>(Owner)),
      FOwnerTable(OwnerAs<TVXTableDef>(Owner)) {}

TVXFunctionDefs::TVXFunctionDefs(TVXFunctionDef* Owner, TCollectionItemClass ItemClass)
    : TVXCollection(Owner, ItemClass), FOwnerNode(Owner), FOwnerTable(nullptr) {}

TVXFunctionDefs::TVXFunctionDefs(TVXTableDef* Owner, TCollectionItemClass ItemClass)
    : TVXCollection(Owner, ItemClass), FOwnerNode(nullptr), FOwnerTable(Owner) {}

TVXFunctionDefs::~TVXFunctionDefs() { Clear(); }

void TVXFunctionDefs::CheckDepth() const {
  if (const TVXFunctionDef* Node = FOwnerNode)
    if (Node->NestingDepth() + 1 >= MaxNestingDepth) throw EVXNestingError();
}

TVXFunctionDef* TVXFunctionDefs::Add() {
  CheckDepth();
  return static_cast<TVXFunctionDef*>(TVXCollection::Add());
}

TVXFunctionDef* TVXFunctionDefs::Insert(int Index) {
  CheckDepth();
  return static_cast<TVXFunctionDef*>(TVXCollection::Insert(Index));
}

std::string TVXFunctionDefs::GetScript() const {
  std::string R;
  TNodeContext C;
  WriteList(R, *this, C);
  return R;
}

void ScriptWriter::AppendScript(std::string& Out, const TVXFunctionDefs& X) {
  if (!IsExactly<TVXFunctionDefs>(X)) {
    Out += X.GetScript();
    return;
  }
  TNodeContext C;
  WriteList(Out, X, C);
}

// ---------------------------------------------------------------------------
// TVXFieldDef

namespace {

// The table list a field belongs to through its table, or null.
TVXTableDefs* TableListOf(const TVXFieldDef* Field) {
  const auto* Fields = ScriptWriter::FastCast<const TVXFieldDefs>(Field->Collection());
  TVXTableDef* Table = Fields ? Fields->TableDef() : nullptr;
  return Table ? Table->TableDefs() : nullptr;
}

}  // namespace

void TVXFieldDef::Init() {
  TVXFunctionDef::Init();
  // A new field is last in the SELECT list, whatever its place in its table.
  if (TVXTableDefs* Tables = TableListOf(this))
    FOutputIndex = Tables->GetFieldCount() - 1;
  else
    FOutputIndex = Index() < 0 ? 0 : Index();
  FParamType = ptResult;
}

TVXFieldDef::~TVXFieldDef() {
  // Close the gap this field leaves in the SELECT list.
  if (TVXTableDefs* Tables = TableListOf(this)) {
    if (Tables->Clearing()) return;  // every field goes; nothing to renumber
    std::vector<TVXFieldDef*> Slots = Tables->GetOrderedFields();
    for (size_t p = static_cast<size_t>(FOutputIndex) + 1; p < Slots.size(); ++p)
      if (Slots[p]) Slots[p]->FOutputIndex = static_cast<int>(p) - 1;
  } else if (TCollection* List = Collection()) {
    for (TCollectionItem* Item : List->List()) {
      auto* Field = dynamic_cast<TVXFieldDef*>(Item);
      if (Field && Field != this && Field->FOutputIndex > FOutputIndex) --Field->FOutputIndex;
    }
  }
}

void TVXFieldDef::SetName(const std::string& Value) {
  // Setting the name it already has leaves the field alone (its alias would
  // otherwise count itself as taken and gain a number).
  if (Value == Name()) return;
  if (FAlias == Name()) FAlias = GenerateAlias(Value, false);
  TVXFunctionDef::SetName(Value);
}

void TVXFieldDef::SetKind(TVXFunctionKind Value) {
  TVXFunctionDef::SetKind(Value);
  if (FAlias == Name() && Value != fkUnknown && Value != fkIdentifier)
    FAlias = GenerateAlias("FIELD_", true);
}

void TVXFieldDef::Clear() {
  TVXFunctionDef::Clear();
  FAlias = Name();
}

void TVXFieldDef::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TVXFieldDef*>(Source);
  if (!Src) {
    TVXFunctionDef::Assign(Source);
    return;
  }
  if (Src == this) return;
  // The alias is copied as well, so the alias rules of SetName and SetKind
  // have nothing to decide: copy name and kind directly.
  TVXCollectionItem::Assign(Source);
  CopyArguments(Src);
  TVXFunctionDef::SetKind(Src->Kind());
  TVXFunctionDef::SetName(Src->Name());
  FAlias = Src->FAlias;
  FParamType = Src->FParamType;
}

void TVXFieldDef::TakeFrom(TVXFieldDef* Source) {
  if (Source == this) return;
  MoveArguments(Source);
  TakeNameAndKind(*Source);
  FAlias = std::move(Source->FAlias);
  Source->FAlias.clear();
  FParamType = Source->FParamType;
}

std::string TVXFieldDef::GenerateAlias(const std::string& Base, bool Force) const {
  if (TVXTableDefs* Tables = TableListOf(this)) return Tables->GetUniqueAlias(Base, Force);
  return Force ? Base + "1" : Base;
}

std::string TVXFieldDef::GetTableAlias() const {
  const auto* Fields = ScriptWriter::FastCast<const TVXFieldDefs>(Collection());
  TVXTableDef* Table = Fields ? Fields->TableDef() : nullptr;
  return Table ? Table->Alias() : std::string();
}

std::string TVXFieldDef::ProcessAlias(std::string_view S) const {
  if (Parser() && Parser()->Scanner()->GetProcessAliases()) return ProcessName(S);
  return std::string(S);
}

std::string TVXFieldDef::GetScript() const {
  std::string R;
  TNodeContext C;
  WriteField(R, *this, C);
  return R;
}

// ---------------------------------------------------------------------------
// TVXFieldDefs

TVXTableDef* TVXFieldDefs::TableDef() const { return OwnerTable(); }

void TVXFieldDefs::Update(TCollectionItem* Item) {
  TVXFunctionDefs::Update(Item);
  const int Delta = Count() - FReportedCount;
  if (Delta == 0) return;
  FReportedCount = Count();
  if (TVXTableDef* Table = OwnerTable())
    if (TVXTableDefs* Tables = Table->TableDefs()) Tables->FieldsChanged(Delta);
}

TVXFieldDef* TVXFieldDefs::FindByAlias(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Alias() == S) return Items(i);
  return nullptr;
}

TVXFieldDef* TVXFieldDefs::FindByName(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name() == S) return Items(i);
  return nullptr;
}

std::string TVXFieldDefs::GetScript() const {
  std::string R;
  TNodeContext C;
  for (int i = 0; i < Count(); ++i) {
    const TVXFieldDef* F = Items(i);
    if (F->IsInputParam()) continue;
    R += R.empty() ? "  " : ",\r\n  ";
    WriteItem(R, *F, C);
  }
  return R;
}

}  // namespace Vexar
