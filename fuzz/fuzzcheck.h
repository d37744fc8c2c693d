// The invariants every fuzz target checks on one statement. A broken
// invariant prints what was read and written and aborts, which libFuzzer
// records as a finding with the input that caused it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "parser/selectparser.h"

namespace Vexar::Fuzz {

// Makes a parser of one configuration (dialect, server, quoting).
using TParserFactory = std::function<std::unique_ptr<TVXSelectParser>()>;

// Checks statements in one configuration. Its parsers are made once and
// read every statement in turn, as a component's parser does; making a
// dialect parser costs more than reading a short statement.
class TChecker {
 public:
  explicit TChecker(const TParserFactory& Make);

  // Reads Text and checks:
  // - with OnParserError set, no exception leaves SetExpression; without it,
  //   only EVXParserError does, exactly when the handler was called, with
  //   the same message;
  // - reading and writing each take CPU time within a bound linear in the
  //   size of the text;
  // - an accepted statement is written, read again without an error and
  //   written again to the same text; the model an error leaves behind is
  //   written without an error.
  void Check(const std::string& Text);

 private:
  struct TReports {
    bool Reported = false;
    std::string Messages;  // every message the handler received, one a line
  };
  std::unique_ptr<TVXSelectParser> FHandled, FPlain, FAgain;
  std::unique_ptr<TReports> FReports;  // apart, so that a checker can move
};

// The bytes libFuzzer hands over, as a statement.
inline std::string AsText(const uint8_t* Data, size_t Size) {
  return std::string(reinterpret_cast<const char*>(Data), Size);
}

// Checkers of parser class T with name quoting on and off.
template <class T>
std::vector<TChecker> QuotingCheckers() {
  std::vector<TChecker> C;
  for (bool Quote : {true, false}) {
    C.emplace_back([Quote]() -> std::unique_ptr<TVXSelectParser> {
      auto P = TVXSelectParser::Create<T>();
      P->Scanner()->SetQuoteIdentifiers(Quote);
      return P;
    });
  }
  return C;
}

// Checks one input with every checker (the body of a fuzz target).
inline int CheckAll(std::vector<TChecker>& Checkers, const uint8_t* Data, size_t Size) {
  const std::string Text = AsText(Data, Size);
  for (TChecker& C : Checkers)
    C.Check(Text);
  return 0;
}

}  // namespace Vexar::Fuzz
