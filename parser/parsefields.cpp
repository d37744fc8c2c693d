// The select list and the expression reader every clause uses.
//
// An expression is read into a small tree first:
//
//   expression := operand { operation operand }
//   operand    := ("-" | "+") operand | "(" expression ")" | number | string
//               | name ["." name]... ["." "*"] | function "(" [arguments] ")"
//   arguments  := "*" | expression { "," expression }
//
// and then stored as the model's nodes: a column, a literal or a call (with
// argument nodes) keeps its shape; anything with operations becomes one
// expression text with a blank between tokens, names quoted as the dialect
// quotes them and literals written as the dialect writes them.
#include <utility>

#include "parser/parsetree.h"
#include "parser/scriptwriter.h"
#include "parser/selectparser.h"
#include "platform/strutils.h"

namespace Vexar {

namespace {

// Whether the comma-separated list Words holds Word (ignoring case).
bool ListHas(const std::string& Words, std::string_view Word) {
  size_t Start = 0;
  while (Start <= Words.size()) {
    size_t End = Words.find(',', Start);
    if (End == std::string::npos)
      End = Words.size();
    std::string_view Item = std::string_view(Words).substr(Start, End - Start);
    while (!Item.empty() && static_cast<unsigned char>(Item.front()) <= ' ')
      Item.remove_prefix(1);
    while (!Item.empty() && static_cast<unsigned char>(Item.back()) <= ' ')
      Item.remove_suffix(1);
    if (SameText(Item, Word))
      return true;
    Start = End + 1;
  }
  return false;
}

// Calls Visit for every qualified column or star of the tree, in reading
// order.
template <class F>
void ForEachQualified(const TVXExprNode& N, F&& Visit) {
  if ((N.Kind == TVXExprNode::ekIdent || N.Kind == TVXExprNode::ekStar) && !N.Quals.empty())
    Visit(N);
  for (const auto& K : N.Kids)
    ForEachQualified(*K, Visit);
}

// Calls Visit for every column that stays a column node in the model (the
// expression itself, or arguments of calls, at any depth).
template <class F>
void ForEachColumn(const TVXExprNode& N, F&& Visit) {
  if (N.Kind == TVXExprNode::ekIdent) {
    Visit(N);
  } else if (N.Kind == TVXExprNode::ekCall) {
    for (const auto& K : N.Kids)
      ForEachColumn(*K, Visit);
  }
}

// The qualifier of a node: its one part, or the parts joined by points.
std::string_view QualifierOf(const TVXExprNode& N, std::string& Buffer) {
  if (N.Quals.size() == 1)
    return N.Quals[0];
  Buffer = N.Qualifier();
  return Buffer;
}

}  // namespace

// ---------------------------------------------------------------------------
// Reading the tree

TVXExprPtr TVXSelectParser::ParseOperand(bool AllowStar) {
  if (!EnterLevel())
    return nullptr;
  TLevelGuard Guard{this};

  const int Start = FTokenIndex;
  const TVXParseToken& T = CurToken();
  auto N = FNodes.NewExpr();
  N->TokenIndex = Start;

  if (IsSymbol(T, "-") || IsSymbol(T, "+")) {
    N->Kind = TVXExprNode::ekUnary;
    N->Text = T.Text;
    NextToken();
    auto Operand = ParseOperand(false);
    if (!Operand)
      return nullptr;
    // A signed number stays a number: «-1» is the literal -1.
    if ((Operand->Kind == TVXExprNode::ekInteger || Operand->Kind == TVXExprNode::ekFloat) &&
        !Operand->Text.empty() && Scanner()->IsDigit(Operand->Text[0])) {
      Operand->Text = N->Text + Operand->Text;
      Operand->TokenIndex = Start;
      return Operand;
    }
    N->Kids.push_back(std::move(Operand));
    return N;
  }
  if (IsSymbol(T, "(")) {
    NextToken();
    auto Inner = ParseArithmetic(false);
    if (!Inner)
      return nullptr;
    if (!IsSymbol(CurToken(), ")")) {
      Fail();
      return nullptr;
    }
    NextToken();
    N->Kind = TVXExprNode::ekParen;
    N->Kids.push_back(std::move(Inner));
    return N;
  }
  if (IsSymbol(T, "*")) {
    if (!AllowStar) {
      Fail();
      return nullptr;
    }
    N->Kind = TVXExprNode::ekStar;
    NextToken();
    return N;
  }
  switch (T.Kind) {
    case tkInteger:
    case tkFloat:
      N->Kind = T.Kind == tkInteger ? TVXExprNode::ekInteger : TVXExprNode::ekFloat;
      N->Text = T.Text;
      NextToken();
      return N;
    case tkString:
      // Quoted text right before a point qualifies a name: a dialect whose
      // double quotes make strings reads «"my table".a» as a column.
      if (T.Quoted && IsSymbol(PeekToken(), ".") && PeekToken().SpaceCount == 0)
        break;
      N->Kind = TVXExprNode::ekString;
      N->Text = T.Text;
      NextToken();
      return N;
    case tkFunction:
    case tkIdent:
    case tkIdentString:
      break;
    default:
      Fail();
      return nullptr;
  }

  // A word followed by "(" is a call, whether or not the dialect lists the
  // function; a function name without "(" is a column of that name.
  if (IsSymbol(PeekToken(), "("))
    return ParseCall();
  // The name read last is the node's text; the ones before it qualify it.
  N->Kind = TVXExprNode::ekIdent;
  if (T.Kind == tkFunction || !T.Quoted)
    N->Text.assign(T.Text);  // what NameOf gives an unquoted name
  else
    N->Text = NameOf(T);
  NextToken();
  // «t.a»: a point right after the name qualifies; «t . a» is no qualifier.
  while (IsSymbol(CurToken(), ".") && CurToken().SpaceCount == 0) {
    const TVXParseToken& After = PeekToken();
    if (IsQualifiedPart(FTokenIndex + 1)) {
      N->Quals.push_back(std::move(N->Text));
      if (After.Quoted)
        N->Text = NameOf(After);
      else
        N->Text.assign(After.Text);
      NextToken();
      NextToken();
    } else if (IsSymbol(After, "*") && AllowStar) {
      NextToken();
      NextToken();
      N->Kind = TVXExprNode::ekStar;
      N->Quals.push_back(std::move(N->Text));
      N->Text.clear();
      return N;
    } else {
      FailAt(FTokenIndex + 1);
      return nullptr;
    }
  }
  return N;
}

// A call, on its name: "name (" ... ")". COUNT(*) holds a star argument;
// DISTINCT inside a call is not read (an error at DISTINCT).
TVXExprPtr TVXSelectParser::ParseCall() {
  auto N = FNodes.NewExpr();
  N->Kind = TVXExprNode::ekCall;
  N->TokenIndex = FTokenIndex;
  N->Text = CurToken().Kind == tkFunction ? CurToken().Text : NameOf(CurToken());
  NextToken();  // "("
  NextToken();
  if (IsSymbol(CurToken(), ")")) {
    NextToken();
    return N;
  }
  if (IsSymbol(CurToken(), "*") && IsSymbol(PeekToken(), ")")) {
    auto Star = FNodes.NewExpr();
    Star->Kind = TVXExprNode::ekStar;
    Star->TokenIndex = FTokenIndex;
    N->Kids.push_back(std::move(Star));
    NextToken();
    NextToken();
    return N;
  }
  for (;;) {
    auto Argument = ParseArithmetic(false);
    if (!Argument)
      return nullptr;
    N->Kids.push_back(std::move(Argument));
    if (IsSymbol(CurToken(), ",")) {
      NextToken();
      continue;
    }
    if (IsSymbol(CurToken(), ")")) {
      NextToken();
      return N;
    }
    Fail();
    return nullptr;
  }
}

TVXExprPtr TVXSelectParser::ParseArithmetic(bool AllowStar) {
  auto First = ParseOperand(AllowStar);
  if (!First)
    return nullptr;
  if (First->Kind == TVXExprNode::ekStar || CurToken().Kind != tkOperation || CurToken().Quoted)
    return First;
  auto N = FNodes.NewExpr();
  N->Kind = TVXExprNode::ekBinary;
  N->TokenIndex = First->TokenIndex;
  N->Kids.push_back(std::move(First));
  while (CurToken().Kind == tkOperation && !CurToken().Quoted) {
    N->Ops.emplace_back(CurToken().Text);
    NextToken();
    auto Next = ParseOperand(false);
    if (!Next)
      return nullptr;
    N->Kids.push_back(std::move(Next));
  }
  return N;
}

// ---------------------------------------------------------------------------
// Writing the tree

std::string TVXSelectParser::RenderExpression(const TVXExprNode& N) const {
  const TVXSQLScanner* S = Scanner();
  auto Qualified = [&](const std::string& Last) {
    std::string R;
    for (const std::string& Q : N.Quals)
      R += S->ProcessName(Q) + ".";
    return R + Last;
  };
  auto Joined = [&](const char* Open, const char* Close) {
    std::string R = Open;
    for (size_t i = 0; i < N.Kids.size(); ++i) {
      if (i)
        R += ", ";
      R += RenderExpression(*N.Kids[i]);
    }
    return R + Close;
  };
  switch (N.Kind) {
    case TVXExprNode::ekIdent:
      return Qualified(S->ProcessName(N.Text));
    case TVXExprNode::ekInteger:
    case TVXExprNode::ekFloat:
      return N.Text;
    case TVXExprNode::ekString:
      return S->QuoteString(N.Text);
    case TVXExprNode::ekCall:
      return ProcessFunction(N.Text) + Joined("(", ")");
    case TVXExprNode::ekStar:
      return Qualified("*");
    case TVXExprNode::ekUnary: {
      // «- -1», never «--1», which would start a comment.
      std::string Operand = RenderExpression(*N.Kids[0]);
      const bool Gap = N.Text == "-" && !Operand.empty() && Operand[0] == '-';
      return N.Text + (Gap ? " " : "") + Operand;
    }
    case TVXExprNode::ekBinary: {
      std::string R = RenderExpression(*N.Kids[0]);
      for (size_t i = 0; i < N.Ops.size(); ++i)
        R += " " + N.Ops[i] + " " + RenderExpression(*N.Kids[i + 1]);
      return R;
    }
    case TVXExprNode::ekParen:
      return "(" + RenderExpression(*N.Kids[0]) + ")";
    case TVXExprNode::ekList:
      return Joined("(", ")");
  }
  return std::string();
}

TVXTableDef* TVXSelectParser::QualifierTable(const std::string& Qualifier) {
  TVXTableDef* T = TableDefs()->FindByAlias(Qualifier);
  if (!T) {
    T = TableDefs()->Add();
    T->SetAlias(Qualifier);
  }
  return T;
}

// Stores the tree in Def. Columns are stored by their own name, or, with
// UseFullName, qualified and quoted as written; a call keeps its argument
// nodes; a parenthesised list is a node without name whose arguments are
// the items; anything else is one expression text.
void TVXSelectParser::BuildExpression(TVXFunctionDef* Def, const TVXExprNode& N, bool UseFullName) {
  // The scratch field of the select list gets what SetName and SetKind would
  // give it after Clear (the name as alias, or "FIELD_1" for a computed
  // output) without their lookups: its alias is replaced before it is kept.
  auto Set = [&](std::string Name, TVXFunctionKind Kind) {
    if (Def == FFreeField.get()) {
      FFreeField->SetAlias(Kind == fkIdentifier || Kind == fkUnknown ? Name : "FIELD_1");
      FFreeField->TakeNameAndKind(std::move(Name), Kind);
    } else {
      Def->SetName(Name);
      Def->SetKind(Kind);
    }
  };
  switch (N.Kind) {
    case TVXExprNode::ekIdent:
      Set(UseFullName && !N.Quals.empty() ? RenderExpression(N) : N.Text, fkIdentifier);
      return;
    case TVXExprNode::ekInteger:
      Set(N.Text, fkInteger);
      return;
    case TVXExprNode::ekFloat:
      Set(N.Text, fkFloat);
      return;
    case TVXExprNode::ekString: {
      // A stored string loses one pair of enclosing quotes when written, so
      // a value that itself starts and ends with a quote gets one more pair.
      std::string Value = N.Text;
      auto IsQuote = [](char C) { return C == '"' || C == '\''; };
      if (Value.size() > 1 && IsQuote(Value.front()) && IsQuote(Value.back()))
        Value = "'" + Value + "'";
      Set(Value, fkString);
      return;
    }
    case TVXExprNode::ekStar:
      Set("*", fkUnknown);
      return;
    case TVXExprNode::ekCall:
    case TVXExprNode::ekList:
      if (N.Kind == TVXExprNode::ekCall)
        Set(ProcessFunction(N.Text), fkFunction);
      else
        Set(std::string(), fkUnknown);
      for (const auto& K : N.Kids)
        BuildExpression(Def->Arguments()->Add(), *K, UseFullName);
      return;
    default:
      Set(RenderExpression(N), fkExpression);
      return;
  }
}

void TVXSelectParser::DoParseExpression(TVXFunctionDef* Def, TVXTableDef*& TableDef,
                                        TTokenKinds Terminators, const std::string& AllowedWords,
                                        bool UseFullName) {
  if (!Def)
    return;
  // The reader ends an expression at the first token that cannot continue
  // it, which covers every terminator kind a caller names.
  (void)Terminators;
  Def->Clear();
  FAliasGiven = false;
  FStarRead = false;
  auto* Field = ScriptWriter::FastCast<TVXFieldDef>(Def);
  const bool OutputItem = Field && ListHas(AllowedWords, "AS");
  auto Node = ParseArithmetic(OutputItem);
  if (!Node) {
    Fail();
    return;
  }

  // Every qualifier names a table definition (made when none has it yet).
  // Expressions name few tables, so the ones met are remembered in a list.
  std::vector<std::pair<std::string, TVXTableDef*>>& Seen = FSeenQualifiers;
  Seen.clear();
  std::string Buffer;
  auto TableOf = [&](std::string_view Q) {
    for (const auto& [Name, T] : Seen)
      if (Name == Q)
        return T;
    std::string Name(Q);
    TVXTableDef* T = QualifierTable(Name);
    Seen.emplace_back(std::move(Name), T);
    return T;
  };
  TVXTableDef* First = nullptr;
  ForEachQualified(*Node, [&](const TVXExprNode& N) {
    TVXTableDef* T = TableOf(QualifierOf(N, Buffer));
    if (!First)
      First = T;
  });
  TableDef = First;

  if (Node->Kind == TVXExprNode::ekStar) {
    // «*» or «t.*»: an empty field stands for all columns.
    FStarRead = true;
    return;
  }
  bool AsText = false;
  if (!UseFullName) {
    // Columns are stored without qualifier and written with their table's,
    // so all the column nodes of one output must share one qualifier; an
    // output that mixes qualifiers is kept as one expression text.
    std::string Shared;
    bool Any = false;
    ForEachColumn(*Node, [&](const TVXExprNode& N) {
      const std::string_view Q = N.Quals.empty() ? std::string_view() : QualifierOf(N, Buffer);
      if (!Any) {
        Shared = Q;
        Any = true;
      } else if (Q != Shared) {
        AsText = true;
      }
    });
    if (Any && !AsText)
      TableDef = Shared.empty() ? nullptr : TableOf(Shared);
  }
  if (AsText) {
    Def->SetName(RenderExpression(*Node));
    Def->SetKind(fkExpression);
  } else {
    BuildExpression(Def, *Node, UseFullName);
  }

  if (!OutputItem)
    return;
  // «AS alias», or the alias right after the output without AS.
  const TVXParseToken* T = &CurToken();
  if (IsKeywordToken(*T) && SameText(T->Text, "AS")) {
    NextToken();
    T = &CurToken();
    if (T->Kind != tkIdent && T->Kind != tkIdentString) {
      Fail();
      return;
    }
  } else if (T->Kind != tkIdent && T->Kind != tkIdentString) {
    return;
  }
  // A dialect that writes aliases as they are keeps a quoted alias quoted:
  // it may be a word the statement could not take bare («AS "when"»).
  Field->SetAlias(T->Quoted && !Scanner()->GetProcessAliases() ? Scanner()->QuoteIdent(T->Text)
                                                               : NameOf(*T));
  FAliasGiven = true;
  NextToken();
}

// ---------------------------------------------------------------------------
// The select list

void TVXSelectParser::DoParseFieldDef() {
  // Each output is read into one free field, kept for all of them, and then
  // copied under its table(s).
  if (!FFreeField) {
    FFreeField.reset(TCollectionItem::Create<TVXFieldDef>(nullptr));
    FFreeField->SetParser(this);
  }
  TVXFieldDef* const Free = FFreeField.get();
  TVXTableDef* T = nullptr;
  DoParseExpression(Free, T, TTokenKinds{tkKeyword}, "AS", false);
  if (FState == ssError)
    return;

  const bool Star = FStarRead, Qualified = T != nullptr;
  if (Star && !T) {
    // «*»: all columns of the tables the FROM clause names.
    T = TableDefs()->Add();
  } else if (!T) {
    // Unqualified outputs share the definition without alias. Which table an
    // unqualified column belongs to is not known here: the FROM clause names
    // that definition when it names a single table, and otherwise the column
    // stays unqualified until a schema places it (LoadSchema).
    T = TableDefs()->FindByAlias("");
    if (!T)
      T = TableDefs()->Add();
  }
  if (!Qualified)
    FUnqualifiedTable = T;
  TVXFieldDef* G = T->FieldDefs()->Add();
  G->TakeFrom(Free);
  if (!FAliasGiven && G->Kind() != fkUnknown && G->Kind() != fkIdentifier) {
    // The alias made while the field was free is not unique in the list:
    // the first numbered one no output read so far uses (what GenerateAlias
    // finds, without going through every output again for each one).
    // The set of the aliases read is made the first time it is needed.
    if (!FOutputAliasSetMade) {
      FOutputAliasSet.insert(FOutputAliases.begin(), FOutputAliases.end());
      FOutputAliasSetMade = true;
    }
    std::string Alias;
    do
      Alias = "FIELD_" + std::to_string(++FFieldAliasNumber);
    while (FOutputAliasSet.count(Alias));
    G->SetAlias(Alias);
  }
  FOutputAliases.push_back(G->Alias());
  if (FOutputAliasSetMade)
    FOutputAliasSet.insert(G->Alias());
  if (Star && Qualified)
    FQualifiedStars.push_back(G);
}

// The list up to FROM. «*» stands alone; an item is followed by "," or FROM.
void TVXSelectParser::DoParseFieldDefs() {
  bool First = true;
  FOutputAliases.clear();
  FOutputAliasSet.clear();
  FOutputAliasSetMade = false;
  FFieldAliasNumber = 0;
  while (FState == ssFieldDefs) {
    const bool Star = IsSymbol(CurToken(), "*");
    if (Star && !First) {
      Fail();
      break;
    }
    DoParseFieldDef();
    if (FState == ssError)
      break;
    First = false;
    const TVXParseToken& T = CurToken();
    if (IsSymbol(T, ",") && !Star) {
      NextToken();
    } else if (IsKeywordToken(T) && SameText(T.Text, "FROM")) {
      FState = ssFrom;
    } else {
      // The end of the text (a statement without FROM), another keyword, or
      // a token that cannot follow an item.
      Fail();
    }
  }
  if (FState == ssError)
    TableDefs()->Clear();
}

}  // namespace Vexar
