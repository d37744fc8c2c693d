// The InterBase/Firebird scanner: InterBase's vocabulary, capital letters as
// the only letters, the dollar sign inside names, and the identifier quoting
// of the two SQL dialects of an InterBase database:
//
//                          dialect 1              dialect 3
//   string quotes          ' and "                '
//   identifier quotes      none                   "
//   names written as       upper case, blanks     quoted where NeedQuotes
//                          as underscores         asks
//
// Unquoted identifiers are read in upper case, as the server reads them, so
// that a name typed in small letters names the same object when it is
// written back (quoted or not).
#pragma once

#include "parser/scanner.h"

namespace Vexar {

enum TVXSQLDialect { qibDialect1, qibDialect3 };

class TVXIBScanner : public TVXSQLScanner {
 public:
  TVXSQLDialect SQLDialect() const { return FSQLDialect; }
  // The quote characters depend on the SQL dialect.
  void SetSQLDialect(TVXSQLDialect Value) {
    FSQLDialect = Value;
    RefreshCharClasses();
  }


  bool IsAlpha(char C) const override;
  bool IsQuote(char C) const override;
  bool IsLegalSymbol(char C) const override;
  bool IsIdentQuote(char C) const override;
  char GetIdentQuote() const override;
  bool GetProcessAliases() const override;
  bool GetQuoteIdentifiers() const override;
  bool NeedQuotes(std::string_view S) const override;
  std::string GetCommaKeywords() const override;
  std::string GetCommaFunctions() const override;
  std::string GetCommaOperations() const override;
  std::string ProcessIdent(std::string_view S) const override;
  std::string ProcessName(std::string_view S) const override;

 protected:
  bool KeepsWordTests() const override { return typeid(*this) == typeid(TVXIBScanner); }
  // A table for each SQL dialect.
  const TCharClasses* SharedCharClasses() const override;
  // An unquoted identifier is read in upper case.
  void TokenRead() override;
  friend class TVXScanner;
  TVXIBScanner() = default;

 private:
  TVXSQLDialect FSQLDialect = qibDialect3;
};

}  // namespace Vexar
