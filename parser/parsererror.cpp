#include "parser/parsererror.h"

#include "parser/resource.h"
#include "platform/format.h"

namespace Vexar {

std::string EVXParserError::MessageFor(int ErrorCode, const std::string& Token, int LineNo,
                                       int LinePos) {
  switch (ErrorCode) {
    case 1:
      return Format(LoadResString(rsParserInvalidToken), Token, LinePos, LineNo);
    case 2:
      return LoadResString(rsParserUnexpectedEnd);
    case 3:
      return LoadResString(rsParserUnterminatedString);
    default:
      return Format(LoadResString(rsParserUnknownError), ErrorCode);
  }
}

EVXParserError::EVXParserError(int ErrorCode, const std::string& Token, int LineNo, int LinePos)
    : Exception(MessageFor(ErrorCode, Token, LineNo, LinePos)),
      FErrorCode(ErrorCode),
      FToken(Token),
      FLineNo(LineNo),
      FLinePos(LinePos) {}

}  // namespace Vexar
