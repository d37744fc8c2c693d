// The MySQL option record: the words MySQL allows between SELECT and the
// select list, and the numbers of the LIMIT clause, with the texts they are
// written as.
#pragma once

#include <cstdint>
#include <string>

#include "platform/persistent.h"
#include "platform/set.h"

namespace Vexar {

class TVXSelectParser;

// The word written right before the select list.
enum TVXMySQLFilter : uint8_t { myfoNone, myfoDistinct, myfoDistinctRow, myfoAll };

enum TVXMySQLSelectOption : uint8_t {
  mysoStraightJoin,
  mysoSQLSmallResult,
  mysoSQLBigResult,
  mysoSQLBufferResult,
  mysoHighPriority
};
using TVXMySQLSelectOptions = TSet<TVXMySQLSelectOption>;

class TVXMySQLOptions : public TPersistent {
 public:
  // Parser (not owned, may be null) re-cases the keywords of the texts.
  explicit TVXMySQLOptions(TVXSelectParser* Parser = nullptr) : FParser(Parser) {}

  int LimitRows() const { return FLimitRows; }
  void SetLimitRows(int Value) { FLimitRows = Value; }
  int LimitOffset() const { return FLimitOffset; }
  void SetLimitOffset(int Value) { FLimitOffset = Value; }
  TVXMySQLSelectOptions SelectOptions() const { return FSelectOptions; }
  void SetSelectOptions(TVXMySQLSelectOptions Value) { FSelectOptions = Value; }
  // Whether the statement has a LIMIT clause, also one that asks for 0
  // rows: «LIMIT 0» returns no row, so it is written back although its
  // numbers are those of no clause.
  bool HasLimit() const { return FHasLimit; }
  void SetHasLimit(bool Value) { FHasLimit = Value; }
  TVXMySQLFilter Filter() const { return FFilter; }
  void SetFilter(TVXMySQLFilter Value) { FFilter = Value; }
  TVXSelectParser* Parser() const { return FParser; }

  // LIMIT numbers 0 and no LIMIT clause, no options, no filter word.
  void Clear();
  // Copies everything but Parser from another TVXMySQLOptions.
  void Assign(const TPersistent* Source) override;

  // "DISTINCT ", "DISTINCTROW ", "ALL " or empty.
  std::string GetFilterScript() const;
  // "LIMIT 20, 10" with an offset, "LIMIT 10" without, "LIMIT 0" for a
  // clause of 0 rows, or empty.
  std::string GetLimitScript() const;
  // The option words in the order of the enumeration, each followed by a
  // blank ("STRAIGHT_JOIN HIGH_PRIORITY "), or empty.
  std::string GetOptionsScript() const;

 private:
  std::string Keyword(const char* S) const;

  int FLimitRows = 0;
  int FLimitOffset = 0;
  bool FHasLimit = false;
  TVXMySQLSelectOptions FSelectOptions;
  TVXMySQLFilter FFilter = myfoNone;
  TVXSelectParser* FParser;
};

// The option word of each TVXMySQLSelectOption, in upper case.
const char* MySQLSelectOptionWord(TVXMySQLSelectOption Option);

}  // namespace Vexar
