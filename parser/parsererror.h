// EVXParserError: an error in SQL text, with the token, line and column.
#pragma once

#include <string>

#include "platform/exception.h"

namespace Vexar {

// Error codes: 1 invalid token, 2 unexpected end, 3 unterminated string; any
// other code is an unknown error. The message is taken from the catalogue when
// the error is made.
class EVXParserError : public Exception {
 public:
  EVXParserError(int ErrorCode, const std::string& Token, int LineNo, int LinePos);

  int ErrorCode() const { return FErrorCode; }
  const std::string& Token() const { return FToken; }
  int LineNo() const { return FLineNo; }
  int LinePos() const { return FLinePos; }

  // The message for a code, token, line and column.
  static std::string MessageFor(int ErrorCode, const std::string& Token, int LineNo,
                                int LinePos);

 private:
  int FErrorCode;
  std::string FToken;
  int FLineNo;
  int FLinePos;
};

}  // namespace Vexar
