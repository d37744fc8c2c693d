#include "parser/funcdefs.h"

#include "parser/limits.h"
#include "parser/scanner.h"
#include "parser/selectparser.h"
#include "parser/tabledefs.h"
#include "platform/format.h"

namespace Vexar {

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
  while (const auto* List = dynamic_cast<const TVXFunctionDefs*>(Node->Collection())) {
    if (TVXTableDef* Table = List->OwnerTable()) return Table;
    Node = List->OwnerNode();
    if (!Node) break;
  }
  return nullptr;
}

std::string TVXFunctionDef::GetScript() const {
  if (HasArguments())
    return Format("%s(%s)", ProcessFunction(FName), FArguments->GetScript());
  switch (FKind) {
    case fkFunction:
      return Format("%s()", ProcessFunction(FName));
    case fkIdentifier: {
      // A field of a table, or an identifier used as an argument inside a
      // field, is qualified by its table's alias (or name). Identifiers of
      // conditions stand under no table and carry their qualifier in Name.
      // A value given to a stored procedure is no column of the procedure:
      // its names stand as read.
      const TVXFunctionDef* Root = this;
      while (const auto* List = dynamic_cast<const TVXFunctionDefs*>(Root->Collection())) {
        if (!List->OwnerNode()) break;
        Root = List->OwnerNode();
      }
      const auto* RootField = dynamic_cast<const TVXFieldDef*>(Root);
      if (RootField && RootField->IsInputParam()) return ProcessName(FName);
      if (const TVXTableDef* Table = OwningTable()) {
        const std::string& Q = Table->Qualifier();
        if (!Q.empty()) return Format("%s.%s", ProcessName(Q), ProcessName(FName));
      }
      return ProcessName(FName);
    }
    case fkString: {
      // A value stored with its own enclosing quotes loses one pair; the
      // literal is then written in the dialect's string quoting.
      std::string_view T = FName;
      auto IsQ = [](char C) { return C == '"' || C == '\''; };
      if (T.size() > 1 && IsQ(T.front()) && IsQ(T.back())) T = T.substr(1, T.size() - 2);
      if (Parser()) return Parser()->Scanner()->QuoteString(T);
      std::string R = "'";
      for (char C : T) {
        if (C == '\'') R += '\'';
        R += C;
      }
      return R + "'";
    }
    default:
      return FName;
  }
}

// ---------------------------------------------------------------------------
// TVXFunctionDefs

TVXFunctionDefs::TVXFunctionDefs(TPersistent* Owner, TCollectionItemClass ItemClass)
    : TVXCollection(Owner, ItemClass),
      FOwnerNode(dynamic_cast<TVXFunctionDef*>(Owner)),
      FOwnerTable(dynamic_cast<TVXTableDef*>(Owner)) {}

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
  for (int i = 0; i < Count(); ++i) {
    if (i) R += ", ";
    R += Items(i)->GetScript();
  }
  return R;
}

// ---------------------------------------------------------------------------
// TVXFieldDef

namespace {

// The table list a field belongs to through its table, or null.
TVXTableDefs* TableListOf(const TVXFieldDef* Field) {
  const auto* Fields = dynamic_cast<const TVXFieldDefs*>(Field->Collection());
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
  std::string Name = Source->Name();
  TakeNameAndKind(std::move(Name), Source->Kind());
  Source->TakeNameAndKind(std::string(), fkUnknown);
  FAlias = std::move(Source->FAlias);
  Source->FAlias.clear();
  FParamType = Source->FParamType;
}

std::string TVXFieldDef::GenerateAlias(const std::string& Base, bool Force) const {
  if (TVXTableDefs* Tables = TableListOf(this)) return Tables->GetUniqueAlias(Base, Force);
  return Force ? Base + "1" : Base;
}

std::string TVXFieldDef::GetTableAlias() const {
  const auto* Fields = dynamic_cast<const TVXFieldDefs*>(Collection());
  TVXTableDef* Table = Fields ? Fields->TableDef() : nullptr;
  return Table ? Table->Alias() : std::string();
}

std::string TVXFieldDef::ProcessAlias(std::string_view S) const {
  if (Parser() && Parser()->Scanner()->GetProcessAliases()) return ProcessName(S);
  return std::string(S);
}

std::string TVXFieldDef::GetScript() const {
  std::string R = TVXFunctionDef::GetScript();
  if (!FAlias.empty() && FAlias != Name())
    R = Format("%s %s %s", R, ProcessKeyword("AS"), ProcessAlias(FAlias));
  return R;
}

// ---------------------------------------------------------------------------
// TVXFieldDefs

TVXTableDef* TVXFieldDefs::TableDef() const { return OwnerTable(); }

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
  for (int i = 0; i < Count(); ++i) {
    const TVXFieldDef* F = Items(i);
    if (F->IsInputParam()) continue;
    if (!R.empty()) R += ",\r\n";
    R += "  " + F->GetScript();
  }
  return R;
}

}  // namespace Vexar
