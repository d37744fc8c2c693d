#include "parser/scriptformat.h"

namespace Vexar {

std::string FormatText(std::string_view S, TVXFormatMode Mode) {
  std::string R;
  AppendFormatted(R, S, Mode);
  return R;
}

void AppendFormatted(std::string& Out, std::string_view S, TVXFormatMode Mode) {
  auto Up = [](char C) { return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C; };
  auto Low = [](char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C; };
  switch (Mode) {
    case qfmUpperCase:
      for (char C : S) Out += Up(C);
      return;
    case qfmLowerCase:
      for (char C : S) Out += Low(C);
      return;
    case qfmFirstUpper:
      // Only an underscore starts a new capital: "IS NOT NULL" gives
      // "Is not null", "MY_FUNC" gives "My_Func".
      for (size_t i = 0; i < S.size(); ++i)
        Out += i == 0 || S[i - 1] == '_' ? Up(S[i]) : Low(S[i]);
      return;
    case qfmAsIs:
    default:
      Out.append(S);
      return;
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
