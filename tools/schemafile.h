// The schema file of vexar-sql: the columns of the tables and the parameters
// of stored procedures, one table a line:
//
//   NAME: col1, col2, ...
//   PROC: out1, out2 | in1, in2
//
// Blank lines and lines starting with "#" are ignored. Names are compared
// exactly, as table and column names are.
#pragma once

#include <istream>
#include <map>
#include <memory>
#include <string>

#include "parser/schemaloader.h"
#include "platform/fields.h"
#include "platform/params.h"

namespace Vexar {

class TVXSchemaFile {
 public:
  // Reads a schema; false with a one-line reason in Error on a malformed line.
  bool Load(std::istream& In, std::string& Error);
  // The lookup the schema-aware loading asks: a table's columns and
  // parameters, or no data set for a table the file does not list.
  TVXGetTableFields Lookup() const;
  int Count() const { return static_cast<int>(FTables.size()); }

 private:
  struct Entry {
    TDataSet Columns;
    TParams Params;
  };
  std::map<std::string, std::unique_ptr<Entry>> FTables;
};

}  // namespace Vexar
