// Reconciling a parsed statement with the schema the application knows.
//
// When a statement is loaded, the application is asked for each table's
// columns (and a stored procedure's parameters); output fields that name no
// column of their table are dropped. This is how an unqualified column of a
// statement with several tables ends up under the one table that has it: the
// reader puts a copy under every table, and only the right copy survives.
// The component and the command-line tool share this step.
#pragma once

#include <functional>
#include <string>

#include "platform/fields.h"
#include "platform/params.h"

namespace Vexar {

class TVXSelectParser;

// Asks for the columns (DataSet) and, for a stored procedure, the parameters
// (Params) of the table named NameOfTable. Leaving DataSet null means the
// columns are unknown. The objects stay the caller's.
using TVXGetTableFields =
    std::function<void(const std::string& NameOfTable, TDataSet*& DataSet, TParams*& Params)>;

// Walks the named tables of Parser's model in order. For each table the
// columns are asked for; the walk stops at the first table whose columns are
// unknown (that table and the ones after it stay as they are). For the
// others, every identifier field that names no column (nor input parameter)
// of its table is deleted. Unqualified columns of a statement over several
// tables (held by a definition without name) then move under the one table
// reconciled that has such a column. Output aliases are made unique again.
// Returns the number of definitions walked.
int LoadSchema(TVXSelectParser& Parser, const TVXGetTableFields& GetTableFields);

}  // namespace Vexar
