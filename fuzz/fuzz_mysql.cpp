// MySQL, names quoted and unquoted.
#include "dialects/myparser.h"
#include "fuzz/fuzzcheck.h"

using namespace Vexar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static std::vector<Fuzz::TChecker> Checkers = [] {
    std::vector<Fuzz::TChecker> C;
    for (bool Quote : {true, false}) {
      C.emplace_back([Quote]() -> std::unique_ptr<TVXSelectParser> {
        auto P = TVXSelectParser::Create<TVXMySelectParser>();
        P->Scanner()->SetQuoteIdentifiers(Quote);
        return P;
      });
    }
    return C;
  }();
  const std::string Text = Fuzz::AsText(Data, Size);
  for (Fuzz::TChecker& C : Checkers)
    C.Check(Text);
  return 0;
}
