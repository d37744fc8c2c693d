// TVXSelectParser: the root of the query model and the reader and writer of
// SQL text. It owns the scanner, the model lists, the operator table and the
// aggregate list; SetExpression turns a SELECT statement into the model and
// GetExpression writes the model back as a statement.
//
// Reading is a state machine over the clauses; one handler per clause reads
// tokens, fills the model and names the next state:
//
//   ssBegin -SELECT-> ssSelect -[DISTINCT]-> ssFieldDefs -FROM-> ssFrom
//   ssFrom -> ssTableDefs -> ssWhere -> ssGroupBy -> ssHaving -> ssOrderBy
//   (a clause may be left out; a keyword that no clause knows leads to
//   ssAppendix, where dialects read their trailing clauses; the end of the
//   text or ";" leads to ssEnd; any handler that cannot go on sets ssError).
//
// Parsers are made in two phases so that a dialect's factories run: always
// through TVXSelectParser::Create<T>().
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "parser/criterions.h"
#include "parser/funcdefs.h"
#include "parser/grouping.h"
#include "parser/parsererror.h"
#include "parser/parsetree.h"
#include "parser/scanner.h"
#include "parser/scriptformat.h"
#include "parser/tabledefs.h"
#include "platform/persistent.h"
#include "platform/stringlist.h"

namespace Vexar {

enum TVXSelectState {
  ssBegin, ssError, ssEnd, ssSelect, ssFieldDefs, ssInto, ssFrom, ssTableDefs, ssWhere,
  ssGroupBy, ssHaving, ssOrderBy, ssAppendix
};

class TVXSelectParser;
using TVXParserErrorEvent =
    std::function<void(TVXSelectParser* Sender, const std::string& ErrorMsg,
                       const std::string& Token, int LineNo, int LinePos)>;

class TVXSelectParser : public TPersistent {
 public:
  ~TVXSelectParser() override;

  template <class T, class... A>
  static std::unique_ptr<T> Create(A&&... Args) {
    std::unique_ptr<T> P(new T(std::forward<A>(Args)...));
    P->Initialize();
    return P;
  }

  // Parses S into the model (an empty text only clears it). Errors go to
  // OnParserError when it is set, else raise EVXParserError.
  void SetExpression(const std::string& S);
  // The statement written from the model; empty without tables and fields.
  virtual std::string GetExpression();
  // Empties every model list and the scanner's text; Distinct, the
  // vocabularies and the script format stay.
  virtual void Clear();

  // S re-cased by the script format.
  std::string ProcessKeyword(std::string_view S) const;
  std::string ProcessFunction(std::string_view S) const;

  TVXSQLScanner* Scanner() const { return FScanner.get(); }
  TVXTableDefs* TableDefs() const { return FTableDefs.get(); }
  TVXWhereItems* WhereItems() const { return FWhereItems.get(); }
  TVXHavingItems* HavingItems() const { return FHavingItems.get(); }
  TVXGroupByItems* GroupByItems() const { return FGroupByItems.get(); }
  TVXOrderByItems* OrderByItems() const { return FOrderByItems.get(); }
  TStringList* Aggregates() const { return FAggregates.get(); }
  TVXOperators* Operators() const { return FOperators.get(); }
  TVXScriptFormat* ScriptFormat() const { return FScriptFormat.get(); }

  // Object-typed setters copy into the parser's own objects.
  void SetTableDefs(const TVXTableDefs* Value);
  void SetWhereItems(const TVXWhereItems* Value);
  void SetHavingItems(const TVXHavingItems* Value);
  void SetGroupByItems(const TVXGroupByItems* Value);
  void SetOrderByItems(const TVXOrderByItems* Value);
  void SetOperators(const TVXOperators* Value);
  void SetScriptFormat(const TVXScriptFormat* Value);
  // Copies List, upper-cased and sorted, unless it is the parser's own.
  void SetAggregates(const TStringList* List);

  virtual bool GetDistinct() const { return FDistinct; }
  virtual void SetDistinct(bool Value) { FDistinct = Value; }
  TVXSelectState State() const { return FState; }
  const std::string& LastTableName() const { return FLastTableName; }
  const std::string& LastAlias() const { return FLastAlias; }

  TVXParserErrorEvent OnParserError;

 protected:
  TVXSelectParser() = default;
  // Second construction phase: makes every owned object through the
  // virtual factories, in order.
  virtual void Initialize();

  virtual std::unique_ptr<TVXSQLScanner> CreateScanner();
  virtual std::unique_ptr<TVXTableDefs> CreateTableDefs();
  virtual std::unique_ptr<TVXWhereItems> CreateWhereItems();
  virtual std::unique_ptr<TVXHavingItems> CreateHavingItems();
  virtual std::string GetCommaAggregates() const;
  // Whether S starts a join (INNER, LEFT, RIGHT, FULL, JOIN).
  virtual bool IsJoinDef(std::string_view S) const;
  virtual void DefineAggregates();
  virtual void DefineOperators();

  // The state machine and its handlers.
  virtual void DoParse();
  virtual void DoParseBegin();
  virtual void DoParseSelectClause();
  virtual void DoParseIntoClause();
  virtual void DoParseFieldDef();
  virtual void DoParseFieldDefs();
  virtual void DoParseFromClause();
  virtual void DoParseTableDef();
  virtual void DoParseProcParams(TVXTableDef* TableDef);
  virtual void DoParseJoinDef();
  virtual void DoParseTableDefs();
  virtual void DoParseWhereClause();
  virtual void DoParseGroupByClause();
  virtual void DoParseHavingClause();
  virtual void DoParseOrderByClause();
  virtual void DoParseAppendix();
  virtual void DoParseCriterions(TVXCriterions* List);
  // Reads one expression into Def; TableDef receives the table a qualifier
  // names. Terminators and AllowedWords (comma-separated) decide where it ends.
  virtual void DoParseExpression(TVXFunctionDef* Def, TVXTableDef*& TableDef,
                                 TTokenKinds Terminators, const std::string& AllowedWords,
                                 bool UseFullName);
  // The error code of a failure that is no fault of the text's tokens
  // ("Unknown error (#4).").
  static constexpr int kInternalError = 4;
  // Reports an error at Token: through OnParserError when set, else raised.
  virtual void ProcessError(const std::string& Token, int LineNo, int LinePos);

  TVXSelectState FState = ssBegin;
  bool FDistinct = false;
  std::string FLastTableName;
  std::string FLastAlias;

  // Reading works on the statement's tokens, read once by the scanner when
  // parsing starts; handlers move a cursor over them, so that looking ahead
  // or stepping back never disturbs line and column counting.
  // A token as the scanner returns it (quoted text without its quotes), its
  // text a view of the text being read or of the parser's copies, for that
  // reading only.
  using TVXParseToken = TVXSQLScanner::TVXToken;
  const TVXParseToken& CurToken() const { return TokenAt(FTokenIndex); }
  // The token Ahead places after the current one (the end token past the end).
  const TVXParseToken& PeekToken(int Ahead = 1) const { return TokenAt(FTokenIndex + Ahead); }
  const TVXParseToken& TokenAt(int Index) const {
    if (static_cast<unsigned>(Index) < FTokens.size())
      return FTokens[static_cast<size_t>(Index)];
    return TokenOutside(Index);
  }
  // TokenAt for an index outside the list.
  const TVXParseToken& TokenOutside(int Index) const;
  void NextToken() {
    if (FTokenIndex + 1 < static_cast<int>(FTokens.size()))
      ++FTokenIndex;
  }
  int TokenIndex() const { return FTokenIndex; }
  void SetTokenIndex(int Index);
  // Whether T is the unquoted delimiter, operation or comparison Text.
  static bool IsSymbol(const TVXParseToken& T, std::string_view Text) {
    return T.Text.size() == Text.size() && !T.Quoted && T.Kind != tkEnd &&
           std::char_traits<char>::compare(T.Text.data(), Text.data(), Text.size()) == 0;
  }
  // Whether T is the unquoted word Word (a keyword or a plain word), ignoring case.
  static bool IsWord(const TVXParseToken& T, std::string_view Word);
  // Whether T is a keyword of the dialect (never quoted text).
  static bool IsKeywordToken(const TVXParseToken& T) { return T.Kind == tkKeyword && !T.Quoted; }
  // Whether T can name a table, column or alias.
  static bool IsNameToken(const TVXParseToken& T) {
    return T.Kind == tkIdent || T.Kind == tkIdentString || (T.Kind == tkString && T.Quoted);
  }
  // Whether the token at Index names a part of a possibly qualified name: a
  // name, or a function word no call follows.
  bool IsQualifiedPart(int Index) const;
  // The stored form of a name read from T: the plain word, or the quoted
  // form when the name could not be written unquoted (blanks, points,
  // quotes, keywords).
  std::string NameOf(const TVXParseToken& T) const;
  // Whether quoted text Text is stored without its quotes: a word of
  // letters, digits and "_" that is no keyword or function.
  bool ReadsAsPlainName(std::string_view Text) const;
  // Index of the ")" that closes the "(" at Index, or -1.
  int MatchingParen(int Index) const;
  // Ends the machine in ssError with the cursor on the offending token.
  void Fail() { FState = ssError; }
  void FailAt(int Index);
  // Moves to the next token and takes it when it is an integer that fits an
  // int (the counts of FIRST, SKIP, ROWS and LIMIT); otherwise sets ssError,
  // leaving that token to be reported.
  bool ReadNumber(int& Value);
  // Counts one level of nesting; false (and ssError at the current token)
  // beyond MaxNestingDepth.
  bool EnterLevel();
  void LeaveLevel() { --FDepth; }
  // Leaves the level entered with EnterLevel when it goes out of scope.
  struct TLevelGuard {
    TVXSelectParser* Parser;
    ~TLevelGuard() { Parser->LeaveLevel(); }
  };

  // Expression reading: a tree first, then the model nodes.
  TVXExprPtr ParseArithmetic(bool AllowStar);
  TVXExprPtr ParseOperand(bool AllowStar);
  TVXExprPtr ParseCall();
  // The SQL text of an expression tree, names quoted as the dialect does.
  std::string RenderExpression(const TVXExprNode& Node) const;
  void BuildExpression(TVXFunctionDef* Def, const TVXExprNode& Node, bool UseFullName);
  // The table definition a qualifier names, made (with only the alias) when
  // none has that alias yet.
  TVXTableDef* QualifierTable(const std::string& Qualifier);

  // Condition reading: OR over AND over NOT over a parenthesised condition
  // or a comparison.
  TVXCondPtr ParseOrCondition();
  TVXCondPtr ParseAndCondition();
  TVXCondPtr ParseNotCondition();
  TVXCondPtr ParseComparison();
  // The operator whose caption the words from Index on spell (the longest
  // one); Words receives how many tokens it takes. Null when none; Reached
  // then receives how many tokens still began some caption.
  TVXOperator* MatchOperator(int Index, int& Words, int* Reached = nullptr) const;
  // Whether the "(" at Index opens a condition rather than an operand.
  bool OpensCondition(int Index) const;
  void BuildCriterions(TVXCriterions* List, const TVXCondNode& Node);
  void BuildCriterion(TVXCriterion* Item, const TVXCondNode& Node);
  // Makes the table definitions the qualifiers within E name.
  void NoteQualifiers(const TVXExprNode& E);
  // Clause ends shared by the handlers after the table list.
  void NextClause(bool AllowWhere, bool AllowGroupBy, bool AllowHaving, bool AllowOrderBy);
  // Reads a possibly qualified name ("t", "s.t", "t.c") into one text.
  bool ParseQualifiedName(std::string& Name);
  // Checks made once the whole statement has been read.
  void FinishParse();
  std::string NumberedAlias(const std::string& Name, std::unordered_set<std::string>& Taken,
                            std::unordered_map<std::string, int>& Next) const;

 private:
  void Tokenize(const std::string& Text);
  void ReportError(int Index);

  std::string FSource;
  TVXNodePool FNodes;  // the nodes of the trees of expressions and conditions
  std::vector<TVXParseToken> FTokens;
  // The texts of the tokens that differ from the text read, one after the
  // other, and of quoted text that never ends.
  std::string FTokenChars;
  std::string FUnterminatedText;
  std::vector<int> FMatch;
  std::vector<int> FOpenParens;  // scratch of Tokenize
  // Scratch of DoParseExpression: the qualifiers of one expression and their tables.
  std::vector<std::pair<std::string, TVXTableDef*>> FSeenQualifiers;
  // Scratch of the select list: the aliases of the outputs read so far, as
  // a list and, once an alias has to be generated, as a set; and the last
  // number given to a generated alias.
  std::vector<std::string> FOutputAliases;
  std::unordered_set<std::string> FOutputAliasSet;
  bool FOutputAliasSetMade = false;
  int FFieldAliasNumber = 0;
  int FTokenIndex = 0;
  int FUnterminated = -1;  // index of the token standing for an unterminated string
  int FErrorCode = 0;
  int FDepth = 0;
  int FHavingIndex = -1;
  bool FAliasGiven = false;
  bool FStarRead = false;
  std::vector<TVXFieldDef*> FQualifiedStars;
  TVXTableDef* FUnqualifiedTable = nullptr;
  std::vector<TVXTableDef*> FNamedTables;  // in the order the FROM clause names them
  std::unique_ptr<TVXFieldDef> FFreeField;  // DoParseFieldDef reads each output into it

 private:
  std::unique_ptr<TVXSQLScanner> FScanner;
  std::unique_ptr<TVXTableDefs> FTableDefs;
  std::unique_ptr<TVXWhereItems> FWhereItems;
  std::unique_ptr<TVXHavingItems> FHavingItems;
  std::unique_ptr<TVXGroupByItems> FGroupByItems;
  std::unique_ptr<TVXOrderByItems> FOrderByItems;
  std::unique_ptr<TStringList> FAggregates;
  std::unique_ptr<TVXOperators> FOperators;
  std::unique_ptr<TVXScriptFormat> FScriptFormat;
};

}  // namespace Vexar
