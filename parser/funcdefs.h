// Expressions and output fields: TVXFunctionDef is one node of an expression
// tree (identifier, literal, function call with arguments, or opaque
// expression text); TVXFieldDef is an item of the SELECT list, kept in the
// field list of the table it belongs to.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "parser/collections.h"
#include "platform/params.h"

namespace Vexar {

enum TVXFunctionKind {
  fkUnknown, fkFunction, fkIdentifier, fkInteger, fkFloat, fkString, fkExpression
};

class TVXFunctionDefs;
class TVXTableDef;

class TVXFunctionDef : public TVXCollectionItem {
  friend class TVXSelectParser;  // fills its scratch field with TakeNameAndKind
  friend class TVXCriterion;     // holds its left side as a member

 public:
  ~TVXFunctionDef() override;

  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& Value);
  TVXFunctionKind Kind() const { return FKind; }
  virtual void SetKind(TVXFunctionKind Value);
  // The argument list, made on first use: most nodes (columns, literals)
  // never have one.
  TVXFunctionDefs* Arguments() const;
  // Whether the node has arguments (without making the list).
  bool HasArguments() const;
  // Copies the items of Value into the own argument list.
  void SetArguments(const TVXFunctionDefs* Value);

  void SetParser(TVXSelectParser* Value) override;
  // Name and kind emptied, arguments removed.
  virtual void Clear();
  void Assign(const TPersistent* Source) override;
  // The node's SQL text: a call with its arguments, a qualified identifier, a
  // quoted string literal, or the name as it stands.
  virtual std::string GetScript() const;

  // How many expression nodes stand above this one (0 for a root).
  int NestingDepth() const;
  // The table whose field list holds this node or the root of its tree, or null.
  TVXTableDef* OwningTable() const;

 protected:
  friend class TCollectionItem;
  TVXFunctionDef() = default;
  void Init() override;
  virtual std::unique_ptr<TVXFunctionDefs> CreateArguments();
  // Makes the own arguments copies of those of Src.
  void CopyArguments(const TVXFunctionDef* Src);
  // Moves the argument nodes of Src, in their order, into the own list.
  void MoveArguments(TVXFunctionDef* Src);
  // Name and kind set as they are, without the rules of SetName and SetKind.
  void TakeNameAndKind(std::string&& Name, TVXFunctionKind Kind) {
    FName = std::move(Name);
    FKind = Kind;
  }
  // Name and kind moved over from Src, which is left unnamed and of
  // unknown kind.
  void TakeNameAndKind(TVXFunctionDef& Src) {
    FName = std::move(Src.FName);
    Src.FName.clear();
    FKind = Src.FKind;
    Src.FKind = fkUnknown;
  }

 private:
  std::string FName;
  TVXFunctionKind FKind = fkUnknown;
  mutable std::unique_ptr<TVXFunctionDefs> FArguments;
};

class TVXFunctionDefs : public TVXCollection {
 public:
  TVXFunctionDefs(TPersistent* Owner, TCollectionItemClass ItemClass);
  // The same for an owner whose kind is known: an argument list, a field list.
  TVXFunctionDefs(TVXFunctionDef* Owner, TCollectionItemClass ItemClass);
  TVXFunctionDefs(TVXTableDef* Owner, TCollectionItemClass ItemClass);
  ~TVXFunctionDefs() override;
  // New nodes are refused (EVXNestingError) below the deepest allowed level.
  TVXFunctionDef* Add() override;
  TVXFunctionDef* Insert(int Index) override;
  TVXFunctionDef* Items(int Index) const {
    return static_cast<TVXFunctionDef*>(TCollection::Items(Index));
  }
  // The scripts of all items joined by ", ".
  virtual std::string GetScript() const;
  // The owner when it is an expression node, or null. A list keeps its owner
  // for life, so this is decided once, when the list is made.
  TVXFunctionDef* OwnerNode() const { return FOwnerNode; }
  // The owner when it is a table definition (a field list), or null.
  TVXTableDef* OwnerTable() const { return FOwnerTable; }

 private:
  void CheckDepth() const;

  TVXFunctionDef* FOwnerNode;
  TVXTableDef* FOwnerTable;
};

class TVXFieldDef : public TVXFunctionDef {
 public:
  ~TVXFieldDef() override;

  const std::string& Alias() const { return FAlias; }
  void SetAlias(const std::string& Value) { FAlias = Value; }
  int OutputIndex() const { return FOutputIndex; }
  void SetOutputIndex(int Value) { FOutputIndex = Value; }
  TParamType ParamType() const { return FParamType; }
  void SetParamType(TParamType Value) { FParamType = Value; }

  void SetName(const std::string& Value) override;
  void SetKind(TVXFunctionKind Value) override;
  void Clear() override;
  void Assign(const TPersistent* Source) override;
  std::string GetScript() const override;

  // Takes over what Source holds (name, kind, alias, parameter type and the
  // argument nodes themselves) and leaves Source empty: the parser reads
  // each output into one scratch field and then moves it under its table.
  void TakeFrom(TVXFieldDef* Source);
  // A unique output alias for Base (numbered when Force is set or Base is taken).
  virtual std::string GenerateAlias(const std::string& Base, bool Force) const;
  // The alias of the owning table, or empty.
  std::string GetTableAlias() const;
  // An output alias, quoted when the dialect processes aliases.
  std::string ProcessAlias(std::string_view S) const;
  // Whether the field is a stored-procedure input parameter, never an output.
  bool IsInputParam() const { return FParamType == ptInput || FParamType == ptInputOutput; }

 protected:
  friend class TCollectionItem;
  TVXFieldDef() = default;
  void Init() override;

 private:
  std::string FAlias;
  int FOutputIndex = 0;
  TParamType FParamType = ptResult;
};

class TVXFieldDefs : public TVXFunctionDefs {
 public:
  TVXFieldDefs(TPersistent* Owner, TCollectionItemClass ItemClass)
      : TVXFunctionDefs(Owner, ItemClass) {}
  TVXFieldDefs(TVXTableDef* Owner, TCollectionItemClass ItemClass)
      : TVXFunctionDefs(Owner, ItemClass) {}
  // Fields are freed while the list is still a field list, so that each one
  // renumbers the SELECT list of the table list it belongs to.
  ~TVXFieldDefs() override { Clear(); }
  TVXFieldDef* Add() override { return static_cast<TVXFieldDef*>(TVXFunctionDefs::Add()); }
  TVXFieldDef* Insert(int Index) override {
    return static_cast<TVXFieldDef*>(TVXFunctionDefs::Insert(Index));
  }
  TVXFieldDef* Items(int Index) const {
    return static_cast<TVXFieldDef*>(TCollection::Items(Index));
  }
  TVXFieldDef* FindByAlias(const std::string& S) const;
  TVXFieldDef* FindByName(const std::string& S) const;
  // Every output field (input parameters left out), two spaces before each,
  // separated by "," and a line break.
  std::string GetScript() const override;
  // The owning table, when the list belongs to one.
  TVXTableDef* TableDef() const;

 protected:
  // Tells the table list how many fields came or went.
  void Update(TCollectionItem* Item) override;

 private:
  int FReportedCount = 0;  // the number of fields the table list was told of
};

}  // namespace Vexar
