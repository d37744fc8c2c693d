// The FROM clause: table entries with aliases, stored procedures with their
// parameters, and joins.
//
//   table list := entry { "," entry | join }
//   entry      := name ["(" parameters ")"] [[AS] alias]
//   join       := [INNER | LEFT [OUTER] | RIGHT [OUTER] | FULL [OUTER]] JOIN entry
//                 ON condition
//   condition  := term { AND term };  term := "(" condition ")" | column cmp column
//
// Each comparison of an ON condition becomes one join definition, stored on
// the table of its other side; the joined table is always its right side.
#include "parser/parsetree.h"
#include "parser/selectparser.h"
#include "platform/strutils.h"

namespace Vexar {

namespace {

// The comparison that holds with both sides exchanged.
std::string Mirrored(const std::string& Comparison) {
  if (Comparison == "<")
    return ">";
  if (Comparison == ">")
    return "<";
  if (Comparison == "<=")
    return ">=";
  if (Comparison == ">=")
    return "<=";
  return Comparison;
}

bool IsJoinComparison(std::string_view S) {
  return S == "=" || S == "<>" || S == "<" || S == ">" || S == "<=" || S == ">=";
}

}  // namespace

bool TVXSelectParser::ParseQualifiedName(std::string& Name) {
  if (!IsQualifiedPart(FTokenIndex)) {
    Fail();
    return false;
  }
  // Unquoted parts are their own text (as NameOf gives them), appended
  // without a temporary.
  const TVXParseToken& First = CurToken();
  if (First.Quoted)
    Name = NameOf(First);
  else
    Name.assign(First.Text);
  NextToken();
  while (IsSymbol(CurToken(), ".") && CurToken().SpaceCount == 0) {
    if (!IsQualifiedPart(FTokenIndex + 1)) {
      FailAt(FTokenIndex + 1);
      return false;
    }
    const TVXParseToken& Part = PeekToken();
    Name += '.';
    if (Part.Quoted)
      Name += NameOf(Part);
    else
      Name += Part.Text;
    NextToken();
    NextToken();
  }
  return true;
}

void TVXSelectParser::DoParseTableDefs() {
  bool EntryDue = true;
  while (FState == ssTableDefs) {
    const TVXParseToken& T = CurToken();
    if (EntryDue) {
      DoParseTableDef();
      EntryDue = false;
    } else if (T.Kind == tkEnd) {
      FState = ssEnd;
    } else if (IsSymbol(T, ",")) {
      NextToken();
      EntryDue = true;
    } else if ((IsKeywordToken(T) || ((T.Kind == tkIdent || T.Kind == tkFunction) && !T.Quoted)) &&
               IsJoinDef(T.Text)) {
      // A dialect may list LEFT and RIGHT as functions (MySQL does).
      DoParseJoinDef();
    } else {
      NextClause(true, true, true, true);
    }
  }
  if (FState == ssError)
    TableDefs()->Clear();
}

// One entry. The definition it names is one the select list made for its
// alias (or for its name used as qualifier), else the one made for
// unqualified items and «*», else a new one; a definition the FROM clause
// has named already is never named again, so «FROM t, t x» has two.
void TVXSelectParser::DoParseTableDef() {
  std::string Name;
  if (!ParseQualifiedName(Name))
    return;
  int Params = -1;
  if (IsSymbol(CurToken(), "(")) {
    Params = FTokenIndex;
    const int Close = MatchingParen(Params);
    if (Close < 0) {
      FailAt(static_cast<int>(FTokens.size()) - 1);
      return;
    }
    SetTokenIndex(Close + 1);
  }
  std::string Alias;
  const bool As = IsKeywordToken(CurToken()) && SameText(CurToken().Text, "AS");
  if (As)
    NextToken();
  const TVXParseToken& A = CurToken();
  const bool IsAlias = (A.Kind == tkIdent || A.Kind == tkIdentString) &&
                       !(A.Kind == tkIdent && !A.Quoted && IsJoinDef(A.Text));
  if (IsAlias) {
    Alias = NameOf(A);
    NextToken();
  } else if (As) {
    Fail();
    return;
  }
  const int After = FTokenIndex;

  auto Unnamed = [&](const std::string& WithAlias) -> TVXTableDef* {
    for (int i = 0; i < TableDefs()->Count(); ++i) {
      TVXTableDef* T = TableDefs()->Items(i);
      if (T->Name().empty() && T->Alias() == WithAlias)
        return T;
    }
    return nullptr;
  };
  TVXTableDef* T = Alias.empty() ? nullptr : Unnamed(Alias);
  if (!T)
    T = Unnamed(Name);
  // The first table of the FROM clause names the definition of the
  // unqualified outputs (FinishParse undoes it when more tables follow).
  if (!T && FNamedTables.empty())
    T = Unnamed("");
  if (!T) {
    T = TableDefs()->Add();
    // A «*» extends to every table of the list: each carries its marker.
    if (TVXTableDef* From = FUnqualifiedTable) {
      for (int i = 0; i < From->FieldDefs()->Count(); ++i) {
        const TVXFieldDef* F = From->FieldDefs()->Items(i);
        if (F->Name().empty() && !F->IsInputParam())
          T->FieldDefs()->Add()->Assign(F);
      }
    }
  }
  T->SetName(Name);
  if (!Alias.empty())
    T->SetAlias(Alias);
  FNamedTables.push_back(T);
  FLastTableName = Name;
  FLastAlias = T->Alias();

  if (Params >= 0) {
    T->SetTableType(qttStoredProc);
    SetTokenIndex(Params + 1);
    DoParseProcParams(T);
    if (FState == ssError)
      return;
    if (FTokenIndex != MatchingParen(Params)) {
      Fail();
      return;
    }
    SetTokenIndex(After);
  }
}

// Parameters of a stored procedure, from the first token after "(" up to
// the closing ")": «:name» is stored as name, anything else as the
// expression it is.
void TVXSelectParser::DoParseProcParams(TVXTableDef* TableDef) {
  if (!TableDef) {
    Fail();
    return;
  }
  TableDef->SetTableType(qttStoredProc);
  while (!IsSymbol(CurToken(), ")")) {
    TVXFieldDef* F = TableDef->FieldDefs()->Add();
    F->SetParamType(ptInput);
    if (IsSymbol(CurToken(), ":"))
      NextToken();
    TVXTableDef* None = nullptr;
    DoParseExpression(F, None, TTokenKinds{}, "", true);
    if (FState == ssError)
      return;
    if (IsSymbol(CurToken(), ",") && !IsSymbol(PeekToken(), ")")) {
      NextToken();
    } else if (!IsSymbol(CurToken(), ")")) {
      Fail();
      return;
    }
  }
}

void TVXSelectParser::DoParseJoinDef() {
  TVXJoinKind Kind = vxjInnerJoin;
  const std::string_view Word = CurToken().Text;
  if (SameText(Word, "LEFT"))
    Kind = vxjLOuterJoin;
  else if (SameText(Word, "RIGHT"))
    Kind = vxjROuterJoin;
  else if (SameText(Word, "FULL"))
    Kind = vxjFOuterJoin;
  if (!SameText(Word, "JOIN")) {
    NextToken();
    if (Kind != vxjInnerJoin && IsWord(CurToken(), "OUTER"))
      NextToken();
  }
  if (!IsWord(CurToken(), "JOIN")) {
    Fail();
    return;
  }
  NextToken();
  DoParseTableDef();
  if (FState == ssError)
    return;
  // The joined table: the definition the entry just named.
  TVXTableDef* Joined = nullptr;
  for (int i = TableDefs()->Count() - 1; i >= 0 && !Joined; --i) {
    TVXTableDef* T = TableDefs()->Items(i);
    if (T->Alias() == FLastAlias && T->Name() == FLastTableName)
      Joined = T;
  }
  if (!Joined) {
    Fail();
    return;
  }
  if (!(IsKeywordToken(CurToken()) || CurToken().Kind == tkIdent) || !IsWord(CurToken(), "ON")) {
    Fail();
    return;
  }
  NextToken();

  struct TComparison {
    TVXExprPtr Left, Right;
    std::string Op;
  };
  std::vector<TComparison> Comparisons;
  // condition := term { AND term }; term := "(" condition ")" | column cmp column
  auto Condition = [&](auto& Self) -> bool {
    for (;;) {
      if (IsSymbol(CurToken(), "(")) {
        if (!EnterLevel())
          return false;
        NextToken();
        const bool Ok = Self(Self);
        LeaveLevel();
        if (!Ok)
          return false;
        if (!IsSymbol(CurToken(), ")")) {
          Fail();
          return false;
        }
        NextToken();
      } else {
        TComparison C;
        for (auto* Side : {&C.Left, &C.Right}) {
          const int At = FTokenIndex;
          *Side = ParseOperand(false);
          if (!*Side)
            return false;
          if ((*Side)->Kind != TVXExprNode::ekIdent || (*Side)->Quals.empty()) {
            FailAt(At);
            return false;
          }
          if (Side == &C.Left) {
            if (CurToken().Kind != tkComparison || !IsJoinComparison(CurToken().Text)) {
              Fail();
              return false;
            }
            C.Op = CurToken().Text;
            NextToken();
          }
        }
        Comparisons.push_back(std::move(C));
      }
      if (!IsWord(CurToken(), "AND"))
        return true;
      NextToken();
    }
  };
  if (!Condition(Condition))
    return;

  const std::string Target = Joined->Qualifier();
  for (TComparison& C : Comparisons) {
    std::string Op = C.Op;
    std::string LeftQual = C.Left->Qualifier(), RightQual = C.Right->Qualifier();
    if (LeftQual == Target && RightQual != Target) {
      std::swap(C.Left, C.Right);
      std::swap(LeftQual, RightQual);
      Op = Mirrored(Op);
    }
    // The other side must be a table the FROM clause has named before.
    TVXTableDef* Owner = nullptr;
    if (RightQual == Target && LeftQual != Target) {
      for (int i = 0; i < TableDefs()->Count() && !Owner; ++i) {
        TVXTableDef* T = TableDefs()->Items(i);
        if (T != Joined && !T->Name().empty() && T->Alias() == LeftQual)
          Owner = T;
      }
    }
    if (!Owner) {
      FailAt(C.Left->TokenIndex < C.Right->TokenIndex ? C.Left->TokenIndex : C.Right->TokenIndex);
      return;
    }
    TVXJoinDef* J = Owner->JoinDefs()->Add();
    J->SetFieldName(C.Left->Text);
    J->SetJoinAlias(Target);
    J->SetJoinField(C.Right->Text);
    J->SetComparison(Op);
    J->SetJoinKind(Kind);
  }
}

}  // namespace Vexar
