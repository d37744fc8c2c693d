// The parser's driver: reading a statement into tokens, the state machine
// over the clauses, the clause handlers that only pass control on, and the
// one path every error is reported through.
#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "parser/limits.h"
#include "parser/parsetree.h"
#include "parser/selectparser.h"
#include "platform/strutils.h"

namespace Vexar {

// ---------------------------------------------------------------------------
// Tokens and the cursor

const TVXSelectParser::TVXParseToken& TVXSelectParser::TokenOutside(int Index) const {
  static const TVXParseToken EndToken;
  if (FTokens.empty())
    return EndToken;
  return Index < 0 ? FTokens.front() : FTokens.back();
}

void TVXSelectParser::SetTokenIndex(int Index) {
  if (Index < 0)
    Index = 0;
  if (Index >= static_cast<int>(FTokens.size()))
    Index = static_cast<int>(FTokens.size()) - 1;
  FTokenIndex = Index < 0 ? 0 : Index;
}

namespace {

// SameText for a word: texts of other lengths, most of those compared, are
// told apart without the comparison.
bool SameWord(std::string_view A, std::string_view B) {
  return A.size() == B.size() && SameText(A, B);
}

}  // namespace

bool TVXSelectParser::IsWord(const TVXParseToken& T, std::string_view Word) {
  return !T.Quoted && (T.Kind == tkKeyword || T.Kind == tkIdent || T.Kind == tkUnknown) &&
         SameWord(T.Text, Word);
}

bool TVXSelectParser::IsQualifiedPart(int Index) const {
  const TVXParseToken& T = TokenAt(Index);
  if (IsNameToken(T))
    return true;
  // A column or an alias may bear a function's name («SELECT SUM FROM t»
  // reads one); the writer qualifies it (t.SUM) and writes it in GROUP BY, so
  // it is a name wherever no call follows.
  return T.Kind == tkFunction && !T.Quoted && !IsSymbol(TokenAt(Index + 1), "(");
}

std::string TVXSelectParser::NameOf(const TVXParseToken& T) const {
  if (!T.Quoted)
    return std::string(T.Text);
  // Quoted text that reads as a plain word is stored without its quotes
  // (the dialect's quoting adds them again when the text is written); any
  // other quoted name keeps them, so that it is never split at a point or
  // written as something else.
  if (ReadsAsPlainName(T.Text))
    return std::string(T.Text);
  return Scanner()->QuoteIdent(T.Text);
}

bool TVXSelectParser::ReadsAsPlainName(std::string_view Text) const {
  const TVXSQLScanner* S = Scanner();
  bool Plain = !Text.empty() && S->IsAlpha(Text[0]);
  for (char C : Text)
    if (!(S->IsAlpha(C) || S->IsDigit(C) || C == '_'))
      Plain = false;
  return Plain && !S->IsKeyword(Text) && !S->IsFunction(Text);
}

int TVXSelectParser::MatchingParen(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FMatch.size()))
    return -1;
  return FMatch[Index];
}

void TVXSelectParser::FailAt(int Index) {
  SetTokenIndex(Index);
  FState = ssError;
}

bool TVXSelectParser::ReadNumber(int& Value) {
  NextToken();
  const TVXParseToken& T = CurToken();
  if (T.Kind != tkInteger || T.Quoted || !TryStrToInt(T.Text, Value)) {
    Fail();
    return false;
  }
  return true;
}

bool TVXSelectParser::EnterLevel() {
  if (FDepth >= MaxNestingDepth - 2) {
    Fail();
    return false;
  }
  ++FDepth;
  return true;
}

// Reads the whole text with the scanner. An unterminated string ends the
// list with an end token that stands for the error, so that it is reported
// where the reader meets it, like any other error, and not before an error
// earlier in the text.
void TVXSelectParser::Tokenize(const std::string& Text) {
  FTokens.clear();
  FMatch.clear();
  FTokenIndex = 0;
  FUnterminated = -1;
  FTokens.reserve(Text.size() / 2 + 1);
  try {
    Scanner()->ReadTokens(Text, FTokens, FTokenChars);
  } catch (const EVXParserError& E) {
    if (E.ErrorCode() != 3)
      throw;
    // The quoted text that never ends stands as the end token.
    FUnterminatedText = E.Token();
    TVXParseToken T;
    T.Text = FUnterminatedText;
    T.Kind = tkEnd;
    T.LineNo = E.LineNo();
    T.Column = E.LinePos();
    T.Quoted = true;
    FUnterminated = static_cast<int>(FTokens.size());
    FTokens.push_back(T);
  }
  // Parentheses are paired once, so that looking past a parenthesised part
  // costs nothing.
  FMatch.assign(FTokens.size(), -1);
  std::vector<int>& Open = FOpenParens;
  Open.clear();
  for (int i = 0; i < static_cast<int>(FTokens.size()); ++i) {
    if (IsSymbol(FTokens[i], "(")) {
      Open.push_back(i);
    } else if (IsSymbol(FTokens[i], ")") && !Open.empty()) {
      FMatch[Open.back()] = i;
      FMatch[i] = Open.back();
      Open.pop_back();
    }
  }
}

// ---------------------------------------------------------------------------
// Errors

void TVXSelectParser::ProcessError(const std::string& Token, int LineNo, int LinePos) {
  const int Code = FErrorCode ? FErrorCode : (Token.empty() ? 2 : 1);
  EVXParserError E(Code, Token, LineNo, LinePos - static_cast<int>(Token.size()));
  if (OnParserError) {
    OnParserError(this, E.Message(), E.Token(), E.LineNo(), E.LinePos());
    return;
  }
  throw E;
}

// Reports the token at Index: its text, line and start column; the end of
// the statement as an empty token; the unterminated string with its code.
void TVXSelectParser::ReportError(int Index) {
  const TVXParseToken& T = TokenAt(Index);
  const bool Unterminated = FUnterminated >= 0 && Index >= FUnterminated;
  const std::string Token(Unterminated || T.Kind != tkEnd ? T.Text : std::string_view());
  FErrorCode = Unterminated ? 3 : 0;
  struct Reset {
    int& Code;
    ~Reset() { Code = 0; }
  } ResetCode{FErrorCode};
  ProcessError(Token, T.LineNo, T.Column + static_cast<int>(Token.size()));
}

// ---------------------------------------------------------------------------
// The state machine

void TVXSelectParser::SetExpression(const std::string& S) {
  try {
    FSource = S;
    bool Empty = false;
    try {
      Scanner()->SetExpression(S);
      Empty = Scanner()->TokenKind() == tkEnd;
    } catch (const EVXParserError&) {
      // An unterminated string at the very start: DoParse reports it.
    }
    if (Empty) {
      Clear();
      return;
    }
    DoParse();
  } catch (const EVXParserError&) {
    throw;  // the report itself, raised because no handler is set
  } catch (const std::exception&) {
    // Anything else (a text too long to address, memory running out, a
    // fault of a dialect's handler) is still an error of this statement:
    // it takes the one reporting path, so that a component's handler sees
    // it and no other exception reaches the event loop.
    FState = ssError;
    FErrorCode = kInternalError;
    struct Reset {
      int& Code;
      ~Reset() { Code = 0; }
    } ResetCode{FErrorCode};
    ProcessError(std::string(), 1, 1);
  }
}

void TVXSelectParser::DoParse() {
  const std::string Text = FSource;
  Clear();
  FLastTableName.clear();
  FLastAlias.clear();
  FQualifiedStars.clear();
  FUnqualifiedTable = nullptr;
  FNamedTables.clear();
  FHavingIndex = -1;
  FDepth = 0;
  FErrorCode = 0;
  Tokenize(Text);
  // The tokens serve only this reading; the model keeps none of them. Their
  // lists keep their room for the next reading (a designer reads statement
  // after statement), unless it is large: then it goes when the reading
  // ends, whichever way it ends.
  struct TReleaseTokens {
    TVXSelectParser* P;
    ~TReleaseTokens() {
      constexpr size_t KeptBytes = 256 * 1024;
      if (P->FTokens.capacity() * sizeof(TVXParseToken) > KeptBytes) {
        std::vector<TVXParseToken>().swap(P->FTokens);
        std::vector<int>().swap(P->FMatch);
      } else {
        P->FTokens.clear();
        P->FMatch.clear();
      }
      if (P->FTokenChars.capacity() > KeptBytes)
        std::string().swap(P->FTokenChars);
      P->FTokenIndex = 0;
    }
  } Release{this};
  FState = ssBegin;
  try {
    while (FState != ssError && FState != ssEnd) {
      switch (FState) {
        case ssBegin:
          DoParseBegin();
          break;
        case ssSelect:
          DoParseSelectClause();
          break;
        case ssFieldDefs:
          DoParseFieldDefs();
          break;
        case ssInto:
          DoParseIntoClause();
          break;
        case ssFrom:
          DoParseFromClause();
          break;
        case ssTableDefs:
          DoParseTableDefs();
          break;
        case ssWhere:
          DoParseWhereClause();
          break;
        case ssGroupBy:
          DoParseGroupByClause();
          break;
        case ssHaving:
          DoParseHavingClause();
          break;
        case ssOrderBy:
          DoParseOrderByClause();
          break;
        case ssAppendix:
          DoParseAppendix();
          break;
        default:
          FState = ssError;
          break;
      }
      if (FState == ssError || FState == ssEnd)
        break;
      // The select list, the table list and a dialect's appendix start on
      // the token that led into them; every other clause after its keyword.
      if (FState != ssFieldDefs && FState != ssTableDefs && FState != ssAppendix)
        NextToken();
    }
    if (FState == ssEnd)
      FinishParse();
  } catch (const EVXNestingError&) {
    // The model refused a node below the deepest level.
    FState = ssError;
  }
  if (FState == ssError)
    ReportError(FTokenIndex);
  else if (FUnterminated >= 0)
    ReportError(FUnterminated);
}

void TVXSelectParser::DoParseBegin() {
  FState = IsWord(CurToken(), "SELECT") ? ssSelect : ssError;
}

void TVXSelectParser::DoParseSelectClause() {
  const bool Distinct = IsKeywordToken(CurToken()) && SameText(CurToken().Text, "DISTINCT");
  SetDistinct(Distinct);
  if (Distinct)
    NextToken();
  const TVXParseToken& T = CurToken();
  switch (T.Kind) {
    case tkFunction:
    case tkInteger:
    case tkFloat:
    case tkString:
    case tkIdent:
    case tkIdentString:
      FState = ssFieldDefs;
      return;
    default:
      // «*», a parenthesis or a sign may start the list as well.
      FState = IsSymbol(T, "*") || IsSymbol(T, "(") || IsSymbol(T, "-") || IsSymbol(T, "+")
                   ? ssFieldDefs
                   : ssError;
  }
}

// No clause leads here: SELECT ... INTO is not read.
void TVXSelectParser::DoParseIntoClause() {
  FState = ssError;
}

void TVXSelectParser::DoParseFromClause() {
  FState = IsNameToken(CurToken()) ? ssTableDefs : ssError;
}

// The generic statement has nothing after ORDER BY; dialects read their
// trailing clauses here.
void TVXSelectParser::DoParseAppendix() {
  FState = ssError;
}

bool TVXSelectParser::IsJoinDef(std::string_view S) const {
  switch (S.size()) {
    case 4:
      return SameText(S, "LEFT") || SameText(S, "FULL") || SameText(S, "JOIN");
    case 5:
      return SameText(S, "INNER") || SameText(S, "RIGHT");
    default:
      return false;
  }
}

// Decides the clause that follows a WHERE, GROUP BY or HAVING clause from
// the current token. GROUP and ORDER must be followed by BY; the cursor is
// then left on BY. The words a clause may not be followed by lead to the
// appendix (and, in the generic dialect, to an error at them).
void TVXSelectParser::NextClause(bool AllowWhere, bool AllowGroupBy, bool AllowHaving,
                                 bool AllowOrderBy) {
  const TVXParseToken& T = CurToken();
  if (T.Kind == tkEnd) {
    FState = ssEnd;
    return;
  }
  if (!IsKeywordToken(T)) {
    Fail();
    return;
  }
  const bool Group = SameWord(T.Text, "GROUP"), Order = SameWord(T.Text, "ORDER");
  if ((Group || Order) && !IsWord(PeekToken(), "BY")) {
    NextToken();
    Fail();
    return;
  }
  if (AllowWhere && SameWord(T.Text, "WHERE")) {
    FState = ssWhere;
  } else if (AllowGroupBy && Group) {
    NextToken();
    FState = ssGroupBy;
  } else if (AllowHaving && SameWord(T.Text, "HAVING")) {
    FHavingIndex = FTokenIndex;
    FState = ssHaving;
  } else if (AllowOrderBy && Order) {
    NextToken();
    FState = ssOrderBy;
  } else {
    FState = ssAppendix;
  }
}

// Name followed by the first number no alias of Taken holds, counting on
// from the number Next last gave Name; the alias found joins Taken. A name
// kept in its quoted form is numbered inside its quotes.
std::string TVXSelectParser::NumberedAlias(const std::string& Name,
                                           std::unordered_set<std::string>& Taken,
                                           std::unordered_map<std::string, int>& Next) const {
  const TVXSQLScanner* S = Scanner();
  const char Q = S->GetIdentQuote();
  const bool Enclosed = Name.size() > 1 && Name.front() == Q && Name.back() == Q;
  const std::string Base =
      Enclosed ? S->UnquoteText(std::string_view(Name).substr(1, Name.size() - 2), Q) : Name;
  // Where the quote is no identifier quote (SQL dialect 1), a quoted alias
  // would read back as a string: the number goes on the plain name. A
  // numbered name that reads as a plain word is kept without quotes, as
  // reading it back would keep it («"DATE"» gives DATE1, not «"DATE1"»).
  const bool Quoted = Enclosed && S->IsIdentQuote(Q);
  for (int& n = Next[Name];;) {
    ++n;
    std::string A = Base + std::to_string(n);
    if (Quoted && !ReadsAsPlainName(A))
      A = S->QuoteIdent(A);
    if (Taken.insert(A).second)
      return A;
  }
}

// Once the statement has been read: a HAVING clause that would not be
// written (no grouping at all) is an error at HAVING rather than a clause
// lost; a qualified star among other outputs, or over several tables, is
// written as such; a column read twice gets a numbered alias.
void TVXSelectParser::FinishParse() {
  TVXTableDefs* Tables = TableDefs();
  // The named tables take the places they hold among the definitions in the
  // order of the FROM clause (the select list may have made them in another
  // order), so that the FROM clause is written in its own order.
  std::vector<int> Places;
  Places.reserve(FNamedTables.size());
  for (TVXTableDef* T : FNamedTables)
    Places.push_back(T->Index());
  std::sort(Places.begin(), Places.end());
  for (size_t k = 0; k < FNamedTables.size(); ++k) {
    TVXTableDef* T = FNamedTables[k];
    const int From = T->Index(), To = Places[k];
    if (From == To)
      continue;
    // Exchange with the table at To; everything else stays in place.
    Tables->Items(To)->SetIndex(From);
    T->SetIndex(To);
  }
  // Unqualified outputs of a statement over several tables belong to no
  // table in particular: they move to a definition without name, whose
  // fields are written unqualified, as the statement wrote them.
  TVXTableDef* Shared = FUnqualifiedTable;
  // The marker of «*» (a field without name) stays: it stands for all
  // columns of the FROM clause wherever it is.
  if (FNamedTables.size() > 1 && Shared && !Shared->Name().empty()) {
    std::vector<TVXFieldDef*> Moving;
    for (int j = 0; j < Shared->FieldDefs()->Count(); ++j) {
      TVXFieldDef* F = Shared->FieldDefs()->Items(j);
      if (!F->IsInputParam() && !F->Name().empty())
        Moving.push_back(F);
    }
    TVXTableDef* Free = Moving.empty() ? nullptr : Tables->Add();
    for (TVXFieldDef* F : Moving)
      Tables->MoveField(F, Free);
  }
  // The lists are walked in place below: every table and field is visited,
  // and a checked lookup each cost more than the visit.
  int Named = 0, Fields = 0;
  for (TCollectionItem* Item : Tables->List()) {
    const auto* T = static_cast<const TVXTableDef*>(Item);
    if (!T->Name().empty())
      ++Named;
    for (TCollectionItem* Field : T->FieldDefs()->List())
      if (!static_cast<const TVXFieldDef*>(Field)->IsInputParam())
        ++Fields;
  }
  if (Named > 1 || Fields > 1) {
    for (TVXFieldDef* F : FQualifiedStars) {
      const std::string Text = F->GetTableAlias().empty()
                                   ? std::string("*")
                                   : Scanner()->ProcessName(F->GetTableAlias()) + ".*";
      F->SetName(Text);
      F->SetKind(fkExpression);
      F->SetAlias(F->Name());
    }
  }
  // A column read twice from one table gets a numbered alias the second
  // time; aliases the statement gives are kept as they are. Sets of the
  // aliases taken keep this linear in the length of the select list; they
  // are made only once a column is found read twice, and a short list is
  // searched in place.
  constexpr int ShortList = 16;
  std::unordered_set<std::string> Taken;
  std::unordered_map<std::string, int> Next;
  bool TakenMade = false;
  for (TCollectionItem* Table : Tables->List()) {
    const std::vector<TCollectionItem*>& List =
        static_cast<const TVXTableDef*>(Table)->FieldDefs()->List();
    auto FieldAt = [&List](int j) { return static_cast<TVXFieldDef*>(List[j]); };
    const int Count = static_cast<int>(List.size());
    if (Count < 2)
      continue;
    const bool Short = Count <= ShortList;
    std::unordered_set<std::string> Before;  // aliases of the fields before j
    for (int j = 0; j < Count; ++j) {
      TVXFieldDef* F = FieldAt(j);
      if (j > 0 && !F->Name().empty() && F->Alias() == F->Name() && !F->IsInputParam()) {
        bool Twice = false;
        if (Short) {
          for (int k = 0; k < j && !Twice; ++k)
            Twice = FieldAt(k)->Alias() == F->Name();
        } else {
          Twice = Before.count(F->Name()) > 0;
        }
        if (Twice) {
          if (!TakenMade) {
            // No alias has changed yet: these are the statement's own.
            for (int t = 0; t < Tables->Count(); ++t) {
              TVXFieldDefs* L = Tables->Items(t)->FieldDefs();
              for (int k = 0; k < L->Count(); ++k)
                Taken.insert(L->Items(k)->Alias());
            }
            TakenMade = true;
          }
          F->SetAlias(NumberedAlias(F->Name(), Taken, Next));
        }
      }
      if (!Short)
        Before.insert(F->Alias());
    }
  }
  if (HavingItems()->Count() > 0 && !GroupByItems()->HasEntries())
    FailAt(FHavingIndex);
}

}  // namespace Vexar
