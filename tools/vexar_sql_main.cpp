// vexar-sql: reads one SELECT statement and writes the statement generated
// from its model. This build knows the command's interface; reading
// statements arrives with the SELECT parser.
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: vexar-sql [OPTIONS] [FILE]\n"
    "Reads one SELECT statement from FILE (standard input when FILE is absent or \"-\")\n"
    "and writes the statement generated from its model to standard output.\n"
    "\n"
    "  --dialect NAME      generic (default), interbase, firebird, mysql\n"
    "  --sql-dialect N     1 or 3 (default 3): the InterBase/Firebird SQL dialect\n"
    "  --no-quote          do not quote identifiers (generic and mysql)\n"
    "  --keywords MODE     asis (default), upper, lower, firstupper\n"
    "  --functions MODE    asis (default), upper, lower, firstupper\n"
    "  --schema FILE       table columns, one table a line: NAME: col1, col2 [| in1, in2]\n"
    "  --json              write the model as JSON instead of SQL text\n"
    "  --batch             one statement per input line, one JSON result per line\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 success, 1 the statement could not be read, 2 usage or I/O error.\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("vexar-sql 2.02");
      return 0;
    }
  }
  std::fputs("vexar-sql: reading statements is not available in this build yet\n", stderr);
  std::fputs(kUsage, stderr);
  return 2;
}
