#include "parser/criterions.h"

#include "parser/limits.h"
#include "parser/resource.h"
#include "parser/selectparser.h"
#include "platform/format.h"
#include "platform/strutils.h"

namespace Vexar {

namespace {

// S re-cased by the parser's keyword format (as written without a parser).
std::string Keyword(const TVXSelectParser* Parser, std::string_view S) {
  return Parser ? Parser->ProcessKeyword(S) : std::string(S);
}

}  // namespace

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

void TVXCriterion::Init() {
  FSubItems = std::make_unique<TVXCriterions>(this, &ItemClassOf<TVXCriterion>);
  FLeftSide.reset(TCollectionItem::Create<TVXFunctionDef>(nullptr));
  FRightSide = std::make_unique<TVXFunctionDefs>(this, &ItemClassOf<TVXFunctionDef>);
}

TVXCriterion::~TVXCriterion() {
  FRightSide.reset();
  FLeftSide.reset();
  FSubItems.reset();
}

void TVXCriterion::SetSubItems(const TVXCriterions* Value) {
  if (Value != FSubItems.get()) FSubItems->Assign(Value);
}

void TVXCriterion::SetRightSide(const TVXFunctionDefs* Value) {
  if (Value != FRightSide.get()) FRightSide->Assign(Value);
}

void TVXCriterion::SetLeftSide(const TVXFunctionDef* Value) {
  if (Value != FLeftSide.get()) FLeftSide->Assign(Value);
}

bool TVXCriterion::IsComposite() const { return FSubItems->Count() > 0; }

void TVXCriterion::SetParser(TVXSelectParser* Value) {
  TVXCollectionItem::SetParser(Value);
  FLeftSide->SetParser(Value);
  FRightSide->SetParser(Value);
  FSubItems->SetParser(Value);
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
  FLeftSide->Assign(Src->FLeftSide.get());
  FOperator = Src->FOperator;
  FRightSide->Assign(Src->FRightSide.get());
  FSubItems->Assign(Src->FSubItems.get());
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

std::string TVXCriterion::GetScript() const {
  if (IsComposite()) return FSubItems->GetScript();
  std::string Right;
  const auto* Group = dynamic_cast<const TVXCriterions*>(Collection());
  if (Group && Group->Parser()) {
    // The operator decides how many operands are written and the word
    // between them; a missing operand is a blank.
    if (const TVXOperator* Op = Group->Parser()->Operators()->FindByCaption(FOperator)) {
      for (int i = 0; i < Op->Count(); ++i) {
        Right += i < FRightSide->Count() ? FRightSide->Items(i)->GetScript() : " ";
        if (i < FRightSide->Count() - 1)
          Right = Format("%s %s ", Right, ProcessKeyword(Op->Relate()));
      }
    }
  } else {
    Right = FRightSide->GetScript();
  }
  if (Right.empty()) return Format("%s %s", FLeftSide->GetScript(), ProcessKeyword(FOperator));
  return Format("%s %s %s", FLeftSide->GetScript(), ProcessKeyword(FOperator), Right);
}

// ---------------------------------------------------------------------------
// TVXCriterions

TVXCriterion* TVXCriterions::OwnerCriterion() const {
  return dynamic_cast<TVXCriterion*>(Owner());
}

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
  if (Count() == 0) return std::string();
  const bool Any = FFilter == cfAny || FFilter == cfNotAll;
  const std::string Joiner = " " + Keyword(Parser(), Any ? "OR" : "AND") + " ";
  std::string R;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) R += "\r\n  ";
    R += "(" + Items(i)->GetScript() + ")";
    if (i < Count() - 1) R += Joiner;
  }
  if (FFilter == cfNone || FFilter == cfNotAll) R = Format("%s (%s)", Keyword(Parser(), "NOT"), R);
  if (!OwnerCriterion()) R += "\r\n";
  return R;
}

std::string TVXWhereItems::GetScript() const {
  std::string G = TVXCriterions::GetScript();
  if (G.empty()) return G;
  return Keyword(Parser(), "WHERE") + "\r\n  " + G;
}

std::string TVXHavingItems::GetScript() const {
  // No HAVING clause without a GROUP BY clause.
  if (!Parser() || Parser()->GroupByItems()->Count() == 0) return std::string();
  std::string G = TVXCriterions::GetScript();
  if (G.empty()) return G;
  return Keyword(Parser(), "HAVING") + "\r\n  " + G;
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
  BeginUpdate();
  Clear();
  for (const char* C : {"=", "<>", "<", ">", "<=", ">=", "LIKE", "NOT LIKE"}) AddOperator(C, 1);
  AddOperator("IN", 1, "(", "", ")");
  AddOperator("NOT IN", 1, "(", "", ")");
  AddOperator("BETWEEN", 2, "", "AND");
  AddOperator("NOT BETWEEN", 2, "", "AND");
  AddOperator("IS NULL", 0);
  AddOperator("IS NOT NULL", 0);
  EndUpdate();
}

TVXOperator* TVXOperators::FindByCaption(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Caption() == S) return Items(i);
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
