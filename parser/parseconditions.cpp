// WHERE and HAVING condition trees, GROUP BY and ORDER BY.
//
// Conditions keep SQL's precedence:
//
//   condition  := and-chain { OR and-chain }
//   and-chain  := negation { AND negation }
//   negation   := NOT negation | "(" condition ")" | comparison
//   comparison := expression operator operands
//
// where the operator is any caption of the operator table, one or several
// words, whatever kind of token the words arrive as, and its operands follow
// its Count, Prefix, Relate and Postfix (IN reads a parenthesised list).
// In the model a chain of ANDs is one cfAll group, a chain of ORs one cfAny
// group, a negated chain cfNone or cfNotAll; a group inside another is a
// composite condition. The generator writes every condition in parentheses,
// and that text reads back to the same tree.
#include "parser/limits.h"
#include "parser/parsetree.h"
#include "parser/selectparser.h"
#include "platform/strutils.h"

namespace Vexar {

namespace {

// Whether A and B, of the same length, are the same text ignoring the case
// of ASCII letters (as SameText).
bool SameLetters(const char* A, const char* B, size_t N) {
  for (size_t i = 0; i < N; ++i) {
    char X = A[i], Y = B[i];
    if (X >= 'a' && X <= 'z')
      X = char(X - 'a' + 'A');
    if (Y >= 'a' && Y <= 'z')
      Y = char(Y - 'a' + 'A');
    if (X != Y)
      return false;
  }
  return true;
}

// SameText for a word: texts of other lengths are told apart without the
// comparison.
bool SameWord(std::string_view A, std::string_view B) {
  return A.size() == B.size() && SameText(A, B);
}

}  // namespace

TVXOperator* TVXSelectParser::MatchOperator(int Index, int& Words, int* Reached) const {
  // The table's items in place: every word read compares every caption, and
  // a checked lookup per caption cost more than the comparisons.
  const std::vector<TCollectionItem*>& Ops = Operators()->List();
  TVXOperator* Best = nullptr;
  // The words read so far: the first token's own text, joined into Joined
  // only once a second word follows.
  std::string_view Text;
  std::string Joined;
  if (Reached)
    *Reached = 0;
  for (int k = 0; Index + k < static_cast<int>(FTokens.size()); ++k) {
    const TVXParseToken& T = FTokens[Index + k];
    if (T.Quoted || T.Kind == tkEnd || T.Kind == tkInteger || T.Kind == tkFloat ||
        T.Kind == tkString || IsSymbol(T, "(") || IsSymbol(T, ")") || IsSymbol(T, ",") ||
        IsSymbol(T, "."))
      break;
    // Words apart stand one blank apart in a caption; «<» right before «=»
    // spells «<=».
    if (k == 0) {
      Text = T.Text;
    } else {
      if (k == 1)
        Joined.assign(Text);
      if (T.SpaceCount > 0)
        Joined += ' ';
      Joined += T.Text;
      Text = Joined;
    }
    bool Longer = false;
    for (TCollectionItem* Item : Ops) {
      auto* Op = static_cast<TVXOperator*>(Item);
      const std::string& Caption = Op->Caption();
      if (Caption.size() < Text.size() || !SameLetters(Caption.data(), Text.data(), Text.size()))
        continue;
      if (Caption.size() == Text.size()) {
        if (!Best || Words < k + 1) {
          Best = Op;
          Words = k + 1;
        }
      } else {
        Longer = true;
      }
    }
    if (!Longer)
      break;
    if (Reached)
      *Reached = k + 1;
  }
  return Best;
}

// A "(" opens a condition unless what follows its ")" continues an operand:
// an operation, or an operator («(a + b) > 1», «(a) IS NULL»).
bool TVXSelectParser::OpensCondition(int Index) const {
  const int Close = MatchingParen(Index);
  if (Close < 0)
    return true;
  const TVXParseToken& After = TokenAt(Close + 1);
  if (After.Kind == tkOperation && !After.Quoted)
    return false;
  int Words = 0;
  return MatchOperator(Close + 1, Words) == nullptr;
}

TVXCondPtr TVXSelectParser::ParseOrCondition() {
  auto First = ParseAndCondition();
  if (!First || !IsWord(CurToken(), "OR"))
    return First;
  auto N = FNodes.NewCond();
  N->Kind = TVXCondNode::ckOr;
  N->TokenIndex = First->TokenIndex;
  N->Kids.push_back(std::move(First));
  while (IsWord(CurToken(), "OR")) {
    NextToken();
    auto Next = ParseAndCondition();
    if (!Next)
      return nullptr;
    N->Kids.push_back(std::move(Next));
  }
  return N;
}

TVXCondPtr TVXSelectParser::ParseAndCondition() {
  auto First = ParseNotCondition();
  if (!First || !IsWord(CurToken(), "AND"))
    return First;
  auto N = FNodes.NewCond();
  N->Kind = TVXCondNode::ckAnd;
  N->TokenIndex = First->TokenIndex;
  N->Kids.push_back(std::move(First));
  while (IsWord(CurToken(), "AND")) {
    NextToken();
    auto Next = ParseNotCondition();
    if (!Next)
      return nullptr;
    N->Kids.push_back(std::move(Next));
  }
  return N;
}

TVXCondPtr TVXSelectParser::ParseNotCondition() {
  const bool Not = IsWord(CurToken(), "NOT");
  const bool Group = !Not && IsSymbol(CurToken(), "(") && OpensCondition(FTokenIndex);
  if (!Not && !Group)
    return ParseComparison();
  if (!EnterLevel())
    return nullptr;
  TLevelGuard Guard{this};
  const int Start = FTokenIndex;
  NextToken();
  if (Group) {
    // Parentheses only delimit: «((a = 1))» is the condition a = 1.
    auto Inner = ParseOrCondition();
    if (!Inner)
      return nullptr;
    if (!IsSymbol(CurToken(), ")")) {
      Fail();
      return nullptr;
    }
    NextToken();
    return Inner;
  }
  auto Operand = ParseNotCondition();
  if (!Operand)
    return nullptr;
  auto N = FNodes.NewCond();
  N->Kind = TVXCondNode::ckNot;
  N->TokenIndex = Start;
  N->Kids.push_back(std::move(Operand));
  return N;
}

TVXCondPtr TVXSelectParser::ParseComparison() {
  auto N = FNodes.NewCond();
  N->TokenIndex = FTokenIndex;
  N->Left = ParseArithmetic(false);
  if (!N->Left)
    return nullptr;
  int Words = 0, Reached = 0;
  TVXOperator* Op = MatchOperator(FTokenIndex, Words, &Reached);
  if (!Op) {
    // A condition needs an operator: the first token that no caption
    // continues with cannot be placed («a IS NOT x» fails at x).
    FailAt(FTokenIndex + Reached);
    return nullptr;
  }
  const bool List = Op->Prefix() == "(" && Op->Postfix() == ")";
  if (!List && (!Op->Prefix().empty() || !Op->Postfix().empty())) {
    // Other enclosing texts would not be written back.
    Fail();
    return nullptr;
  }
  N->Operator = Op;
  SetTokenIndex(FTokenIndex + Words);
  for (int i = 0; i < Op->Count(); ++i) {
    if (i > 0 && !Op->Relate().empty()) {
      const TVXParseToken& R = CurToken();
      if (R.Quoted || R.Kind == tkEnd || !SameText(R.Text, Op->Relate())) {
        Fail();
        return nullptr;
      }
      NextToken();
    }
    if (!List) {
      auto Operand = ParseArithmetic(false);
      if (!Operand)
        return nullptr;
      N->Right.push_back(std::move(Operand));
      continue;
    }
    // «IN (1, 2, 3)»: one operand holding the list.
    if (!IsSymbol(CurToken(), "(")) {
      Fail();
      return nullptr;
    }
    auto Items = FNodes.NewExpr();
    Items->Kind = TVXExprNode::ekList;
    Items->TokenIndex = FTokenIndex;
    NextToken();
    for (;;) {
      auto Item = ParseArithmetic(false);
      if (!Item)
        return nullptr;
      Items->Kids.push_back(std::move(Item));
      if (IsSymbol(CurToken(), ",")) {
        NextToken();
      } else if (IsSymbol(CurToken(), ")")) {
        NextToken();
        break;
      } else {
        Fail();
        return nullptr;
      }
    }
    N->Right.push_back(std::move(Items));
  }
  return N;
}

// ---------------------------------------------------------------------------
// Into the model

void TVXSelectParser::BuildCriterions(TVXCriterions* List, const TVXCondNode& Node) {
  const bool Negated = Node.Kind == TVXCondNode::ckNot;
  const TVXCondNode& Group = Negated ? *Node.Kids[0] : Node;
  if (Group.Kind == TVXCondNode::ckAnd || Group.Kind == TVXCondNode::ckOr) {
    const bool Any = Group.Kind == TVXCondNode::ckOr;
    List->SetFilter(Negated ? (Any ? cfNotAll : cfNone) : (Any ? cfAny : cfAll));
    for (const auto& K : Group.Kids)
      BuildCriterion(List->Add(), *K);
  } else {
    // One condition, or NOT over a negation: a group of one.
    List->SetFilter(Negated ? cfNone : cfAll);
    BuildCriterion(List->Add(), Group);
  }
}

void TVXSelectParser::NoteQualifiers(const TVXExprNode& E) {
  if ((E.Kind == TVXExprNode::ekIdent || E.Kind == TVXExprNode::ekStar) && !E.Quals.empty()) {
    // A qualifier of one part, the usual one, is looked up without joining.
    if (E.Quals.size() == 1)
      QualifierTable(E.Quals.front());
    else
      QualifierTable(E.Qualifier());
  }
  for (auto K = E.Kids.rbegin(); K != E.Kids.rend(); ++K)
    NoteQualifiers(**K);
}

void TVXSelectParser::BuildCriterion(TVXCriterion* Item, const TVXCondNode& Node) {
  if (Node.Kind != TVXCondNode::ckLeaf) {
    BuildCriterions(Item->SubItems(), Node);
    return;
  }
  // Qualifiers name table definitions, as in the select list: the last
  // operand first, each node before its sub-nodes, the last sub-node first
  // (the order in which unknown qualifiers make their definitions).
  for (auto R = Node.Right.rbegin(); R != Node.Right.rend(); ++R)
    NoteQualifiers(**R);
  NoteQualifiers(*Node.Left);
  BuildExpression(Item->LeftSide(), *Node.Left, true);
  Item->SetOperator(Node.Operator->Caption());
  for (const auto& R : Node.Right)
    BuildExpression(Item->RightSide()->Add(), *R, true);
}

void TVXSelectParser::DoParseCriterions(TVXCriterions* List) {
  auto Node = ParseOrCondition();
  if (!Node) {
    Fail();
    return;
  }
  if (List)
    BuildCriterions(List, *Node);
}

// ---------------------------------------------------------------------------
// Clause handlers

void TVXSelectParser::DoParseWhereClause() {
  DoParseCriterions(WhereItems());
  if (FState != ssError)
    NextClause(false, true, true, true);
}

void TVXSelectParser::DoParseHavingClause() {
  DoParseCriterions(HavingItems());
  if (FState != ssError)
    NextClause(false, false, false, true);
}

// Plain or qualified column names, separated by commas.
void TVXSelectParser::DoParseGroupByClause() {
  std::string Entry;
  for (;;) {
    if (!ParseQualifiedName(Entry))
      return;
    GroupByItems()->AddDistinct(Entry);
    if (!IsSymbol(CurToken(), ","))
      break;
    NextToken();
  }
  NextClause(false, false, true, true);
}

// Column names or output positions, each with ASC or DESC (the last word
// wins), separated by commas.
void TVXSelectParser::DoParseOrderByClause() {
  for (;;) {
    std::string Entry;
    if (CurToken().Kind == tkInteger) {
      Entry = CurToken().Text;
      NextToken();
    } else if (!ParseQualifiedName(Entry)) {
      return;
    }
    TVXOrderKind Kind = okAsc;
    for (;;) {
      const TVXParseToken& T = CurToken();
      if (!IsKeywordToken(T))
        break;
      if (SameWord(T.Text, "DESC"))
        Kind = okDesc;
      else if (SameWord(T.Text, "ASC"))
        Kind = okAsc;
      else
        break;
      NextToken();
    }
    if (OrderByItems()->IndexOf(Entry) < 0)
      OrderByItems()->AddOrdered(Entry, Kind);
    if (!IsSymbol(CurToken(), ","))
      break;
    NextToken();
  }
  NextClause(false, false, false, false);
}

}  // namespace Vexar
