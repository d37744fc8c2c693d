#include "dialects/iboptions.h"

#include "platform/format.h"

namespace Vexar {

void TVXIBOptions::Clear() {
  FPercent = false;
  FWithTies = false;
  FRows = 0;
  FRowsBy = 0;
  FRowsTo = 0;
  FHasRows = false;
}

void TVXIBOptions::Assign(const TPersistent* Source) {
  if (const auto* S = dynamic_cast<const TVXIBOptions*>(Source)) {
    FPercent = S->FPercent;
    FWithTies = S->FWithTies;
    FRows = S->FRows;
    FRowsBy = S->FRowsBy;
    FRowsTo = S->FRowsTo;
    FHasRows = S->FHasRows;
    return;
  }
  TPersistent::Assign(Source);
}

// ROWS is written, also as ROWS 0, as soon as one of the numbers is set or
// a ROWS clause was read (ROWS 0 returns no row); PERCENT and WITH TIES
// alone qualify no clause and are left out.
std::string TVXIBOptions::GetScript() const {
  if (FRows < 1 && FRowsTo < 1 && FRowsBy < 1 && !(FHasRows && FRows == 0))
    return {};
  std::string R = Format("ROWS %d", FRows);
  if (FRowsTo > 0)
    R += " " + Format("TO %d", FRowsTo);
  if (FRowsBy > 0)
    R += " " + Format("BY %d", FRowsBy);
  if (FPercent)
    R += " PERCENT";
  if (FWithTies)
    R += " WITH TIES";
  return R;
}

void TVXFBOptions::Clear() {
  FFirst = 0;
  FSkip = 0;
  FHasFirst = false;
}

void TVXFBOptions::Assign(const TPersistent* Source) {
  if (const auto* S = dynamic_cast<const TVXFBOptions*>(Source)) {
    FFirst = S->FFirst;
    FSkip = S->FSkip;
    FHasFirst = S->FHasFirst;
    return;
  }
  TPersistent::Assign(Source);
}

std::string TVXFBOptions::GetScript() const {
  std::string R;
  if (FFirst > 0 || (FHasFirst && FFirst == 0))
    R = Format("FIRST %d", FFirst);
  if (FSkip > 0) {
    if (!R.empty())
      R += " ";
    R += Format("SKIP %d", FSkip);
  }
  if (!R.empty())
    R += " ";
  return R;
}

}  // namespace Vexar
