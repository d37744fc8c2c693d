// The MySQL scanner: MySQL's vocabulary, names between backquotes, strings
// between single or double quotes with MySQL's backslash escapes.
//
// Quoted text is turned into its value on reading (UnquoteText) and written
// back so that MySQL reads the same value (QuoteString, QuoteIdent): inside
// strings a backslash escapes the next character and a doubled quote stands
// for one quote; inside backquotes only a doubled backquote is special.
#pragma once

#include "parser/scanner.h"

namespace Vexar {

class TVXMySQLScanner : public TVXSQLScanner {
 public:
  bool IsQuote(char C) const override;
  bool IsIdentQuote(char C) const override;
  bool IsTerminator(char C, std::string_view Token, char Quote, char Next) const override;
  char GetIdentQuote() const override;
  bool GetProcessAliases() const override;
  std::string GetCommaKeywords() const override;
  std::string GetCommaFunctions() const override;
  std::string UnquoteText(std::string_view Raw, char Quote) const override;
  std::string QuoteString(std::string_view Value) const override;
  std::string QuoteIdent(std::string_view Name) const override;

 protected:
  bool KeepsWordTests() const override { return typeid(*this) == typeid(TVXMySQLScanner); }
  const TCharClasses* SharedCharClasses() const override;
  friend class TVXScanner;
  TVXMySQLScanner() = default;
};

}  // namespace Vexar
