// The vexar-sql command: reads a SELECT statement, parses it with the chosen
// dialect and writes the statement generated from its model (or the model as
// JSON, or one JSON result per input line in batch mode).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace Vexar {

// Exit statuses of the command.
enum TVexarSqlStatus { vsOk = 0, vsParseError = 1, vsUsageError = 2 };

// Runs the command with Args (without the program name), reading standard
// input from In and writing to Out and Err. Returns the exit status.
int RunVexarSql(const std::vector<std::string>& Args, std::istream& In, std::ostream& Out,
                std::ostream& Err);

// The usage text of --help.
const char* VexarSqlUsage();

}  // namespace Vexar
