// The ways a scanner can read a text, written out token by token, so that
// the tests can compare the short reading of words and delimiters with the
// general one, and reading a whole text with reading token by token.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "parser/parsererror.h"
#include "parser/scanner.h"

namespace Vexar {

// token|kind|line:column|blanks|quoted|level for every token, read one by
// one; with Views the tokens after the first are read as views (the
// parser's way). An error ends the list.
inline std::vector<std::string> TokenStates(TVXSQLScanner& S, const std::string& Text,
                                            bool Views = false) {
  std::vector<std::string> R;
  try {
    S.SetExpression(Text);
    std::string Token = S.Token();
    for (size_t Guard = 0; Guard < Text.size() + 3; ++Guard) {
      R.push_back(Token + "|" + std::to_string(S.TokenKind()) + "|" +
                  std::to_string(S.LineNo()) + ":" + std::to_string(S.TokenColumn()) + "|" +
                  std::to_string(S.SpaceCount()) + "|" + std::to_string(S.TokenQuoted()) + "|" +
                  std::to_string(S.Level()));
      if (S.TokenKind() == tkEnd)
        break;
      Token = Views ? std::string(S.ReadTokenView()) : S.GetNextToken();
    }
  } catch (const EVXParserError& E) {
    R.push_back(std::string("error ") + E.what());
  }
  return R;
}

// token|kind|line:column|blanks|quoted for every token as the parser takes
// them: the whole text at once (ReadTokens) or one token after another. An
// error ends the list.
inline std::vector<std::string> TokenList(TVXSQLScanner& S, const std::string& Text, bool Whole) {
  std::vector<std::string> R;
  auto Add = [&](std::string_view Token, TTokenKind Kind, int Line, int Column, int Spaces,
                 bool Quoted) {
    R.push_back(std::string(Token) + "|" + std::to_string(Kind) + "|" + std::to_string(Line) +
                ":" + std::to_string(Column) + "|" + std::to_string(Spaces) + "|" +
                std::to_string(Quoted));
  };
  std::vector<TVXSQLScanner::TVXToken> Tokens;
  std::string Copies;
  try {
    if (Whole) {
      S.ReadTokens(Text, Tokens, Copies);
    } else {
      S.SetExpression(Text);
      for (size_t Guard = 0; Guard < Text.size() + 3; ++Guard) {
        Add(S.Token(), S.TokenKind(), S.LineNo(), S.TokenColumn(), S.SpaceCount(), S.TokenQuoted());
        if (S.TokenKind() == tkEnd)
          break;
        S.GetNextToken();
      }
    }
  } catch (const EVXParserError& E) {
    for (const auto& T : Tokens) Add(T.Text, T.Kind, T.LineNo, T.Column, T.SpaceCount, T.Quoted);
    R.push_back(std::string("error ") + E.what());
    return R;
  }
  for (const auto& T : Tokens) Add(T.Text, T.Kind, T.LineNo, T.Column, T.SpaceCount, T.Quoted);
  return R;
}

}  // namespace Vexar
