#include "parser/schemaloader.h"

#include <utility>
#include <vector>

#include "parser/selectparser.h"

namespace Vexar {

int LoadSchema(TVXSelectParser& Parser, const TVXGetTableFields& GetTableFields) {
  TVXTableDefs* Tables = Parser.TableDefs();
  TParams InputParams;
  int Done = 0;
  // The columns of each table reconciled, for placing unqualified columns.
  std::vector<std::pair<TVXTableDef*, const TDataSet*>> Known;
  for (int t = 0; t < Tables->Count(); ++t, ++Done) {
    TVXTableDef* Table = Tables->Items(t);
    // A definition without name holds the unqualified outputs of a statement
    // over several tables; it has no columns of its own to ask for.
    if (Table->Name().empty()) continue;
    InputParams.Clear();
    TDataSet* DataSet = nullptr;
    TParams* Params = nullptr;
    if (GetTableFields) GetTableFields(Table->Name(), DataSet, Params);
    if (!DataSet) break;
    if (Params) {
      for (int i = 0; i < Params->Count(); ++i) {
        TParam* P = Params->Items(i);
        if (P->ParamType() == ptInput || P->ParamType() == ptInputOutput)
          InputParams.Add()->Assign(P);
      }
    }
    // A field survives when its table has a column or input parameter of
    // that name, or when it is not a plain column (a call, a literal, a star).
    TVXFieldDefs* Fields = Table->FieldDefs();
    for (int i = 0; i < Fields->Count();) {
      TVXFieldDef* F = Fields->Items(i);
      bool Known = F->Kind() != fkIdentifier || F->IsInputParam() ||
                   DataSet->Fields().FindField(F->Name()) != nullptr;
      if (!Known && Table->TableType() == qttStoredProc) {
        for (int p = 0; p < InputParams.Count() && !Known; ++p)
          Known = InputParams.Items(p)->Name() == F->Name();
      }
      if (Known)
        ++i;
      else
        Fields->Delete(i);
    }
    Known.emplace_back(Table, DataSet);
    Tables->UpdateFieldAliases();
  }
  // An unqualified column goes under the one table that has it; a column
  // that several tables have, or none of those asked, stays unqualified.
  for (int t = 0; t < Tables->Count(); ++t) {
    TVXTableDef* Free = Tables->Items(t);
    if (!Free->Name().empty()) continue;
    for (int i = 0; i < Free->FieldDefs()->Count();) {
      TVXFieldDef* F = Free->FieldDefs()->Items(i);
      TVXTableDef* Owner = nullptr;
      int Owners = 0;
      if (F->Kind() == fkIdentifier)
        for (const auto& [Table, Columns] : Known)
          if (Columns->Fields().FindField(F->Name())) {
            Owner = Table;
            ++Owners;
          }
      if (Owners == 1)
        Tables->MoveField(F, Owner);  // the next field takes index i
      else
        ++i;
    }
  }
  Tables->UpdateFieldAliases();
  return Done;
}

}  // namespace Vexar
