// The token scanner: splits the text of one SQL statement into typed tokens
// with line and column, holds the dialect's keyword, function and operation
// lists, and owns the dialect's quoting of identifiers and string literals.
//
// TVXScanner is the abstract base (text, position, current token, nesting
// level, character classes); TVXSQLScanner is the SQL tokenizer. Dialects
// derive from TVXSQLScanner and override character classes, quote tests, word
// lists and quoting, never GetNextToken.
//
// Scanners are made in two phases so that a dialect's word lists are the ones
// loaded: always through TVXScanner::Create<T>(), which constructs the object
// and then runs the virtual Initialize.
#pragma once

#include <array>
#include <typeinfo>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/set.h"
#include "platform/stringlist.h"

namespace Vexar {

enum TTokenKind {
  tkUnknown,      // a word of none of the kinds below
  tkKeyword,      // a word of the keyword list
  tkFunction,     // a word of the function list
  tkDelim,        // one delimiter character
  tkInteger,      // a run of digits
  tkFloat,        // digits, a decimal point and digits
  tkString,       // the text between string quotes
  tkQuote,        // one quote character (internal; never returned)
  tkSpace,        // one blank character (internal; never returned)
  tkEol,          // a line break (internal; never returned)
  tkEnd,          // end of the text, or a ";"
  tkIdent,        // an identifier, or the text between identifier quotes
  tkIdentString,  // text between quotes that are both string and identifier quotes
  tkOperation,    // a token of the operation list
  tkComparison    // one or two comparison characters
};
using TTokenKinds = TSet<TTokenKind>;

class TVXScanner {
 public:
  TVXScanner(const TVXScanner&) = delete;
  TVXScanner& operator=(const TVXScanner&) = delete;
  virtual ~TVXScanner() = default;

  template <class T, class... A>
  static std::unique_ptr<T> Create(A&&... Args) {
    std::unique_ptr<T> S(new T(std::forward<A>(Args)...));
    S->Initialize();
    return S;
  }

  // Character classes.
  virtual bool IsAlpha(char C) const;
  virtual bool IsDelim(char C) const;
  virtual bool IsDigit(char C) const;
  virtual bool IsQuote(char C) const;
  virtual bool IsSpace(char C) const;
  // Peek: the next token without consuming it.
  virtual std::string GetTokenPlus();
  virtual bool ShouldLevelUp(char C) const;
  virtual bool ShouldLevelDown(char C) const;
  // Resets the scanning state.
  virtual void Init();
  // Moves to a 1-based character position (see the implementation).
  virtual void SetPosition(int Pos);
  virtual std::string GetFirstToken();
  virtual std::string GetNextToken() = 0;

  // Takes a new text and reads its first token.
  void SetExpression(const std::string& S);

  const std::string& Expression() const { return FExpression; }
  int Position() const { return FPosition; }
  const std::string& Token() const { return FToken; }
  int Level() const { return FLevel; }
  bool InQuote() const { return FInQuote; }
  char QuoteChar() const { return FQuoteChar; }

 protected:
  TVXScanner() = default;
  // Second construction phase; the base calls Init.
  virtual void Initialize() { Init(); }

  std::string FExpression;
  int FPosition = 1;
  std::string FToken;
  int FLevel = 0;
  bool FInQuote = false;
  char FQuoteChar = 0;
};

class TVXSQLScanner : public TVXScanner {
 public:
  std::string GetTokenPlus() override;
  void Init() override;
  void SetPosition(int Pos) override;
  std::string GetNextToken() override;
  // GetNextToken without handing out a copy of the token.
  void ReadToken();
  // Reads the next token as ReadToken does and hands out its text without
  // copying it: a word or delimiter that stands in the text as it is read is
  // a view of Expression(), any other token a view of the scanner's own
  // text. The view holds until the next read or the next expression; Token()
  // is not updated (ReadToken is that).
  std::string_view ReadTokenView();

  // One token of a whole text, as ReadTokens hands it out.
  // Kind and Quoted share a word: a statement of a hundred thousand tokens
  // keeps its list in a fifth less memory.
  struct TVXToken {
    std::string_view Text;  // see ReadTokens
    int LineNo = 1;
    int Column = 1;  // 1-based column where the token's source text starts
    int SpaceCount = 0;
    TTokenKind Kind : 8 = tkEnd;
    bool Quoted = false;  // read from between quotes
  };
  // Takes Text as the expression and reads all of its tokens into Tokens,
  // the end token included, as SetExpression and GetNextToken would read
  // them one by one. A token that stands in Text as it is read is a view of
  // Text; any other (quoted text, a name the dialect changed) is copied to
  // the end of Copies and viewed there. Both must outlive the views. Quoted
  // text that never ends raises as GetNextToken does, the tokens before it
  // in Tokens. The word lists are looked at once, as they are when reading
  // starts.
  void ReadTokens(const std::string& Text, std::vector<TVXToken>& Tokens, std::string& Copies);

  virtual bool IsOperation(std::string_view S) const;
  virtual bool IsComparison(char C) const;
  virtual bool IsLegalSymbol(char C) const;
  virtual bool IsIdentQuote(char C) const;
  virtual bool IsIdentifier(std::string_view S) const;
  virtual bool IsInteger(std::string_view S) const;
  virtual bool IsKeyword(std::string_view S) const;
  virtual bool IsFunction(std::string_view S) const;
  // Whether the quote character C ends the quoted text Token read so far.
  virtual bool IsTerminator(char C, std::string_view Token, char Quote, char Next) const;
  virtual char GetIdentQuote() const;
  virtual bool GetProcessAliases() const;
  virtual bool GetQuoteIdentifiers() const;
  virtual char GetStringQuote() const;
  virtual bool NeedQuotes(std::string_view S) const;
  virtual std::string GetCommaKeywords() const;
  virtual std::string GetCommaFunctions() const;
  virtual std::string GetCommaOperations() const;
  // S without enclosing identifier quotes: the form tried as an identifier.
  virtual std::string ProcessIdent(std::string_view S) const;
  virtual void DefineKeywords();
  virtual void DefineFunctions();
  virtual void DefineOperations();
  // Identifier quoting of a possibly dotted name.
  virtual std::string ProcessName(std::string_view S) const;

  // Quoted text in both directions; the dialect owns its escape rules.
  // The value of the text written between two Quote characters.
  virtual std::string UnquoteText(std::string_view Raw, char Quote) const;
  // A string literal holding Value, as the dialect writes it.
  virtual std::string QuoteString(std::string_view Value) const;
  // Name enclosed in the identifier quote, inner quotes escaped.
  virtual std::string QuoteIdent(std::string_view Name) const;

  // Word lists: SetKeywords and SetFunctions copy, upper-case and sort;
  // SetOperations only copies.
  void SetKeywords(const TStringList* List);
  void SetFunctions(const TStringList* List);
  void SetOperations(const TStringList* List);
  TStringList* Keywords() const { return FKeywords.get(); }
  TStringList* Functions() const { return FFunctions.get(); }
  TStringList* Operations() const { return FOperations.get(); }

  TTokenKind TokenKind() const { return FTokenKind; }
  // Line of the current token (1-based) and the column just after it.
  int LineNo() const { return FLineNo; }
  int LinePos() const { return FLinePos; }
  // The 1-based column where the current token's source text starts. For
  // quoted text the token is the value (escapes resolved) while the column
  // counts the characters as written. Quoted text that spans lines gives the
  // column where its part on its last line starts (1), as LineNo is that line.
  int TokenColumn() const { return FLinePos - FTokenLength; }
  // Whether the current token was read from between quotes.
  bool TokenQuoted() const { return FTokenQuoted; }
  int SpaceCount() const { return FSpaceCount; }
  bool EmptyString() const { return FEmptyString; }
  bool QuoteIdentifiers() const { return FQuoteIdentifiers; }
  void SetQuoteIdentifiers(bool Value) { FQuoteIdentifiers = Value; }

  // Reading asks the character-class functions (IsQuote, IsIdentQuote,
  // IsDelim, IsSpace, IsDigit, IsAlpha, IsLegalSymbol, IsComparison,
  // ShouldLevelUp, ShouldLevelDown) once per
  // byte value and keeps the answers in a table, made when the scanner is
  // created. A dialect whose classes depend on a setting of its own calls
  // RefreshCharClasses when that setting changes.
  void RefreshCharClasses();

 protected:
  friend class TVXScanner;
  TVXSQLScanner() = default;
  void Initialize() override;

  // One token as read from the text, before GetNextToken skips quotes, blanks
  // and line breaks. Its text is written to the string ReadRawToken is given:
  // the source text (quoted text still escaped).
  struct TRawToken {
    TTokenKind Kind = tkUnknown;
    bool Quoted = false;        // read from between quotes
    bool Unterminated = false;  // the text ended inside quotes
    int Columns = 0;            // source characters on the line where it ends
  };
  // Reads one raw token at Position and advances the position, the quote
  // state, the line counters and Level past it. Never throws.
  void ReadRawToken(TRawToken& T, std::string& Text);
  // The short reading of the common tokens works on the part of the state
  // they change, which ReadTokens keeps in locals while it reads a run of
  // them and writes back to the members when another token comes.
  struct TPlainState {
    size_t Pos;   // 0-based position
    int LinePos;  // FLinePos
    int Level;    // FLevel
  };
  struct TPlainToken {
    TTokenKind Kind;
    size_t Start;  // the token is the text's Size characters from Start
    size_t Size;
    int Spaces;  // the plain blanks before it
  };
  TPlainState PlainState() const {
    return {static_cast<size_t>(FPosition - 1), FLinePos, FLevel};
  }
  void SetPlainState(const TPlainState& St) {
    FPosition = static_cast<int>(St.Pos) + 1;
    FLinePos = St.LinePos;
    FLevel = St.Level;
  }
  // Skips the plain blanks at St and reads the word or delimiter that
  // follows, for scanners that keep this class's word tests, the word table
  // current: exactly what ReadRawToken reads for them, in fewer steps. False
  // for any other token (a quote, a line break, the end), St then past the
  // blanks, counted in Spaces.
  bool ReadPlain(TPlainState& St, TPlainToken& Out) const;
  // ReadTokenView once the word table is current; Spaces blanks before the
  // token have already been skipped.
  std::string_view ReadNextToken(int Spaces);
  // Where the word starting at the 0-based offset Start ends; Float tells a
  // number with a decimal part.
  // Rest is the intersection of the class bits of the word's characters
  // after the first (all bits for a word of one character).
  size_t WordEnd(size_t Start, bool& Float, uint16_t& Rest) const;
  size_t WordEnd(size_t Start, bool& Float) const {
    uint16_t Rest;
    return WordEnd(Start, Float, Rest);
  }
  // Whether S is one or more digits (IsInteger of this class).
  bool AllDigits(std::string_view S) const;
  // The change of Level caused by reading the tokens from From up to To.
  int LevelChange(int From, int To, bool InQuote, char QuoteChar);
  [[noreturn]] void RaiseUnterminated() const;
  // Called after each token is read, before the unterminated check; a
  // dialect adjusts the token here (case of unquoted names, say), through
  // TokenText. It may look at the token's kind, text and quoting; while
  // ReadTokens reads a whole text the position and line counters are not
  // kept current for it.
  virtual void TokenRead() {}
  // The current token's text for changing it: a token read as a view of the
  // expression is copied into the scanner's own text first.
  std::string& TokenText() {
    if (FTokenInText) {
      FToken.assign(FExpression, FSpanStart, FSpanSize);
      FTokenInText = false;
    }
    return FToken;
  }
  // Whether the object's class keeps this class's word tests (IsFunction,
  // IsKeyword, IsOperation, IsInteger, IsIdentifier): reading then asks the
  // merged word table once per word instead of each test in turn. A class
  // answers true only for objects of exactly itself, so that a class
  // derived from it with tests of its own is asked through them.
  virtual bool KeepsWordTests() const;

  // Bits of the character-class table.
  enum : uint16_t {
    chQuote = 1,        // IsQuote
    chIdentQuote = 2,   // IsIdentQuote
    chDelim = 4,        // IsDelim
    chSpace = 8,        // IsSpace
    chDigit = 16,       // IsDigit
    chAlpha = 32,       // IsAlpha
    chLegal = 64,       // IsLegalSymbol
    chComparison = 128,  // IsComparison
    chLevelUp = 256,     // ShouldLevelUp
    chLevelDown = 512,   // ShouldLevelDown
    // Made from the others: a character where a word may end (a quote,
    // delimiter or blank, a point, a line break).
    chWordStop = 1024
  };
  bool CharIs(char C, uint16_t Bits) const {
    return (FCharClasses[static_cast<unsigned char>(C)] & Bits) != 0;
  }
  // A blank that is nothing else: no quote, delimiter or line break.
  bool IsPlainBlank(char C) const {
    return (FCharClasses[static_cast<unsigned char>(C)] &
            (chSpace | chQuote | chIdentQuote | chDelim)) == chSpace &&
           C != '\n' && C != '\r';
  }
  // Whether the identifier test of the generic rules holds for S, through
  // the table (IsIdentifier of this class).
  bool TableIdentifier(std::string_view S) const;

  std::array<uint16_t, 256> FCharClasses{};

  // Which of the function, keyword and operation lists hold S. The three
  // lists are merged into one hash table, made again when one of them has
  // changed; a list that compares case-sensitively is asked itself. While
  // ReadRawToken classifies a word, the answer for it is looked up once.
  enum : uint8_t { wlFunction = 1, wlKeyword = 2, wlOperation = 4 };
  uint8_t WordLists(std::string_view S) const;
  uint8_t LookUpWord(std::string_view S) const {
    RefreshWordTable();
    return LookUpCurrentWord(S);
  }
  // Merges the word lists again when one of them has changed.
  void RefreshWordTable() const {
    if (FMergedLists[0] != FFunctions.get() || FMergedLists[1] != FKeywords.get() ||
        FMergedLists[2] != FOperations.get() ||
        FMergedChanges[0] != FFunctions->ChangeCount() ||
        FMergedChanges[1] != FKeywords->ChangeCount() ||
        FMergedChanges[2] != FOperations->ChangeCount())
      MergeWordLists();
  }
  // LookUpWord once the table is known to be current.
  uint8_t LookUpCurrentWord(std::string_view S) const {
    if (!FMergedCaseless)
      return ListsHolding(S);
    if (S.empty())
      return 0;
    if (const size_t Bit = WordStartBit(S); !(FWordStarts[Bit / 64] >> (Bit % 64) & 1))
      return 0;
    return FindWord(S);
  }
  // LookUpWord's answers when a list compares case-sensitively, and from the
  // merged table otherwise.
  uint8_t ListsHolding(std::string_view S) const;
  uint8_t FindWord(std::string_view S) const;
  void MergeWordLists() const;
  bool FStandardWords = false;      // KeepsWordTests, asked once
  const char* FWordText = nullptr;  // the word being classified, or null
  size_t FWordSize = 0;
  mutable uint8_t FWordBits = 0;
  mutable bool FWordLooked = false;
  struct TWordSlot {
    std::string Word;  // upper case; empty: a free slot
    uint8_t Lists = 0;
  };
  mutable std::vector<TWordSlot> FWordTable;
  mutable const TStringList* FMergedLists[3] = {nullptr, nullptr, nullptr};
  mutable unsigned long long FMergedChanges[3] = {0, 0, 0};
  mutable bool FMergedCaseless = false;  // all three lists ignore case
  // A bit for the length (31 for longer words), first and last character
  // (upper case) of every word of the lists, hashed into 8192 bits: most
  // names of a statement (A1, C0, ORDERS) share no such triple with a word
  // and need no lookup.
  mutable std::array<uint64_t, 8192 / 64> FWordStarts{};
  static constexpr std::array<uint8_t, 256> kUpper = [] {
    std::array<uint8_t, 256> T{};
    for (int C = 0; C < 256; ++C)
      T[C] = static_cast<uint8_t>(C >= 'a' && C <= 'z' ? C - 'a' + 'A' : C);
    return T;
  }();
  static size_t WordStartBit(std::string_view W) {
    auto Up = [](char C) -> uint32_t { return kUpper[static_cast<unsigned char>(C)]; };
    const uint32_t Key = static_cast<uint32_t>(W.size() < 31 ? W.size() : 31) << 16 |
                         Up(W.front()) << 8 | Up(W.back());
    return (Key * 0x9E3779B1u) >> 19;
  }

  // The current token is the text's FSpanSize characters from FSpanStart,
  // not copied to FToken (a word or delimiter read the short way).
  bool FTokenInText = false;
  size_t FSpanStart = 0;
  size_t FSpanSize = 0;
  // Scratch of ReadTokens: the tokens copied, and where their copies start.
  std::vector<std::pair<size_t, size_t>> FCopiedTokens;

  TTokenKind FTokenKind = tkUnknown;
  std::unique_ptr<TStringList> FKeywords;
  std::unique_ptr<TStringList> FFunctions;
  std::unique_ptr<TStringList> FOperations;
  int FLineNo = 1;
  int FLinePos = 1;
  int FTokenLength = 0;  // source characters of the current token
  bool FTokenQuoted = false;
  // Where the text of the open quotes starts (reported when it never ends).
  int FQuoteLineNo = 1;
  int FQuoteLinePos = 1;
  int FSpaceCount = 0;
  bool FEmptyString = false;
  bool FQuoteIdentifiers = true;

  // The character-class table of this library's own scanner classes depends
  // only on the class (and on a setting of the dialect's): such a class hands
  // out a table made once, which RefreshCharClasses copies instead of asking
  // the class functions for every byte value again. Like KeepsWordTests, a
  // class answers only for objects of exactly itself; null makes
  // RefreshCharClasses ask the functions of the object.
  using TCharClasses = std::array<uint16_t, 256>;
  virtual const TCharClasses* SharedCharClasses() const;
  // The table as the object's character-class functions answer.
  TCharClasses AskCharClasses() const;
};

}  // namespace Vexar
