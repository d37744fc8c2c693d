// vexar-sql: see tools/vexarsql.h for the command's contract.
#include <iostream>
#include <string>
#include <vector>

#include "tools/vexarsql.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> Args(argv + 1, argv + argc);
  int Status = Vexar::RunVexarSql(Args, std::cin, std::cout, std::cerr);
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "vexar-sql: cannot write the output\n";
    return Vexar::vsUsageError;
  }
  return Status;
}
