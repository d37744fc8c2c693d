// InterBase and Firebird, each in SQL dialects 1 and 3.
#include "dialects/ibparser.h"
#include "fuzz/fuzzcheck.h"

using namespace Vexar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static std::vector<Fuzz::TChecker> Checkers = [] {
    std::vector<Fuzz::TChecker> C;
    for (TVXIBSQLServer Server : {qssInterBase, qssFireBird}) {
      for (TVXSQLDialect Dialect : {qibDialect1, qibDialect3}) {
        C.emplace_back([Server, Dialect]() -> std::unique_ptr<TVXSelectParser> {
          auto P = TVXSelectParser::Create<TVXIBSelectParser>();
          P->SetSQLServer(Server);
          P->IBScanner()->SetSQLDialect(Dialect);
          return P;
        });
      }
    }
    return C;
  }();
  return Fuzz::CheckAll(Checkers, Data, Size);
}
