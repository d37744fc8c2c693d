// The field list of a data set: the columns an application reports for a table.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/persistent.h"

namespace Vexar {

enum TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency,
  ftBCD, ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo,
  ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar,
  ftWideString, ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob,
  ftVariant, ftInterface, ftIDispatch, ftGuid, ftTimeStamp, ftFMTBcd
};

// One column: its name and data type.
class TField {
 public:
  TField(std::string FieldName, TFieldType DataType, int Size = 0)
      : FFieldName(std::move(FieldName)), FDataType(DataType), FSize(Size) {}
  const std::string& FieldName() const { return FFieldName; }
  TFieldType DataType() const { return FDataType; }
  int Size() const { return FSize; }

 private:
  std::string FFieldName;
  TFieldType FDataType;
  int FSize;
};

// The ordered columns of a data set; owns its fields.
class TFields {
 public:
  TField* Add(const std::string& FieldName, TFieldType DataType, int Size = 0);
  int Count() const { return static_cast<int>(FItems.size()); }
  TField* Fields(int Index) const;
  // First field named exactly FieldName (column names are case-sensitive), or null.
  TField* FindField(const std::string& FieldName) const;
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TField>> FItems;
};

// A data set as far as the designer needs it: a named list of columns.
class TDataSet : public TPersistent {
 public:
  TFields& Fields() { return FFields; }
  const TFields& Fields() const { return FFields; }

 private:
  TFields FFields;
};

}  // namespace Vexar
