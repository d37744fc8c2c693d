#include "parser/scanner.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

#include "parser/parsererror.h"
#include "parser/scriptwriter.h"
#include "platform/exception.h"
#include "platform/strutils.h"

namespace Vexar {

namespace {

// Character classes of the generic dialect, one entry per byte. Bytes that
// belong to no class (controls, NUL, 0x80-0xFF, quotes, '_', '$', ...) are
// ordinary characters of a word.
enum : uint8_t { ccAlpha = 1, ccDigit = 2, ccDelim = 4, ccSpace = 8, ccComparison = 16 };

constexpr std::array<uint8_t, 256> MakeClasses() {
  std::array<uint8_t, 256> T{};
  for (int C = 'A'; C <= 'Z'; ++C)
    T[C] |= ccAlpha;
  for (int C = 'a'; C <= 'z'; ++C)
    T[C] |= ccAlpha;
  for (int C = '0'; C <= '9'; ++C)
    T[C] |= ccDigit;
  // The twenty delimiters, then carriage return.
  for (char C : std::string_view(".,/\\;:(){}[]*+-<=>!"))
    T[static_cast<unsigned char>(C)] |= ccDelim;
  T['\r'] |= ccDelim;
  T[' '] |= ccSpace;
  T['\t'] |= ccSpace;
  T['<'] |= ccComparison;
  T['='] |= ccComparison;
  T['>'] |= ccComparison;
  return T;
}

constexpr std::array<uint8_t, 256> Classes = MakeClasses();

inline bool HasClass(char C, uint8_t Class) {
  return (Classes[static_cast<unsigned char>(C)] & Class) != 0;
}

// Encloses Text in Quote, doubling every Quote inside.
std::string Enclose(std::string_view Text, char Quote) {
  std::string R;
  R.reserve(Text.size() + 2);
  ScriptWriter::AppendEnclosed(R, Text, Quote);
  return R;
}

// Length of the well-formed quoted part at the start of T: T starts with Q,
// every Q inside is doubled, and the closing Q is followed by a point or by the
// end of T. 0 when T does not start with such a part.
size_t QuotedPartLength(std::string_view T, char Q) {
  if (T.empty() || T[0] != Q)
    return 0;
  for (size_t I = 1; I < T.size(); ++I) {
    if (T[I] != Q)
      continue;
    if (I + 1 < T.size() && T[I + 1] == Q) {
      ++I;  // a doubled quote stands for one quote of the name
      continue;
    }
    return (I + 1 == T.size() || T[I + 1] == '.') ? I + 1 : 0;
  }
  return 0;  // never closed
}

}  // namespace

// ---------------------------------------------------------------------------
// TVXScanner

bool TVXScanner::IsAlpha(char C) const {
  return HasClass(C, ccAlpha);
}

// The twenty delimiters ".,/\;:(){}[]*+-<=>!" and the carriage return. A line
// feed is no delimiter: TVXSQLScanner treats it as a line break of its own.
bool TVXScanner::IsDelim(char C) const {
  return HasClass(C, ccDelim);
}

bool TVXScanner::IsDigit(char C) const {
  return HasClass(C, ccDigit);
}

// String quotes. The generic dialect follows standard SQL: only the single
// quote delimits string literals; the double quote delimits identifiers
// (TVXSQLScanner::IsIdentQuote).
bool TVXScanner::IsQuote(char C) const {
  return C == '\'';
}

bool TVXScanner::IsSpace(char C) const {
  return HasClass(C, ccSpace);
}

// Reads the next token and puts back the position, the token, the level and
// the quote state, so that the next GetNextToken reads the same token again.
// The state is put back also when reading raises.
std::string TVXScanner::GetTokenPlus() {
  const int Position = FPosition;
  const std::string Token = FToken;
  const int Level = FLevel;
  const bool InQuote = FInQuote;
  const char QuoteChar = FQuoteChar;
  auto Restore = [&] {
    FPosition = Position;
    FToken = Token;
    FLevel = Level;
    FInQuote = InQuote;
    FQuoteChar = QuoteChar;
  };
  std::string R;
  try {
    R = GetNextToken();
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
  return R;
}

bool TVXScanner::ShouldLevelUp(char C) const {
  return C == '(';
}

bool TVXScanner::ShouldLevelDown(char C) const {
  return C == ')';
}

void TVXScanner::Init() {
  FToken.clear();
  FPosition = 1;
  FLevel = 0;
  FInQuote = false;
  FQuoteChar = 0;
}

// Restarts scanning at Pos, which is limited to 1 .. length + 1 (just past the
// end). The base cannot tell the nesting at Pos, so it restarts from Init;
// TVXSQLScanner keeps the level and the line counters right instead.
void TVXScanner::SetPosition(int Pos) {
  const int Last = static_cast<int>(FExpression.size()) + 1;
  Pos = std::clamp(Pos, 1, Last);
  if (Pos == FPosition)
    return;
  Init();
  FPosition = Pos;
}

std::string TVXScanner::GetFirstToken() {
  Init();
  return GetNextToken();
}

// Positions are int, so a text must leave room for the position just past
// its end.
void TVXScanner::SetExpression(const std::string& S) {
  if (S.size() >= static_cast<size_t>(INT_MAX))
    throw Exception("SQL text is too long");
  FExpression = S;
  GetFirstToken();
}

// ---------------------------------------------------------------------------
// TVXSQLScanner: construction and word lists

// Second construction phase: runs after the object is complete, so the
// GetComma* lists loaded here are those of the most derived dialect.
void TVXSQLScanner::Initialize() {
  TVXScanner::Initialize();
  auto MakeList = [] {
    auto L = std::make_unique<TStringList>();
    L->SetSorted(true);
    return L;
  };
  FFunctions = MakeList();
  DefineFunctions();
  FKeywords = MakeList();
  DefineKeywords();
  FOperations = MakeList();
  DefineOperations();
  FLineNo = 1;
  FLinePos = 1;
  FQuoteIdentifiers = true;
  RefreshCharClasses();
  FStandardWords = KeepsWordTests();
}

bool TVXSQLScanner::KeepsWordTests() const {
  return typeid(*this) == typeid(TVXSQLScanner);
}

void TVXSQLScanner::RefreshCharClasses() {
  if (const TCharClasses* Shared = SharedCharClasses())
    FCharClasses = *Shared;
  else
    FCharClasses = AskCharClasses();
}

TVXSQLScanner::TCharClasses TVXSQLScanner::AskCharClasses() const {
  TCharClasses Table{};
  for (int I = 0; I < 256; ++I) {
    const char C = static_cast<char>(I);
    uint16_t Bits = 0;
    if (IsQuote(C))
      Bits |= chQuote;
    if (IsIdentQuote(C))
      Bits |= chIdentQuote;
    if (IsDelim(C))
      Bits |= chDelim;
    if (IsSpace(C))
      Bits |= chSpace;
    if (IsDigit(C))
      Bits |= chDigit;
    if (IsAlpha(C))
      Bits |= chAlpha;
    if (IsLegalSymbol(C))
      Bits |= chLegal;
    if (IsComparison(C))
      Bits |= chComparison;
    if (ShouldLevelUp(C))
      Bits |= chLevelUp;
    if (ShouldLevelDown(C))
      Bits |= chLevelDown;
    if ((Bits & (chQuote | chIdentQuote | chDelim | chSpace)) || C == '.' || C == '\n' ||
        C == '\r')
      Bits |= chWordStop;
    Table[I] = Bits;
  }
  return Table;
}

// The classes of this class depend on nothing but the character.
const TVXSQLScanner::TCharClasses* TVXSQLScanner::SharedCharClasses() const {
  if (typeid(*this) != typeid(TVXSQLScanner))
    return nullptr;
  static const TCharClasses Table = AskCharClasses();
  return &Table;
}

// The word lists are written in the order their sorted lists keep (case
// ignored), so that loading one puts every word at the end of the list.
std::string TVXSQLScanner::GetCommaKeywords() const {
  return "AND,AS,ASC,BY,DESC,DISTINCT,FROM,FULL,GROUP,HAVING,INNER,INTO,JOIN,LEFT,NOT,ON,OR,ORDER,"
         "OUTER,RIGHT,SELECT,WHERE";
}

std::string TVXSQLScanner::GetCommaFunctions() const {
  return "AVG,COUNT,MAX,MIN,SUM";
}

std::string TVXSQLScanner::GetCommaOperations() const {
  return "*,+,-,/";
}

namespace {

// Loads List from a comma text, in sorted order. A sorted list puts every
// word in its place as it is added, so only a list that is not sorted needs
// sorting afterwards.
void LoadWords(TStringList& List, std::string_view CommaText) {
  List.Clear();
  List.SetCommaText(CommaText);
  if (!List.Sorted())
    List.Sort();
}

}  // namespace

void TVXSQLScanner::DefineKeywords() {
  LoadWords(*FKeywords, GetCommaKeywords());
}

void TVXSQLScanner::DefineFunctions() {
  LoadWords(*FFunctions, GetCommaFunctions());
}

void TVXSQLScanner::DefineOperations() {
  LoadWords(*FOperations, GetCommaOperations());
}

namespace {

// Copies Source into Target (a null Source empties it), upper-cases the
// entries and sorts them.
void CopyWords(TStringList& Target, const TStringList* Source, bool UpperCaseWords) {
  if (Source != &Target) {
    if (Source)
      Target.Assign(Source);
    else
      Target.Clear();
  }
  if (!UpperCaseWords)
    return;
  for (int I = 0; I < Target.Count(); ++I)
    Target.SetStrings(I, UpperCase(Target[I]));
  Target.Sort();
}

}  // namespace

void TVXSQLScanner::SetKeywords(const TStringList* List) {
  CopyWords(*FKeywords, List, true);
}

void TVXSQLScanner::SetFunctions(const TStringList* List) {
  CopyWords(*FFunctions, List, true);
}

void TVXSQLScanner::SetOperations(const TStringList* List) {
  CopyWords(*FOperations, List, false);
}

// ---------------------------------------------------------------------------
// TVXSQLScanner: classification

void TVXSQLScanner::MergeWordLists() const {
  const TStringList* Lists[3] = {FFunctions.get(), FKeywords.get(), FOperations.get()};
  FMergedCaseless = true;
  size_t Words = 0;
  for (int L = 0; L < 3; ++L) {
    FMergedLists[L] = Lists[L];
    FMergedChanges[L] = Lists[L]->ChangeCount();
    FMergedCaseless = FMergedCaseless && !Lists[L]->CaseSensitive();
    Words += static_cast<size_t>(Lists[L]->Count());
  }
  FWordTable.clear();
  FWordStarts.fill(0);
  if (!FMergedCaseless)
    return;
  size_t Size = 16;
  while (Size < Words * 4)
    Size *= 2;
  FWordTable.resize(Size);
  const size_t Mask = Size - 1;
  for (int L = 0; L < 3; ++L) {
    for (int I = 0; I < Lists[L]->Count(); ++I) {
      const std::string& W = (*Lists[L])[I];
      if (W.empty())
        continue;
      const size_t Bit = WordStartBit(W);
      FWordStarts[Bit / 64] |= uint64_t{1} << (Bit % 64);
      for (size_t Slot = TStringList::HashText(W, false) & Mask;; Slot = (Slot + 1) & Mask) {
        TWordSlot& E = FWordTable[Slot];
        if (E.Word.empty())
          E.Word = UpperCase(W);
        else if (!SameText(E.Word, W))
          continue;
        E.Lists |= static_cast<uint8_t>(1 << L);
        break;
      }
    }
  }
}

uint8_t TVXSQLScanner::ListsHolding(std::string_view S) const {
  const TStringList* Lists[3] = {FFunctions.get(), FKeywords.get(), FOperations.get()};
  uint8_t R = 0;
  for (int L = 0; L < 3; ++L)
    if (Lists[L]->IndexOf(S) >= 0)
      R |= static_cast<uint8_t>(1 << L);
  return R;
}

uint8_t TVXSQLScanner::FindWord(std::string_view S) const {
  auto Up = [](char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; };
  const size_t Mask = FWordTable.size() - 1;
  for (size_t Slot = TStringList::HashText(S, false) & Mask;; Slot = (Slot + 1) & Mask) {
    const TWordSlot& E = FWordTable[Slot];
    if (E.Word.empty())
      return 0;
    if (E.Word.size() != S.size())
      continue;
    size_t I = 0;
    while (I < S.size() && E.Word[I] == Up(S[I]))
      ++I;
    if (I == S.size())
      return E.Lists;
  }
}

uint8_t TVXSQLScanner::WordLists(std::string_view S) const {
  if (S.data() != FWordText || S.size() != FWordSize)
    return LookUpWord(S);
  if (!FWordLooked) {
    FWordBits = LookUpWord(S);
    FWordLooked = true;
  }
  return FWordBits;
}

bool TVXSQLScanner::IsOperation(std::string_view S) const {
  return !S.empty() && (WordLists(S) & wlOperation) != 0;
}

bool TVXSQLScanner::IsComparison(char C) const {
  return HasClass(C, ccComparison);
}

bool TVXSQLScanner::IsLegalSymbol(char C) const {
  return IsAlpha(C) || IsDigit(C) || C == '-' || C == '_';
}

// Identifier quotes: the double quote only, as in standard SQL.
bool TVXSQLScanner::IsIdentQuote(char C) const {
  return C == '"';
}

bool TVXSQLScanner::IsIdentifier(std::string_view S) const {
  return TableIdentifier(S);
}

// A letter, then letters, digits and the other legal symbols.
bool TVXSQLScanner::TableIdentifier(std::string_view S) const {
  if (S.empty() || !CharIs(S[0], chAlpha))
    return false;
  return std::all_of(S.begin() + 1, S.end(), [this](char C) { return CharIs(C, chLegal); });
}

bool TVXSQLScanner::IsInteger(std::string_view S) const {
  return AllDigits(S);
}

bool TVXSQLScanner::AllDigits(std::string_view S) const {
  return !S.empty() &&
         std::all_of(S.begin(), S.end(), [this](char C) { return CharIs(C, chDigit); });
}

// Where the word that starts at Start ends: at a quote, a delimiter, a blank
// or a line break. Digits followed by a point and digits make one number
// (Float set) when the end, a blank, a line break or a delimiter other than
// a point follows, unless a point stands right before the first digit:
// «1.2.3» is 1 . 2 . 3, never 1 . 2.3.
size_t TVXSQLScanner::WordEnd(size_t Start, bool& Float, uint16_t& Rest) const {
  const char* S = FExpression.data();
  const size_t N = FExpression.size();
  Float = false;
  Rest = 0xFFFF;
  size_t J = Start + 1;
  for (; J < N; ++J) {
    const char D = S[J];
    const uint16_t Bits = FCharClasses[static_cast<unsigned char>(D)];
    if (!(Bits & chWordStop)) {  // most characters of a word end nothing
      Rest &= Bits;
      continue;
    }
    if (D == '.' && (Start == 0 || S[Start - 1] != '.')) {
      const bool Digits = FStandardWords
                              ? CharIs(S[Start], chDigit) && (Rest & chDigit)  // AllDigits
                              : IsInteger(std::string_view(S + Start, J - Start));
      if (Digits) {
        size_t K = J + 1;
        while (K < N && CharIs(S[K], chDigit))
          ++K;
        if (K >= N || CharIs(S[K], chSpace) || S[K] == '\n' ||
            (CharIs(S[K], chDelim) && S[K] != '.')) {
          Float = true;
          return K;
        }
      }
    }
    if (D == '\n' || (Bits & (chQuote | chIdentQuote | chDelim | chSpace)) ||
        (D == '\r' && J + 1 < N && S[J + 1] == '\n'))
      break;
    Rest &= Bits;
  }
  return J;
}

bool TVXSQLScanner::IsKeyword(std::string_view S) const {
  return !S.empty() && (WordLists(S) & wlKeyword) != 0;
}

bool TVXSQLScanner::IsFunction(std::string_view S) const {
  return !S.empty() && (WordLists(S) & wlFunction) != 0;
}

// Inside quotes, the quote character C ends the quoted text Token (as written,
// escapes included) when it is not the first of a doubled pair (Next differs)
// and it is not the second of one (an even number of quotes ends Token). Next
// is 0 at the end of the text, so a last quote that completes a pair does not
// end the text either: «'a''» is unterminated.
//
// Only the last quote of a run reaches the count, and it walks back over that
// run alone, so a whole quoted text costs time linear in its length.
bool TVXSQLScanner::IsTerminator(char C, std::string_view Token, char Quote, char Next) const {
  if (C != Quote || Next == Quote)
    return false;
  size_t Trailing = 0;
  for (auto It = Token.rbegin(); It != Token.rend() && *It == Quote; ++It)
    ++Trailing;
  return Trailing % 2 == 0;
}

char TVXSQLScanner::GetIdentQuote() const {
  return '"';
}

bool TVXSQLScanner::GetProcessAliases() const {
  return false;
}

bool TVXSQLScanner::GetQuoteIdentifiers() const {
  return FQuoteIdentifiers;
}

char TVXSQLScanner::GetStringQuote() const {
  return '\'';
}

// False only for one well-formed quoted identifier: S is enclosed in the same
// identifier quote and every such quote inside is doubled. A text like
// «"a" OR "b"» starts and ends with a quote but is not one name, so it needs
// quoting (which escapes its quotes) rather than being written as it stands.
bool TVXSQLScanner::NeedQuotes(std::string_view S) const {
  if (S.size() < 2)
    return true;
  const char Q = S.front();
  if (!IsIdentQuote(Q) || S.back() != Q)
    return true;
  for (size_t I = 1; I + 1 < S.size(); ++I) {
    if (S[I] != Q)
      continue;
    if (I + 2 < S.size() && S[I + 1] == Q)
      ++I;
    else
      return true;
  }
  return false;
}

std::string TVXSQLScanner::ProcessIdent(std::string_view S) const {
  if (S.size() > 1 && S.front() == S.back() && IsIdentQuote(S.front()))
    return std::string(S.substr(1, S.size() - 2));
  return std::string(S);
}

// Generic escape rule: a doubled Quote stands for one quote. A lone Quote can
// only appear in text that never ended and is kept as it is.
std::string TVXSQLScanner::UnquoteText(std::string_view Raw, char Quote) const {
  std::string R;
  R.reserve(Raw.size());
  for (size_t I = 0; I < Raw.size(); ++I) {
    R += Raw[I];
    if (Raw[I] == Quote && I + 1 < Raw.size() && Raw[I + 1] == Quote)
      ++I;
  }
  return R;
}

std::string TVXSQLScanner::QuoteString(std::string_view Value) const {
  return Enclose(Value, GetStringQuote());
}

std::string TVXSQLScanner::QuoteIdent(std::string_view Name) const {
  return Enclose(Name, GetIdentQuote());
}

namespace {

// Appends one part of a name: as it stands when NeedQuotes lets it, else as
// QuoteIdent writes it. Exact tells that the scanner is of class
// TVXSQLScanner itself, whose QuoteIdent encloses the part in its
// identifier quote.
void AppendNamePart(std::string& Out, const TVXSQLScanner& Scanner, std::string_view Part,
                    bool Exact) {
  if (!Scanner.NeedQuotes(Part))
    Out.append(Part);
  else if (Exact)
    ScriptWriter::AppendEnclosed(Out, Part, Scanner.GetIdentQuote());
  else
    Out += Scanner.QuoteIdent(Part);
}

// Quotes a possibly dotted name (table, alias, field) for the generated SQL,
// appending it to Out; with QuoteIdentifiers off the name is written as given.
//
// The name is split at points; a part that is already a well-formed quoted
// identifier (QuoteIdent's form, followed by a point or the end) is kept as it
// is. When no part is quoted, everything before the last point is quoted as
// one identifier and the last part as another («s.t.f» gives "s.t"."f"). Once
// a quoted part has been met, every unquoted part is quoted on its own, and
// unquoted text before it is quoted as one, so no part is ever left
// unquoted. Quoting doubles the quotes inside (QuoteIdent), so a name cannot
// close its quotes early.
void AppendProcessedName(std::string& Out, const TVXSQLScanner& Scanner, std::string_view S,
                         bool Exact) {
  if (!Scanner.GetQuoteIdentifiers()) {
    Out.append(S);
    return;
  }
  const char Q = Scanner.GetIdentQuote();
  const size_t Start = Out.size();  // the name written so far starts there
  bool NoQuotedPart = true;         // the name written so far is still unquoted text
  auto AppendPoint = [&] {
    if (Out.size() > Start && Out.back() != '.')
      Out += '.';
  };
  auto QuoteWritten = [&] {  // what was written becomes one quoted part
    const std::string Written = Out.substr(Start);
    Out.resize(Start);
    AppendNamePart(Out, Scanner, Written, Exact);
  };
  std::string_view T = S;  // the text still to write
  for (;;) {
    size_t Point = 0;  // a plain loop: names are too short for a search call
    while (Point < T.size() && T[Point] != '.')
      ++Point;
    if (Point == T.size() || Point == 0)
      break;
    if (const size_t Length = QuotedPartLength(T, Q)) {
      if (NoQuotedPart && Out.size() > Start)
        QuoteWritten();
      AppendPoint();
      Out.append(T.substr(0, Length));
      NoQuotedPart = false;
      T.remove_prefix(Length < T.size() ? Length + 1 : Length);  // the part and its point
    } else {
      AppendPoint();
      const std::string_view Part = T.substr(0, Point);
      if (NoQuotedPart)
        Out.append(Part);
      else
        AppendNamePart(Out, Scanner, Part, Exact);
      T.remove_prefix(Point + 1);
    }
  }
  if (Out.size() > Start && NoQuotedPart)
    QuoteWritten();
  if (!T.empty()) {
    AppendPoint();
    AppendNamePart(Out, Scanner, T, Exact);
  }
}

// Whether S is a name whose quoting needs none of the cases above: no quote
// character, no empty part (no point at either end, no two in a row).
bool IsPlainDottedName(std::string_view S, char Q) {
  if (S.empty() || S.front() == '.' || S.back() == '.')
    return false;
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == Q || (S[I] == '.' && S[I + 1] == '.'))
      return false;
  }
  return true;
}

// AppendProcessedName for such a name, in the generic dialect: everything
// before the last point is one quoted identifier, the last part another.
// No part holds Q, so the text grows once, filled with Q, and the parts are
// copied in between the quotes.
void AppendPlainDottedName(std::string& Out, std::string_view S, char Q) {
  const size_t Point = S.rfind('.');
  const size_t Start = Out.size();
  if (Point == std::string_view::npos) {
    Out.append(S.size() + 2, Q);
    S.copy(Out.data() + Start + 1, S.size());
    return;
  }
  Out.append(S.size() + 4, Q);  // Q before Q.Q last Q
  char* D = Out.data() + Start + 1;
  S.copy(D, Point);
  D[Point + 1] = '.';
  S.copy(D + Point + 3, S.size() - Point - 1, Point + 1);
}

// Whether S is made only of well-formed quoted identifiers joined by single
// points, as AppendProcessedName writes a name: it then writes S as it
// stands. Written names come back this way when they are written again.
bool IsQuotedDottedName(std::string_view S, char Q) {
  for (;;) {
    const size_t Length = QuotedPartLength(S, Q);
    if (Length == 0)
      return false;
    if (Length == S.size())
      return true;
    S.remove_prefix(Length + 1);  // the part and its point; a point at the end is no part
  }
}

}  // namespace

std::string TVXSQLScanner::ProcessName(std::string_view S) const {
  std::string R;
  AppendProcessedName(R, *this, S, ScriptWriter::IsExactly<TVXSQLScanner>(*this));
  return R;
}

// The writers call ProcessName for every name they write: a scanner of this
// class is served without its virtual call and its temporary string, any
// other through ProcessName, which a dialect may override.
void ScriptWriter::AppendScannerName(std::string& Out, const TVXSQLScanner& Scanner,
                                     std::string_view S) {
  if (!IsExactly<TVXSQLScanner>(Scanner))
    Out += Scanner.ProcessName(S);
  else if (!Scanner.QuoteIdentifiers())  // what GetQuoteIdentifiers returns in this class
    Out.append(S);
  else if (IsPlainDottedName(S, '"'))
    AppendPlainDottedName(Out, S, '"');
  else if (IsQuotedDottedName(S, '"'))
    Out.append(S);
  else
    AppendProcessedName(Out, Scanner, S, true);
}

// ---------------------------------------------------------------------------
// TVXSQLScanner: reading tokens

void TVXSQLScanner::Init() {
  TVXScanner::Init();
  FTokenInText = false;
  FTokenKind = tkUnknown;
  FLineNo = 1;
  FLinePos = 1;
  FTokenLength = 0;
  FTokenQuoted = false;
  FQuoteLineNo = 1;
  FQuoteLinePos = 1;
  FSpaceCount = 0;
  FEmptyString = false;
}

// Reads one token, quotes, blanks and line breaks included:
//  - a quote of the dialect outside quotes, or the one that closes them, is a
//    token of its own (tkQuote) and switches the quote state; a quote that
//    ends a word is left for the next read;
//  - inside quotes every other character is text, line breaks included; the
//    text ends before its closing quote and is returned as written (tkString,
//    tkIdent or tkIdentString by the kind of quote);
//  - digits, a point and digits followed by the end, a blank, a line break or
//    a delimiter other than a point make one tkFloat, unless a point stands
//    right before the first digit;
//  - a delimiter, a blank or a line break ends a word, or is a token itself:
//    CR LF and a lone LF are one line break (tkEol) each, a lone CR is a
//    delimiter, and one or two comparison characters make one tkComparison;
//  - any other character belongs to the word, which is then classified.
// Reaching the end of the text inside quotes marks the token Unterminated.
void TVXSQLScanner::ReadRawToken(TRawToken& T, std::string& Text) {
  const std::string& S = FExpression;
  const size_t N = S.size();
  std::string& R = Text;
  R.clear();
  T.Kind = tkUnknown;
  T.Quoted = false;
  T.Unterminated = false;
  const size_t Start = static_cast<size_t>(FPosition - 1);
  size_t I = Start;
  int Breaks = 0;        // line feeds inside quoted text
  size_t LineStart = 0;  // where in R the last of those lines starts

  if (FInQuote && I < N) {
    // Quoted text runs up to the quote that ends it; every other character,
    // line breaks and other quote characters included, is text. The text so
    // far is the source from Start, which is what IsTerminator looks at.
    const char Q = FQuoteChar;
    size_t J = Start;
    for (;;) {
      const void* Found = std::memchr(S.data() + J, Q, N - J);
      if (!Found) {
        J = N;
        break;
      }
      J = static_cast<size_t>(static_cast<const char*>(Found) - S.data());
      const char Next = J + 1 < N ? S[J + 1] : '\0';
      if (IsTerminator(Q, std::string_view(S.data() + Start, J - Start), Q, Next))
        break;
      if (++J == N)
        break;
    }
    if (J > Start || FEmptyString || J == N) {
      R.assign(S, Start, J - Start);
      I = J;
      if (J < N) {
        // The closing quote is read by the next call.
        const bool Ident = CharIs(Q, chIdentQuote), Str = CharIs(Q, chQuote);
        T.Kind = Ident && Str ? tkIdentString : (Ident ? tkIdent : tkString);
        T.Quoted = true;
        FEmptyString = false;
      }
      Breaks = static_cast<int>(std::count(R.begin(), R.end(), '\n'));
      if (Breaks > 0)
        LineStart = R.rfind('\n') + 1;
    } else {
      FInQuote = false;
      FQuoteChar = 0;
      R = Q;
      T.Kind = tkQuote;
      I = J + 1;
    }
  } else if (!FInQuote && I < N) {
    const char C = S[I];
    const char Next = I + 1 < N ? S[I + 1] : '\0';
    if (CharIs(C, chQuote | chIdentQuote)) {
      FInQuote = true;
      FQuoteChar = C;
      // The quoted text is empty when the next character closes it.
      FEmptyString = Next == C && IsTerminator(C, {}, C, I + 2 < N ? S[I + 2] : '\0');
      R = C;
      T.Kind = tkQuote;
      ++I;
    } else if (C == '\n' || (C == '\r' && Next == '\n')) {
      R = C;
      ++I;
      if (C == '\r') {
        R += Next;
        ++I;
      }
      T.Kind = tkEol;
    } else if (CharIs(C, chDelim)) {
      R = C;
      ++I;
      T.Kind = tkDelim;
      if (CharIs(C, chComparison)) {
        T.Kind = tkComparison;
        if (I < N && CharIs(S[I], chComparison))
          R += S[I++];
      }
    } else if (CharIs(C, chSpace)) {
      R = C;
      ++I;
      T.Kind = tkSpace;
    } else {
      // A word (WordEnd), classified below.
      bool Float = false;
      const size_t J = WordEnd(I, Float);
      if (Float)
        T.Kind = tkFloat;
      R.assign(S, I, J - I);
      I = J;
    }
  }
  FPosition = static_cast<int>(I) + 1;

  if (T.Kind == tkUnknown && FInQuote) {
    // Only the end of the text stops quoted text without a kind.
    T.Kind = tkEnd;
    T.Quoted = true;
    T.Unterminated = true;
  } else if (T.Kind == tkUnknown) {
    FWordText = R.data();
    FWordSize = R.size();
    FWordLooked = false;
    if (R.empty()) {
      T.Kind = tkEnd;
    } else if (IsFunction(R))  // before keywords: a word of both lists is a function
      T.Kind = tkFunction;
    else if (IsKeyword(R))
      T.Kind = tkKeyword;
    else if (IsInteger(R))
      T.Kind = tkInteger;
    else if (IsIdentifier(R) || IsIdentifier(ProcessIdent(R)))
      T.Kind = tkIdent;
  } else if (T.Kind == tkDelim && R == ";") {
    T.Kind = tkEnd;  // only an unquoted ";" ends the statement
  }
  // Quoted text is text, whatever it spells: never an operation or an end.
  if (!T.Quoted && T.Kind != tkEnd && T.Kind != tkSpace && T.Kind != tkEol) {
    if (FWordText != R.data()) {
      FWordText = R.data();
      FWordSize = R.size();
      FWordLooked = false;
    }
    if (IsOperation(R))
      T.Kind = tkOperation;
  }
  FWordText = nullptr;

  // LinePos counts source characters, so quoted text counts its escapes.
  if (T.Kind == tkEol) {
    ++FLineNo;
    FLinePos = 1;
    T.Columns = 0;
  } else if (Breaks > 0) {
    FLineNo += Breaks;
    T.Columns = static_cast<int>(R.size() - LineStart);
    FLinePos = 1 + T.Columns;
  } else {
    T.Columns = static_cast<int>(R.size());
    FLinePos += T.Columns;
  }

  if (T.Kind == tkQuote) {
    if (FInQuote) {
      FQuoteLineNo = FLineNo;
      FQuoteLinePos = FLinePos;
    }
  } else if (T.Kind != tkSpace && T.Kind != tkEol && !FInQuote && !R.empty()) {
    // Only a token actually read here moves the level: reading the end of
    // the text again after a final «(» must not count it twice.
    const char Last = S[I - 1];
    if (CharIs(Last, chLevelUp))
      ++FLevel;
    else if (CharIs(Last, chLevelDown))
      --FLevel;
  }
}

[[noreturn]] void TVXSQLScanner::RaiseUnterminated() const {
  throw EVXParserError(3, FToken, FQuoteLineNo, FQuoteLinePos);
}

// Returns the next token that is not a quote, a blank or a line break; the
// skipped blanks and line breaks are counted in SpaceCount (a quote resets the
// count, so quoted text has SpaceCount 0). Quoted text arrives without its
// quotes and with its doubled quotes un-doubled (UnquoteText); TokenColumn
// still points at its first source character. Skipping is a loop, so any run
// of blanks is fine.
//
// At the end of the text inside quotes the quoted text read so far becomes
// the token and "Unterminated string." (code 3) is raised with the line and
// column where that text starts; every further call raises it again.
std::string TVXSQLScanner::GetNextToken() {
  ReadToken();
  return FToken;
}

// The common tokens, for a scanner that keeps this class's word tests: a
// word, or a delimiter that is no quote, blank or carriage return.
inline bool TVXSQLScanner::ReadPlain(TPlainState& St, TPlainToken& Out) const {
  const char* S = FExpression.data();
  const size_t N = FExpression.size();
  // Runs of plain blanks are skipped here, each counted as the blank token
  // ReadRawToken would make of it.
  size_t I = St.Pos;
  while (I < N && IsPlainBlank(S[I]))
    ++I;
  Out.Spaces = static_cast<int>(I - St.Pos);
  St.LinePos += Out.Spaces;
  St.Pos = I;
  if (I >= N)
    return false;
  const char C = S[I];
  if (C == '\n' || C == '\r' || CharIs(C, chQuote | chIdentQuote | chSpace))
    return false;
  TTokenKind Kind = tkUnknown;
  size_t J = I + 1;
  uint16_t Rest = 0xFFFF;  // the classes all characters after the first share
  if (CharIs(C, chDelim)) {
    Kind = tkDelim;
    if (CharIs(C, chComparison)) {
      Kind = tkComparison;
      if (J < N && CharIs(S[J], chComparison))
        ++J;
    } else if (C == ';') {
      Kind = tkEnd;  // only an unquoted ";" ends the statement
    }
  } else {
    bool Float = false;
    J = WordEnd(I, Float, Rest);
    if (Float)
      Kind = tkFloat;
  }
  const std::string_view Word(S + I, J - I);
  const uint8_t Lists = LookUpCurrentWord(Word);
  if (Kind == tkUnknown) {
    if (Lists & wlFunction)
      Kind = tkFunction;
    else if (Lists & wlKeyword)
      Kind = tkKeyword;
    else if (CharIs(C, chDigit) && (Rest & chDigit))  // AllDigits(Word)
      Kind = tkInteger;
    else if ((CharIs(C, chAlpha) && (Rest & chLegal)) ||  // TableIdentifier(Word)
             TableIdentifier(ProcessIdent(Word)))
      Kind = tkIdent;
  }
  if (Kind != tkEnd && (Lists & wlOperation))
    Kind = tkOperation;
  Out.Kind = Kind;
  Out.Start = I;
  Out.Size = J - I;
  St.LinePos += static_cast<int>(J - I);
  St.Pos = J;
  const char Last = S[J - 1];
  if (CharIs(Last, chLevelUp))
    ++St.Level;
  else if (CharIs(Last, chLevelDown))
    --St.Level;
  return true;
}

void TVXSQLScanner::ReadToken() {
  ReadTokenView();
  TokenText();
}

std::string_view TVXSQLScanner::ReadTokenView() {
  FTokenInText = false;
  if (FInQuote && FPosition > static_cast<int>(FExpression.size()))
    RaiseUnterminated();
  if (FStandardWords)
    RefreshWordTable();
  return ReadNextToken(0);
}

std::string_view TVXSQLScanner::ReadNextToken(int Spaces) {
  TRawToken T;
  FSpaceCount = Spaces;
  const char* Text = FExpression.data();
  const int Length = static_cast<int>(FExpression.size());
  for (;;) {
    if (!FInQuote && FStandardWords) {
      TPlainState St = PlainState();
      TPlainToken P;
      const bool Read = ReadPlain(St, P);
      SetPlainState(St);
      FSpaceCount += P.Spaces;
      if (Read) {
        T.Kind = P.Kind;
        T.Quoted = false;
        T.Unterminated = false;
        T.Columns = static_cast<int>(P.Size);
        FTokenInText = true;
        FSpanStart = P.Start;
        FSpanSize = P.Size;
        break;
      }
    } else if (!FInQuote) {
      // Runs of plain blanks are skipped here, each counted as the blank
      // token ReadRawToken would make of it.
      int P = FPosition;
      while (P <= Length && IsPlainBlank(Text[P - 1]))
        ++P;
      FSpaceCount += P - FPosition;
      FLinePos += P - FPosition;
      FPosition = P;
    }
    ReadRawToken(T, FToken);
    if (T.Kind == tkSpace || T.Kind == tkEol)
      ++FSpaceCount;
    else if (T.Kind == tkQuote)
      FSpaceCount = 0;
    else
      break;
  }
  FTokenKind = T.Kind;
  FTokenQuoted = T.Quoted;
  FTokenLength = T.Columns;
  if (T.Quoted)
    FToken = UnquoteText(FToken, FQuoteChar);
  if (T.Unterminated)
    RaiseUnterminated();
  TokenRead();
  if (FTokenInText)
    return std::string_view(FExpression.data() + FSpanStart, FSpanSize);
  return FToken;
}

void TVXSQLScanner::ReadTokens(const std::string& Text, std::vector<TVXToken>& Tokens,
                               std::string& Copies) {
  Tokens.clear();
  Copies.clear();
  FCopiedTokens.clear();
  // The copies are viewed once all tokens are read, as Copies may move
  // while it grows; also when reading raises.
  struct TViewCopies {
    TVXSQLScanner& S;
    std::vector<TVXToken>& Tokens;
    const std::string& Copies;
    ~TViewCopies() {
      for (size_t i = 0; i < S.FCopiedTokens.size(); ++i) {
        const auto [Index, Start] = S.FCopiedTokens[i];
        const size_t End =
            i + 1 < S.FCopiedTokens.size() ? S.FCopiedTokens[i + 1].second : Copies.size();
        Tokens[Index].Text = std::string_view(Copies.data() + Start, End - Start);
      }
    }
  } Views{*this, Tokens, Copies};
  if (Text.size() >= static_cast<size_t>(INT_MAX))
    throw Exception("SQL text is too long");
  FExpression = Text;
  Init();
  if (FStandardWords)
    RefreshWordTable();
  // Runs of words and delimiters are read on St; the members are brought up
  // to date when another token comes and at the end.
  TPlainState St = PlainState();
  TPlainToken P{};
  bool LastPlain = false;
  for (;;) {
    TVXToken T;
    LastPlain = FStandardWords && !FInQuote && ReadPlain(St, P);
    if (LastPlain) {
      FTokenKind = P.Kind;
      FTokenQuoted = false;
      FTokenInText = true;
      FSpanStart = P.Start;
      FSpanSize = P.Size;
      TokenRead();
      T.LineNo = FLineNo;
      T.Column = St.LinePos - static_cast<int>(P.Size);
      T.SpaceCount = P.Spaces;
    } else {
      // Blanks a failed short reading went past are counted all the same.
      const int Spaces = FStandardWords && !FInQuote ? P.Spaces : 0;
      SetPlainState(St);
      FTokenInText = false;
      if (FInQuote && FPosition > static_cast<int>(FExpression.size()))
        RaiseUnterminated();
      ReadNextToken(Spaces);
      St = PlainState();
      T.LineNo = FLineNo;
      T.Column = TokenColumn();
      T.SpaceCount = FSpaceCount;
    }
    T.Kind = FTokenKind;
    T.Quoted = FTokenQuoted;
    if (FTokenInText) {
      T.Text = std::string_view(Text.data() + FSpanStart, FSpanSize);
    } else {
      FCopiedTokens.emplace_back(Tokens.size(), Copies.size());
      Copies += FToken;
    }
    Tokens.push_back(T);
    if (T.Kind == tkEnd)
      break;
  }
  // The scanner is left as reading the end token alone leaves it.
  SetPlainState(St);
  if (LastPlain) {
    FSpaceCount = P.Spaces;
    FTokenLength = static_cast<int>(P.Size);
  }
  TokenText();
}

// A peek leaves every part of the scanner's state as it was, SpaceCount and
// the line counters included, also when reading raises.
std::string TVXSQLScanner::GetTokenPlus() {
  TokenText();  // the token the base puts back is the current one
  const TTokenKind TokenKind = FTokenKind;
  const int LineNo = FLineNo, LinePos = FLinePos, TokenLength = FTokenLength;
  const int QuoteLineNo = FQuoteLineNo, QuoteLinePos = FQuoteLinePos;
  const int SpaceCount = FSpaceCount;
  const bool TokenQuoted = FTokenQuoted, EmptyString = FEmptyString;
  auto Restore = [&] {
    FTokenKind = TokenKind;
    FLineNo = LineNo;
    FLinePos = LinePos;
    FTokenLength = TokenLength;
    FQuoteLineNo = QuoteLineNo;
    FQuoteLinePos = QuoteLinePos;
    FSpaceCount = SpaceCount;
    FTokenQuoted = TokenQuoted;
    FEmptyString = EmptyString;
  };
  std::string R;
  try {
    R = TVXScanner::GetTokenPlus();
  } catch (...) {
    Restore();
    throw;
  }
  Restore();
  return R;
}

int TVXSQLScanner::LevelChange(int From, int To, bool InQuote, char QuoteChar) {
  const int Position = FPosition, Level = FLevel, LineNo = FLineNo, LinePos = FLinePos;
  const int QuoteLineNo = FQuoteLineNo, QuoteLinePos = FQuoteLinePos;
  const bool WasInQuote = FInQuote, EmptyString = FEmptyString;
  const char WasQuoteChar = FQuoteChar;
  FPosition = From;
  FLevel = 0;
  FInQuote = InQuote;
  FQuoteChar = QuoteChar;
  FEmptyString = false;
  TRawToken T;
  std::string Text;
  while (FPosition < To) {
    const int Before = FPosition;
    ReadRawToken(T, Text);
    if (FPosition == Before && T.Kind == tkEnd)
      break;
  }
  const int Change = FLevel;
  FPosition = Position;
  FLevel = Level;
  FLineNo = LineNo;
  FLinePos = LinePos;
  FQuoteLineNo = QuoteLineNo;
  FQuoteLinePos = QuoteLinePos;
  FInQuote = WasInQuote;
  FQuoteChar = WasQuoteChar;
  FEmptyString = EmptyString;
  return Change;
}

// Moves to Pos (limited to 1 .. length + 1, just past the end) so that the
// next GetNextToken reads from there; the parser uses it to step back over
// text it has read. Pos is taken to be outside quoted text.
//
// Unlike a plain restart, Level, LineNo and LinePos keep describing the new
// position: stepping back over «)» raises Level again, so re-reading the «)»
// gives the level it gave the first time, and errors found after stepping
// back still report the right line and column. Level is found by re-reading
// the text between the two positions; the line counters follow from the line
// feeds in it. The cost is linear in the distance moved (plus the length of
// the line Pos lies on when moving back over a line break).
//
// The token is emptied and the kind becomes tkEnd past the end of the text,
// tkUnknown elsewhere. Moving to the current position changes nothing.
void TVXSQLScanner::SetPosition(int Pos) {
  const int Last = static_cast<int>(FExpression.size()) + 1;
  Pos = std::clamp(Pos, 1, Last);
  const int From = FPosition;
  if (Pos == From)
    return;

  const char* S = FExpression.data();
  if (Pos < From) {
    FLevel -= LevelChange(Pos, From, false, 0);
    const int Breaks = static_cast<int>(std::count(S + Pos - 1, S + From - 1, '\n'));
    if (Breaks == 0) {
      FLinePos -= From - Pos;
    } else {
      FLineNo -= Breaks;
      int LineStart = Pos;  // 1-based position of the first character of Pos's line
      while (LineStart > 1 && S[LineStart - 2] != '\n')
        --LineStart;
      FLinePos = Pos - LineStart + 1;
    }
  } else {
    FLevel += LevelChange(From, Pos, FInQuote, FQuoteChar);
    const char* End = S + Pos - 1;
    const int Breaks = static_cast<int>(std::count(S + From - 1, End, '\n'));
    if (Breaks == 0) {
      FLinePos += Pos - From;
    } else {
      FLineNo += Breaks;
      const char* LastBreak = End;
      while (*(LastBreak - 1) != '\n')
        --LastBreak;
      FLinePos = static_cast<int>(End - LastBreak) + 1;
    }
  }

  FPosition = Pos;
  FToken.clear();
  FTokenInText = false;
  FInQuote = false;
  FQuoteChar = 0;
  FEmptyString = false;
  FTokenLength = 0;
  FTokenQuoted = false;
  FTokenKind = Pos == Last ? tkEnd : tkUnknown;
}

}  // namespace Vexar
