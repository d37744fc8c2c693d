#include "platform/params.h"

#include "platform/strutils.h"

namespace Vexar {

void TParam::Assign(const TPersistent* Source) {
  const auto* P = dynamic_cast<const TParam*>(Source);
  if (!P) {
    TCollectionItem::Assign(Source);
    return;
  }
  FName = P->FName;
  FParamType = P->FParamType;
  FDataType = P->FDataType;
  FValue = P->FValue;
}

TParam* TParams::CreateParam(TFieldType DataType, const std::string& Name,
                             TParamType ParamType) {
  TParam* P = Add();
  P->SetName(Name);
  P->SetDataType(DataType);
  P->SetParamType(ParamType);
  return P;
}

TParam* TParams::FindParam(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), Name)) return Items(i);
  return nullptr;
}

}  // namespace Vexar
