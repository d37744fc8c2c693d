// Generic SQL, names quoted and unquoted.
#include "fuzz/fuzzcheck.h"

using namespace Vexar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static std::vector<Fuzz::TChecker> Checkers = Fuzz::QuotingCheckers<TVXSelectParser>();
  return Fuzz::CheckAll(Checkers, Data, Size);
}
