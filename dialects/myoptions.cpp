#include "dialects/myoptions.h"

#include "parser/selectparser.h"
#include "platform/format.h"

namespace Vexar {

const char* MySQLSelectOptionWord(TVXMySQLSelectOption Option) {
  switch (Option) {
    case mysoStraightJoin:
      return "STRAIGHT_JOIN";
    case mysoSQLSmallResult:
      return "SQL_SMALL_RESULT";
    case mysoSQLBigResult:
      return "SQL_BIG_RESULT";
    case mysoSQLBufferResult:
      return "SQL_BUFFER_RESULT";
    case mysoHighPriority:
      return "HIGH_PRIORITY";
  }
  return "";
}

void TVXMySQLOptions::Clear() {
  FLimitRows = 0;
  FLimitOffset = 0;
  FHasLimit = false;
  FSelectOptions.Clear();
  FFilter = myfoNone;
}

void TVXMySQLOptions::Assign(const TPersistent* Source) {
  if (const auto* S = dynamic_cast<const TVXMySQLOptions*>(Source)) {
    FFilter = S->FFilter;
    FLimitRows = S->FLimitRows;
    FLimitOffset = S->FLimitOffset;
    FHasLimit = S->FHasLimit;
    FSelectOptions = S->FSelectOptions;
    return;
  }
  TPersistent::Assign(Source);
}

std::string TVXMySQLOptions::Keyword(const char* S) const {
  return FParser ? FParser->ProcessKeyword(S) : std::string(S);
}

std::string TVXMySQLOptions::GetFilterScript() const {
  switch (FFilter) {
    case myfoDistinct:
      return Keyword("DISTINCT") + " ";
    case myfoDistinctRow:
      return Keyword("DISTINCTROW") + " ";
    case myfoAll:
      return Keyword("ALL") + " ";
    case myfoNone:
      break;
  }
  return {};
}

// An offset is written with the row count, also a count of 0; a count
// alone when it is 1 or more, or when a LIMIT clause was read: a 0 there
// empties the result.
std::string TVXMySQLOptions::GetLimitScript() const {
  const std::string L = Keyword("LIMIT");
  if (FLimitOffset >= 1)
    return Format("%s %d, %d", L, FLimitOffset, FLimitRows);
  if (FLimitRows >= 1 || (FHasLimit && FLimitRows == 0))
    return Format("%s %d", L, FLimitRows);
  return {};
}

std::string TVXMySQLOptions::GetOptionsScript() const {
  std::string R;
  for (auto Option : {mysoStraightJoin, mysoSQLSmallResult, mysoSQLBigResult, mysoSQLBufferResult,
                      mysoHighPriority}) {
    if (!FSelectOptions.Contains(Option))
      continue;
    if (!R.empty())
      R += " ";
    R += Keyword(MySQLSelectOptionWord(Option));
  }
  if (!R.empty())
    R += " ";
  return R;
}

}  // namespace Vexar
