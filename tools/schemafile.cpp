#include "tools/schemafile.h"

#include "platform/stringlist.h"
#include "platform/strutils.h"

namespace Vexar {

namespace {

// The comma-separated names of a list, blanks around them dropped.
std::vector<std::string> Names(const std::string& Text) {
  std::vector<std::string> R;
  size_t P = 0;
  while (P <= Text.size()) {
    size_t Comma = Text.find(',', P);
    if (Comma == std::string::npos) Comma = Text.size();
    std::string Name = Trim(std::string_view(Text).substr(P, Comma - P));
    if (!Name.empty()) R.push_back(Name);
    P = Comma + 1;
  }
  return R;
}

}  // namespace

bool TVXSchemaFile::Load(std::istream& In, std::string& Error) {
  std::string Line;
  for (int LineNo = 1; std::getline(In, Line); ++LineNo) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    std::string Text = Trim(Line);
    if (Text.empty() || Text[0] == '#') continue;
    size_t Colon = Text.find(':');
    std::string Name = Colon == std::string::npos ? "" : Trim(Text.substr(0, Colon));
    if (Name.empty()) {
      Error = "schema line " + std::to_string(LineNo) + ": expected 'NAME: col1, col2, ...'";
      return false;
    }
    std::string Rest = Text.substr(Colon + 1);
    size_t Bar = Rest.find('|');
    auto E = std::make_unique<Entry>();
    for (const std::string& C : Names(Rest.substr(0, Bar)))
      E->Columns.Fields().Add(C, ftUnknown);
    if (Bar != std::string::npos)
      for (const std::string& P : Names(Rest.substr(Bar + 1)))
        E->Params.CreateParam(ftUnknown, P, ptInput);
    FTables[Name] = std::move(E);
  }
  if (In.bad()) {
    Error = "cannot read the schema file";
    return false;
  }
  return true;
}

TVXGetTableFields TVXSchemaFile::Lookup() const {
  return [this](const std::string& NameOfTable, TDataSet*& DataSet, TParams*& Params) {
    auto It = FTables.find(NameOfTable);
    if (It == FTables.end()) return;
    DataSet = &It->second->Columns;
    Params = &It->second->Params;
  };
}

}  // namespace Vexar
