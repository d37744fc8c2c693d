#include "parser/scriptformat.h"

#include "platform/strutils.h"

namespace Vexar {

std::string FormatText(std::string_view S, TVXFormatMode Mode) {
  switch (Mode) {
    case qfmUpperCase:
      return UpperCase(S);
    case qfmLowerCase:
      return LowerCase(S);
    case qfmFirstUpper: {
      // Only an underscore starts a new capital: "IS NOT NULL" gives
      // "Is not null", "MY_FUNC" gives "My_Func".
      std::string R = LowerCase(S);
      for (size_t i = 0; i < R.size(); ++i)
        if (i == 0 || S[i - 1] == '_') R[i] = UpperCase(std::string_view(&R[i], 1))[0];
      return R;
    }
    case qfmAsIs:
    default:
      return std::string(S);
  }
}

void TVXScriptFormat::Assign(const TPersistent* Source) {
  if (const auto* F = dynamic_cast<const TVXScriptFormat*>(Source)) {
    FKeywordsFormat = F->FKeywordsFormat;
    FFunctionsFormat = F->FFunctionsFormat;
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace Vexar
