#include "parser/schemaloader.h"

#include "parser/selectparser.h"

namespace Vexar {

int LoadSchema(TVXSelectParser& Parser, const TVXGetTableFields& GetTableFields) {
  TVXTableDefs* Tables = Parser.TableDefs();
  TParams InputParams;
  int Done = 0;
  for (int t = 0; t < Tables->Count(); ++t, ++Done) {
    TVXTableDef* Table = Tables->Items(t);
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
    Tables->UpdateFieldAliases();
  }
  return Done;
}

}  // namespace Vexar
