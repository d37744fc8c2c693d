#include "fuzz/fuzzcheck.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>

namespace Vexar::Fuzz {

namespace {

[[noreturn]] void Broken(const char* What, const std::string& Text,
                         const std::string& Detail = std::string()) {
  std::fprintf(stderr, "\n*** invariant broken: %s\n--- statement (%zu bytes):\n%s\n", What,
               Text.size(), Text.c_str());
  if (!Detail.empty())
    std::fprintf(stderr, "--- detail:\n%s\n", Detail.c_str());
  std::abort();
}

// CPU time allowed for one call on a text of Size bytes: generous enough
// for a sanitized build on a busy machine, far below what a quadratic walk
// over a few kilobytes costs.
double TimeBound(size_t Size) {
  return 0.25 + 50e-6 * static_cast<double>(Size);
}

class TCpuTimer {
 public:
  TCpuTimer() : FStart(std::clock()) {}
  double Seconds() const { return double(std::clock() - FStart) / CLOCKS_PER_SEC; }

 private:
  std::clock_t FStart;
};

void CheckTime(const TCpuTimer& Timer, const char* What, const std::string& Text,
               size_t Size) {
  const double Spent = Timer.Seconds();
  if (Spent > TimeBound(Size))
    Broken(What, Text, "CPU seconds: " + std::to_string(Spent));
}

}  // namespace

TChecker::TChecker(const TParserFactory& Make)
    : FHandled(Make()), FPlain(Make()), FAgain(Make()), FReports(std::make_unique<TReports>()) {
  FHandled->OnParserError = [R = FReports.get()](TVXSelectParser*, const std::string& Msg,
                                                 const std::string&, int, int) {
    R->Reported = true;
    R->Messages += Msg + "\n";
  };
}

void TChecker::Check(const std::string& Text) {
  // 1. With the handler set nothing may leave SetExpression.
  TVXSelectParser* Handled = FHandled.get();
  bool& Reported = FReports->Reported;
  std::string& Reports = FReports->Messages;
  Reported = false;
  Reports.clear();
  {
    TCpuTimer Timer;
    try {
      Handled->SetExpression(Text);
    } catch (const std::exception& E) {
      Broken("exception left SetExpression with OnParserError set", Text, E.what());
    } catch (...) {
      Broken("unknown exception left SetExpression with OnParserError set", Text);
    }
    CheckTime(Timer, "reading took too long", Text, Text.size());
  }

  // 2. Without it, only EVXParserError leaves, and exactly when step 1
  // reported an error.
  TVXSelectParser* Plain = FPlain.get();
  bool Raised = false;
  std::string Raise;
  try {
    Plain->SetExpression(Text);
  } catch (const EVXParserError& E) {
    Raised = true;
    Raise = E.Message();
  } catch (const std::exception& E) {
    Broken("an exception other than EVXParserError left SetExpression", Text, E.what());
  } catch (...) {
    Broken("unknown exception left SetExpression", Text);
  }
  if (Raised != Reported)
    Broken("the handler and the exception disagree on an error", Text,
           "handler: " + Reports + "exception: " + Raise);
  if (Raised && Reports != Raise + "\n")
    Broken("the handler and the exception report different errors", Text,
           "handler: " + Reports + "exception: " + Raise);
  if (Raised) {
    // What was read before the error is still a model that can be written.
    try {
      (void)Handled->GetExpression();
    } catch (const std::exception& E) {
      Broken("writing the model left by an error raised", Text, E.what());
    }
    return;
  }

  // 3. Accepted: write, read back, write again.
  std::string First;
  {
    TCpuTimer Timer;
    try {
      First = Plain->GetExpression();
    } catch (const std::exception& E) {
      Broken("writing an accepted statement raised", Text, E.what());
    }
    CheckTime(Timer, "writing took too long", Text, Text.size() + First.size());
  }
  if (Handled->GetExpression() != First)
    Broken("two readings of one text are written differently", Text, First);
  TVXSelectParser* Again = FAgain.get();
  try {
    Again->SetExpression(First);
  } catch (const std::exception& E) {
    Broken("the written statement does not read back", Text, First + "\n--- error: " + E.what());
  }
  std::string Second;
  try {
    Second = Again->GetExpression();
  } catch (const std::exception& E) {
    Broken("writing the statement read back raised", Text, E.what());
  }
  if (Second != First)
    Broken("writing is not idempotent", Text, "first:\n" + First + "\nsecond:\n" + Second);
}

}  // namespace Vexar::Fuzz
