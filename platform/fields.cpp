#include "platform/fields.h"

#include "platform/exception.h"
#include "platform/format.h"

namespace Vexar {

TField* TFields::Add(const std::string& FieldName, TFieldType DataType, int Size) {
  FItems.push_back(std::make_unique<TField>(FieldName, DataType, Size));
  return FItems.back().get();
}

TField* TFields::Fields(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Format("List index out of bounds (%d)", Index));
  return FItems[Index].get();
}

TField* TFields::FindField(const std::string& FieldName) const {
  for (const auto& F : FItems)
    if (F->FieldName() == FieldName) return F.get();
  return nullptr;
}

}  // namespace Vexar
