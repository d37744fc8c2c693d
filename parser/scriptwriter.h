// Writing SQL text into one buffer. Every GetScript of the model returns its
// text as a new string; the writers here append the same text to the
// caller's buffer instead, so that writing a statement makes no string per
// name, node or clause.
//
// A class derived from a model class may override GetScript. Each writer
// therefore writes directly only an object of the library's own class, and
// any other object through its virtual GetScript, so that the override takes
// effect wherever the object is written.
#pragma once

#include <string>
#include <string_view>
#include <typeinfo>

namespace Vexar {

class TVXCriterions;
class TVXFunctionDef;
class TVXFunctionDefs;
class TVXSQLScanner;
class TVXSelectParser;
class TVXStringList;
class TVXTableDefs;

namespace ScriptWriter {

// Whether X is exactly of class T, not of a class derived from it. Type
// information is compared by address: equal addresses name the same class,
// and an unequal pair only sends the caller down its general path.
template <class T, class U>
inline bool IsExactly(const U& X) {
  return &typeid(X) == &typeid(T);
}

// dynamic_cast<To*>(X), with a shortcut when X is exactly To or one of the
// classes Exact (classes derived from To).
template <class To, class... Exact, class From>
inline To* FastCast(From* X) {
  if (!X) return nullptr;
  const std::type_info* T = &typeid(*X);
  if (T == &typeid(To) || ((T == &typeid(Exact)) || ...)) return static_cast<To*>(X);
  return dynamic_cast<To*>(X);
}

// Appends Text between two Quote characters, every Quote inside doubled.
// The text grows once, by its final length, filled with Quote: the
// enclosing quotes and the second of each doubled quote are then already in
// place, and only Text is copied in between.
inline void AppendEnclosed(std::string& Out, std::string_view Text, char Quote) {
  size_t Quotes = 0;
  for (char C : Text) Quotes += C == Quote;
  const size_t Start = Out.size();
  Out.append(Text.size() + Quotes + 2, Quote);
  char* D = Out.data() + Start + 1;
  for (char C : Text) {
    *D++ = C;
    if (C == Quote) ++D;  // its double is there
  }
}

// S re-cased as the parser's script format asks for keywords or for
// function names; S as it stands without a parser.
void AppendKeyword(std::string& Out, const TVXSelectParser* Parser, std::string_view S);
void AppendFunction(std::string& Out, const TVXSelectParser* Parser, std::string_view S);

// The name S as the scanner's ProcessName writes it.
void AppendScannerName(std::string& Out, const TVXSQLScanner& Scanner, std::string_view S);
// The name S as a model item with that parser writes it
// (TVXCollectionItem::ProcessName); S as it stands without a parser.
void AppendItemName(std::string& Out, const TVXSelectParser* Parser, std::string_view S);

// What X.GetScript() returns, appended to Out.
void AppendScript(std::string& Out, const TVXFunctionDef& X);
void AppendScript(std::string& Out, const TVXFunctionDefs& X);
void AppendScript(std::string& Out, const TVXTableDefs& X);
void AppendScript(std::string& Out, const TVXCriterions& X);
void AppendScript(std::string& Out, TVXStringList& X);

// The FROM clause's table text of Tables (TVXTableDefs::GetFromText).
void AppendFromText(std::string& Out, const TVXTableDefs& Tables);

// The parts of a statement that every dialect writes alike: the SELECT list
// and the FROM clause (false, and nothing appended, when the statement has
// neither), and the WHERE, GROUP BY, HAVING and ORDER BY clauses.
bool AppendSelectList(std::string& Out, const TVXSelectParser& Parser);
void AppendClauses(std::string& Out, const TVXSelectParser& Parser);

}  // namespace ScriptWriter
}  // namespace Vexar
