#include "parser/criterions.h"

#include "parser/limits.h"
#include "parser/resource.h"
#include "parser/scriptwriter.h"
#include "parser/selectparser.h"
#include "platform/strutils.h"

namespace Vexar {

std::string GetFilterAsString(TVXCriterionFilter Filter) {
  switch (Filter) {
    case cfAll:
      return LoadResString(rsParserAll);
    case cfAny:
      return LoadResString(rsParserAny);
    case cfNone:
      return LoadResString(rsParserNone);
    case cfNotAll:
      return LoadResString(rsParserNotAll);
  }
  return std::string();
}

// ---------------------------------------------------------------------------
// TVXCriterion

// The left side is made with the condition and initialised with it.
void TVXCriterion::Init() { FLeftSide.Init(); }

TVXCriterions* TVXCriterion::SubItems() const {
  if (!FSubItems) {
    FSubItems = std::make_unique<TVXCriterions>(const_cast<TVXCriterion*>(this),
                                                &ItemClassOf<TVXCriterion>);
    FSubItems->SetParser(Parser());
  }
  return FSubItems.get();
}

TVXFunctionDefs* TVXCriterion::RightSide() const {
  if (!FRightSide) {
    FRightSide = std::make_unique<TVXFunctionDefs>(const_cast<TVXCriterion*>(this),
                                                   &ItemClassOf<TVXFunctionDef>);
    FRightSide->SetParser(Parser());
  }
  return FRightSide.get();
}

int TVXCriterion::RightSideCount() const { return FRightSide ? FRightSide->Count() : 0; }

TVXCriterion::~TVXCriterion() {
  // The left side, a member, goes after the lists.
  FRightSide.reset();
  FSubItems.reset();
}

void TVXCriterion::SetSubItems(const TVXCriterions* Value) {
  if (Value != FSubItems.get()) SubItems()->Assign(Value);
}

void TVXCriterion::SetRightSide(const TVXFunctionDefs* Value) {
  if (Value != FRightSide.get()) RightSide()->Assign(Value);
}

void TVXCriterion::SetLeftSide(const TVXFunctionDef* Value) {
  if (Value != &FLeftSide) FLeftSide.Assign(Value);
}

bool TVXCriterion::IsComposite() const { return FSubItems && FSubItems->Count() > 0; }

void TVXCriterion::SetParser(TVXSelectParser* Value) {
  TVXCollectionItem::SetParser(Value);
  FLeftSide.SetParser(Value);
  if (FRightSide) FRightSide->SetParser(Value);
  if (FSubItems) FSubItems->SetParser(Value);
  if (Value) {
    TVXOperators* Ops = Value->Operators();
    if (Ops && Ops->Count() > 0 && !Ops->FindByCaption(FOperator))
      FOperator = Ops->Items(0)->Caption();
  }
}

void TVXCriterion::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TVXCriterion*>(Source);
  if (!Src) {
    TVXCollectionItem::Assign(Source);
    return;
  }
  if (Src == this) return;
  TVXCollectionItem::Assign(Source);
  FLeftSide.Assign(&Src->FLeftSide);
  FOperator = Src->FOperator;
  // Lists neither side has made stay unmade.
  if (Src->FRightSide)
    RightSide()->Assign(Src->FRightSide.get());
  else if (FRightSide)
    FRightSide->Clear();
  if (Src->FSubItems)
    SubItems()->Assign(Src->FSubItems.get());
  else if (FSubItems) {
    FSubItems->Clear();
    FSubItems->SetFilter(cfAll);
  }
}

int TVXCriterion::NestingDepth() const {
  int Depth = 0;
  const TVXCriterion* C = this;
  while (const auto* Group = dynamic_cast<const TVXCriterions*>(C->Collection())) {
    C = Group->OwnerCriterion();
    if (!C) break;
    ++Depth;
  }
  return Depth;
}

// ---------------------------------------------------------------------------
// Writing conditions

namespace {

using ScriptWriter::AppendKeyword;
using ScriptWriter::IsExactly;

void WriteGroup(std::string& Out, const TVXCriterions& G);

// X as its GetScript writes it.
void WriteGroupOf(std::string& Out, const TVXCriterions& X) {
  if (IsExactly<TVXCriterions>(X))
    WriteGroup(Out, X);
  else
    ScriptWriter::AppendScript(Out, X);
}

// The body of TVXCriterion::GetScript.
void WriteCriterion(std::string& Out, const TVXCriterion& C) {
  if (C.IsComposite()) {
    WriteGroupOf(Out, *C.SubItems());
    return;
  }
  const TVXSelectParser* P = C.Parser();
  ScriptWriter::AppendScript(Out, *C.LeftSide());
  Out += ' ';
  AppendKeyword(Out, P, C.Operator());
  // The right side follows after a blank, unless it is empty.
  const size_t Mark = Out.size();
  Out += ' ';
  const size_t Right = Out.size();
  const auto* Group =
      ScriptWriter::FastCast<const TVXCriterions, const TVXWhereItems, const TVXHavingItems>(
          C.Collection());
  if (Group && Group->Parser()) {
    // The operator decides how many operands are written and the word
    // between them; a missing operand is a blank.
    if (const TVXOperator* Op = Group->Parser()->Operators()->FindByCaption(C.Operator())) {
      const int Count = C.RightSideCount();
      for (int i = 0; i < Op->Count(); ++i) {
        if (i < Count)
          ScriptWriter::AppendScript(Out, *C.RightSide()->Items(i));
        else
          Out += ' ';
        if (i < Count - 1) {
          Out += ' ';
          AppendKeyword(Out, P, Op->Relate());
          Out += ' ';
        }
      }
    }
  } else {
    ScriptWriter::AppendScript(Out, *C.RightSide());
  }
  if (Out.size() == Right) Out.resize(Mark);
}

// X as its GetScript writes it.
void WriteItem(std::string& Out, const TVXCriterion& X) {
  if (IsExactly<TVXCriterion>(X) || IsExactly<TVXWhereItem>(X) || IsExactly<TVXHavingItem>(X))
    WriteCriterion(Out, X);
  else
    Out += X.GetScript();
}

// The body of TVXCriterions::GetScript.
void WriteGroup(std::string& Out, const TVXCriterions& G) {
  if (G.Count() == 0) return;
  const TVXSelectParser* P = G.Parser();
  const TVXCriterionFilter Filter = G.Filter();
  const bool Any = Filter == cfAny || Filter == cfNotAll;
  const bool Negated = Filter == cfNone || Filter == cfNotAll;
  if (Negated) {
    AppendKeyword(Out, P, "NOT");
    Out += " (";
  }
  const int N = G.Count();
  for (int i = 0; i < N; ++i) {
    if (i > 0) Out += "\r\n  ";
    Out += '(';
    WriteItem(Out, *static_cast<const TVXCriterion*>(G.List()[i]));
    Out += ')';
    if (i < N - 1) {
      Out += ' ';
      AppendKeyword(Out, P, Any ? "OR" : "AND");
      Out += ' ';
    }
  }
  if (Negated) Out += ')';
  // A clause list ends its line; a group inside a condition does not.
  if (!ScriptWriter::FastCast<TVXCriterion, TVXWhereItem, TVXHavingItem>(G.Owner())) Out += "\r\n";
}

// A clause: Word, a line break, two spaces and the group text; nothing
// without conditions.
void WriteClause(std::string& Out, const TVXCriterions& G, const char* Word) {
  if (G.Count() == 0) return;
  AppendKeyword(Out, G.Parser(), Word);
  Out += "\r\n  ";
  WriteGroup(Out, G);
}

// HAVING is written only while the statement has a GROUP BY list.
bool HavingWritten(const TVXHavingItems& G) {
  return G.Parser() && G.Parser()->GroupByItems()->Count() > 0;
}

}  // namespace

std::string TVXCriterion::GetScript() const {
  std::string R;
  WriteCriterion(R, *this);
  return R;
}

void ScriptWriter::AppendScript(std::string& Out, const TVXCriterions& X) {
  if (IsExactly<TVXWhereItems>(X)) {
    WriteClause(Out, X, "WHERE");
  } else if (IsExactly<TVXHavingItems>(X)) {
    if (HavingWritten(static_cast<const TVXHavingItems&>(X))) WriteClause(Out, X, "HAVING");
  } else if (IsExactly<TVXCriterions>(X)) {
    WriteGroup(Out, X);
  } else {
    Out += X.GetScript();
  }
}

// ---------------------------------------------------------------------------
// TVXCriterions

TVXCriterions::TVXCriterions(TPersistent* Owner, TCollectionItemClass ItemClass)
    : TVXCollection(Owner, ItemClass), FOwnerCriterion(dynamic_cast<TVXCriterion*>(Owner)) {}

void TVXCriterions::CheckDepth() const {
  if (const TVXCriterion* C = OwnerCriterion())
    if (C->NestingDepth() + 1 >= MaxNestingDepth) throw EVXNestingError();
}

TVXCriterion* TVXCriterions::Add() {
  CheckDepth();
  return static_cast<TVXCriterion*>(TVXCollection::Add());
}

TVXCriterion* TVXCriterions::Insert(int Index) {
  CheckDepth();
  return static_cast<TVXCriterion*>(TVXCollection::Insert(Index));
}

void TVXCriterions::Assign(const TPersistent* Source) {
  TVXCollection::Assign(Source);
  // A copy of a group keeps how its conditions combine.
  if (const auto* Src = dynamic_cast<const TVXCriterions*>(Source)) FFilter = Src->FFilter;
}

std::string TVXCriterions::GetScript() const {
  std::string R;
  WriteGroup(R, *this);
  return R;
}

std::string TVXWhereItems::GetScript() const {
  std::string R;
  WriteClause(R, *this, "WHERE");
  return R;
}

std::string TVXHavingItems::GetScript() const {
  std::string R;
  if (HavingWritten(*this)) WriteClause(R, *this, "HAVING");
  return R;
}

// ---------------------------------------------------------------------------
// Operators

void TVXOperator::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TVXOperator*>(Source);
  if (!Src) {
    TCollectionItem::Assign(Source);
    return;
  }
  FCount = Src->FCount;
  FPrefix = Src->FPrefix;
  FRelate = Src->FRelate;
  FCaption = Src->FCaption;
  FName = Src->FName;
  FPostfix = Src->FPostfix;
}

TVXOperator* TVXOperators::AddOperator(const std::string& Caption, int Count,
                                       const std::string& Prefix, const std::string& Relate,
                                       const std::string& Postfix) {
  TVXOperator* Op = Add();
  Op->SetName(Caption);
  Op->SetCaption(Caption);
  Op->SetCount(Count);
  Op->SetPrefix(Prefix);
  Op->SetRelate(Relate);
  Op->SetPostfix(Postfix);
  return Op;
}

void TVXOperators::LoadDefaults() {
  // Made once: every parser loads the same texts.
  struct TDefault {
    std::string Caption;
    int Count;
    std::string Prefix, Relate, Postfix;
  };
  static const TDefault Defaults[] = {
      {"=", 1, "", "", ""},
      {"<>", 1, "", "", ""},
      {"<", 1, "", "", ""},
      {">", 1, "", "", ""},
      {"<=", 1, "", "", ""},
      {">=", 1, "", "", ""},
      {"LIKE", 1, "", "", ""},
      {"NOT LIKE", 1, "", "", ""},
      {"IN", 1, "(", "", ")"},
      {"NOT IN", 1, "(", "", ")"},
      {"BETWEEN", 2, "", "AND", ""},
      {"NOT BETWEEN", 2, "", "AND", ""},
      {"IS NULL", 0, "", "", ""},
      {"IS NOT NULL", 0, "", "", ""},
  };
  BeginUpdate();
  Clear();
  for (const TDefault& D : Defaults) AddOperator(D.Caption, D.Count, D.Prefix, D.Relate, D.Postfix);
  EndUpdate();
}

TVXOperator* TVXOperators::FindByCaption(const std::string& S) const {
  for (TCollectionItem* Item : List()) {
    auto* Op = static_cast<TVXOperator*>(Item);
    if (Op->Caption() == S) return Op;
  }
  return nullptr;
}

TVXOperator* TVXOperators::FindByName(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name() == S) return Items(i);
  return nullptr;
}

TVXOperator* TVXOperators::FindNearest(const std::string& S, bool& Partial) const {
  if (S.empty()) return nullptr;
  const std::string U = UpperCase(S);
  for (int i = 0; i < Count(); ++i) {
    const std::string C = UpperCase(Items(i)->Caption());
    if (C.compare(0, U.size(), U) == 0) {
      Partial = C != U;
      return Items(i);
    }
  }
  return nullptr;
}

}  // namespace Vexar
