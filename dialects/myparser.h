// The MySQL select parser:
//
//   SELECT [option words] [DISTINCT | DISTINCTROW | ALL] select list
//   FROM ... [WHERE ...] [GROUP BY ...] [HAVING ...] [ORDER BY ...]
//   [LIMIT n | LIMIT offset, n | LIMIT n OFFSET offset]
//
// The option words are STRAIGHT_JOIN, SQL_SMALL_RESULT, SQL_BIG_RESULT,
// SQL_BUFFER_RESULT and HIGH_PRIORITY, in any order, each once. DISTINCT,
// DISTINCTROW and ALL are one value (MySQLOptions.Filter), and the model's
// Distinct flag reads and writes its DISTINCT value. Every parse empties the
// options first.
#pragma once

#include <memory>

#include "dialects/myoptions.h"
#include "dialects/myscanner.h"
#include "parser/selectparser.h"

namespace Vexar {

class TVXMySelectParser : public TVXSelectParser {
 public:
  ~TVXMySelectParser() override;

  TVXMySQLOptions* MySQLOptions() const { return FMySQLOptions.get(); }
  // Copy Value into the owned record (nothing when it is that record).
  void SetMySQLOptions(const TVXMySQLOptions* Value);

  std::string GetExpression() override;
  // The inherited Clear, then the options.
  void Clear() override;
  // True exactly when the filter word is DISTINCT.
  bool GetDistinct() const override;
  // The generic flag, and the filter word DISTINCT (true) or none (false).
  void SetDistinct(bool Value) override;

 protected:
  friend class TVXSelectParser;
  TVXMySelectParser();

  std::unique_ptr<TVXSQLScanner> CreateScanner() override;
  void DoParseSelectClause() override;
  void DoParseAppendix() override;
  // The option words from the current token on, then a filter word or the
  // select list.
  virtual void DoParseOptions();
  // The filter word at the current token; the select list starts after it.
  virtual void DoParseFilter();

 private:
  // Whether the current token is DISTINCT, DISTINCTROW or ALL.
  bool IsFilterWord() const;

  std::unique_ptr<TVXMySQLOptions> FMySQLOptions;
  bool FFilterRead = false;  // a filter word was read by this select clause
};

}  // namespace Vexar
