// Parameter lists: the parameters of a stored procedure.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/collection.h"
#include "platform/fields.h"

namespace Vexar {

enum TParamType { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };

// A calendar moment as days since 1899-12-30 (the fraction is the time of day).
struct TDateTime {
  double Value = 0;
  bool operator==(const TDateTime&) const = default;
};

// The empty value (never set) and the SQL null are different things.
struct TEmptyValue {
  bool operator==(const TEmptyValue&) const = default;
};
struct TNullValue {
  bool operator==(const TNullValue&) const = default;
};

using TParamValue =
    std::variant<TEmptyValue, TNullValue, int64_t, double, std::string, TDateTime, bool>;

class TParam : public TCollectionItem {
 public:
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  TParamType ParamType() const { return FParamType; }
  void SetParamType(TParamType Value) { FParamType = Value; }
  TFieldType DataType() const { return FDataType; }
  void SetDataType(TFieldType Value) { FDataType = Value; }

  const TParamValue& Value() const { return FValue; }
  void SetValue(const TParamValue& Value) { FValue = Value; }
  bool IsEmpty() const { return std::holds_alternative<TEmptyValue>(FValue); }
  bool IsNull() const { return std::holds_alternative<TNullValue>(FValue); }
  void Clear() { FValue = TNullValue{}; }

  // Copies name, parameter type, data type and value from another TParam.
  void Assign(const TPersistent* Source) override;

 protected:
  friend class TCollectionItem;
  TParam() = default;

 private:
  std::string FName;
  TParamType FParamType = ptUnknown;
  TFieldType FDataType = ftUnknown;
  TParamValue FValue;
};

class TParams : public TCollection {
 public:
  explicit TParams(TPersistent* Owner = nullptr) : TCollection(Owner, &ItemClassOf<TParam>) {}
  TParam* Add() override { return static_cast<TParam*>(TCollection::Add()); }
  TParam* Items(int Index) const { return static_cast<TParam*>(TCollection::Items(Index)); }
  // A new parameter with the given name, type and parameter type.
  TParam* CreateParam(TFieldType DataType, const std::string& Name, TParamType ParamType);
  // First parameter named Name (without regard to case), or null.
  TParam* FindParam(const std::string& Name) const;
};

}  // namespace Vexar
