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

#include "parser/criterions.h"
#include "parser/funcdefs.h"
#include "parser/grouping.h"
#include "parser/parsererror.h"
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
  virtual bool IsJoinDef(const std::string& S) const;
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
  // Reports an error at Token: through OnParserError when set, else raised.
  virtual void ProcessError(const std::string& Token, int LineNo, int LinePos);

  TVXSelectState FState = ssBegin;
  bool FDistinct = false;
  std::string FLastTableName;
  std::string FLastAlias;

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
