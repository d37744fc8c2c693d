// TVXScriptFormat: how keywords and function names are re-cased in generated SQL.
#pragma once

#include <string>
#include <string_view>

#include "platform/persistent.h"

namespace Vexar {

enum TVXFormatMode { qfmAsIs, qfmUpperCase, qfmLowerCase, qfmFirstUpper };

// S re-cased by Mode. qfmFirstUpper capitalises the first character and every
// character that follows an underscore, and lower-cases the rest ("LEFT OUTER"
// gives "Left outer", "DATE_DIFF" gives "Date_Diff").
std::string FormatText(std::string_view S, TVXFormatMode Mode);
// The same, appended to Out.
void AppendFormatted(std::string& Out, std::string_view S, TVXFormatMode Mode);

class TVXScriptFormat : public TPersistent {
 public:
  TVXFormatMode KeywordsFormat() const { return FKeywordsFormat; }
  void SetKeywordsFormat(TVXFormatMode Value) { FKeywordsFormat = Value; }
  TVXFormatMode FunctionsFormat() const { return FFunctionsFormat; }
  void SetFunctionsFormat(TVXFormatMode Value) { FFunctionsFormat = Value; }
  void Assign(const TPersistent* Source) override;

 private:
  TVXFormatMode FKeywordsFormat = qfmAsIs;
  TVXFormatMode FFunctionsFormat = qfmAsIs;
};

}  // namespace Vexar
