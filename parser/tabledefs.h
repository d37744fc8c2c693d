// Tables and joins: the FROM list with each table's output fields and the
// joins stored on the table at their left side. The table list writes the
// SELECT list and the FROM clause together.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "parser/collections.h"
#include "parser/funcdefs.h"

namespace Vexar {

enum TVXTableDefType { qttTable, qttStoredProc };
enum TVXJoinKind { vxjInnerJoin, vxjLOuterJoin, vxjROuterJoin, vxjFOuterJoin };

class TVXJoinDefs;
class TVXTableDefs;

class TVXTableDef : public TVXCollectionItem {
 public:
  ~TVXTableDef() override;

  const std::string& Alias() const { return FAlias; }
  // Renames the table's alias and every join target that used the old one.
  void SetAlias(const std::string& Value);
  const std::string& Name() const { return FName; }
  // Sets the name; an alias that followed the name follows it.
  void SetName(const std::string& Value);
  TVXTableDefType TableType() const { return FTableType; }
  void SetTableType(TVXTableDefType Value) { FTableType = Value; }
  TVXFieldDefs* FieldDefs() const { return FFieldDefs.get(); }
  void SetFieldDefs(const TVXFieldDefs* Value);
  TVXJoinDefs* JoinDefs() const { return FJoinDefs.get(); }
  void SetJoinDefs(const TVXJoinDefs* Value);
  // The list holding this table, or null.
  TVXTableDefs* TableDefs() const;
  // The alias, or the name when the alias is empty: what qualifies its fields.
  const std::string& Qualifier() const { return FAlias.empty() ? FName : FAlias; }

  void SetParser(TVXSelectParser* Value) override;
  // Copies parser, alias, field list and name (not joins, not the type).
  void Assign(const TPersistent* Source) override;
  // The table's entry in the FROM clause, with the joins that hang from it.
  virtual std::string GetScript() const;
  // Name, procedure parameters and alias as written after FROM or JOIN.
  std::string GetTableText() const;
  // The parameter list of a stored procedure, "(:A, :B)", or empty.
  std::string GetProcParams() const;

 protected:
  friend class TCollectionItem;
  TVXTableDef() = default;
  void Init() override;
  virtual std::unique_ptr<TVXFieldDefs> CreateFieldDefs();
  virtual std::unique_ptr<TVXJoinDefs> CreateJoinDefs();

 private:
  std::string FAlias;
  std::string FName;
  TVXTableDefType FTableType = qttTable;
  std::unique_ptr<TVXFieldDefs> FFieldDefs;
  std::unique_ptr<TVXJoinDefs> FJoinDefs;
};

class TVXTableDefs : public TVXCollection {
 public:
  explicit TVXTableDefs(TPersistent* Owner = nullptr,
                        TCollectionItemClass ItemClass = &ItemClassOf<TVXTableDef>)
      : TVXCollection(Owner, ItemClass) {}
  ~TVXTableDefs() override;

  TVXTableDef* Add() override { return static_cast<TVXTableDef*>(TVXCollection::Add()); }
  TVXTableDef* Insert(int Index) override {
    return static_cast<TVXTableDef*>(TVXCollection::Insert(Index));
  }
  TVXTableDef* Items(int Index) const {
    return static_cast<TVXTableDef*>(TCollection::Items(Index));
  }

  TVXTableDef* FindByAlias(const std::string& S) const;
  TVXTableDef* FindByName(const std::string& S) const;
  // Base, or Base with the first free number appended (always numbered
  // when Force is set); no field of any table may hold the result as alias.
  std::string GetUniqueAlias(const std::string& Base, bool Force) const;
  // Whether any join of any table targets T's alias.
  bool IsTableJoined(const TVXTableDef* T) const;
  // Fields of all tables, parameter entries included. Counted once and then
  // kept current by the field lists (FieldsChanged), so that adding a field
  // does not walk every table.
  int GetFieldCount() const;
  // Called by a table's field list whose number of fields changed by Delta.
  void FieldsChanged(int Delta) {
    if (FFieldCountValid) FFieldCount += Delta;
  }
  // The first field whose OutputIndex is Index, or null.
  TVXFieldDef* GetFieldDefs(int Index) const;
  // The fields in SELECT-list order: slot p holds GetFieldDefs(p).
  std::vector<TVXFieldDef*> GetOrderedFields() const;
  // Moves Field (a field of a table of this list) to the end of To's field
  // list, keeping its place in the SELECT list; returns the field in its new
  // place (a copy; Field is freed).
  TVXFieldDef* MoveField(TVXFieldDef* Field, TVXTableDef* To);
  // Removes joins whose target table no longer exists (Skip counts as gone).
  void UpdateJoins(const TVXTableDef* Skip = nullptr);
  // Gives a numbered alias to a field named after its column whose name
  // another field of its table uses as alias.
  void UpdateFieldAliases();
  // Renames join targets from OldAlias to NewAlias.
  void UpdateTableAlias(const std::string& OldAlias, const std::string& NewAlias);
  void EndUpdate() override;
  // Empties the list. The tables go together, so fields are not renumbered
  // one by one and joins between them are not cleaned up one by one.
  void Clear();
  // The SELECT list and the FROM clause.
  virtual std::string GetScript() const;
  // The FROM clause's table text: every table once, joined ones in JOIN clauses.
  std::string GetFromText() const;

  // True while Clear runs.
  bool Clearing() const { return FClearing; }
  // Called by a table of the list whose alias (or name) changed from Old.
  void TableAliasChanged(TVXTableDef* Table, const std::string& Old);
  void TableNameChanged(TVXTableDef* Table, const std::string& Old);
  // Called by a table of the list whose alias and name were replaced.
  void TableNamesChanged() { FNamesIndexed = false; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  // Maps from alias and from name to the first table (in list order) that
  // holds it, for FindByAlias and FindByName: every qualified column read
  // and every join written looks its table up. Made by the first lookup
  // after a change: tables added, removed or moved, an alias or a name set.
  void IndexNames() const;
  // FindByAlias (ByAlias) or FindByName.
  TVXTableDef* FindTable(const std::string& S, bool ByAlias) const;
  // Keeps Map current when Table's key changed from Old to New: the old
  // key passes to the next table holding it, the new one is entered when no
  // table holds it; when a later table held it, the maps are made again.
  void KeyChanged(std::unordered_map<std::string, TVXTableDef*>& Map, TVXTableDef* Table,
                  const std::string& Old, const std::string& New);

  bool FClearing = false;
  mutable bool FNamesIndexed = false;
  mutable int FIndexedCount = 0;  // tables in the maps
  mutable int FFieldCount = 0;    // GetFieldCount, while FFieldCountValid
  mutable bool FFieldCountValid = false;
  mutable std::unordered_map<std::string, TVXTableDef*> FByAlias, FByName;
};

class TVXJoinDef : public TVXCollectionItem {
 public:
  const std::string& Comparison() const { return FComparison; }
  void SetComparison(const std::string& Value) { FComparison = Value; }
  TVXJoinKind JoinKind() const { return FJoinKind; }
  void SetJoinKind(TVXJoinKind Value) { FJoinKind = Value; }
  const std::string& JoinField() const { return FJoinField; }
  void SetJoinField(const std::string& Value) { FJoinField = Value; }
  const std::string& JoinAlias() const { return FJoinAlias; }
  void SetJoinAlias(const std::string& Value) { FJoinAlias = Value; }
  const std::string& FieldName() const { return FFieldName; }
  void SetFieldName(const std::string& Value) { FFieldName = Value; }

  // The owning (left) table, or null.
  TVXTableDef* GetTableDef() const;
  // The joined (right) table of the owner's list: by alias, else by name.
  TVXTableDef* GetJoinedTable() const;
  void Assign(const TPersistent* Source) override;
  // "INNER JOIN ORDERS O ON (C.CUST_ID = O.CUST_ID)", or empty when the join
  // cannot be written.
  virtual std::string GetScript() const;
  // "C.CUST_ID = O.CUST_ID", or empty when the join cannot be written.
  std::string GetCondition() const;
  // The kind words: "INNER", "LEFT OUTER", ... (re-cased), swapped for a join
  // written from its right side.
  std::string GetKindText(bool Reversed) const;

 protected:
  friend class TCollectionItem;
  TVXJoinDef() = default;

 private:
  std::string FComparison = "=";
  TVXJoinKind FJoinKind = vxjInnerJoin;
  std::string FJoinField;
  std::string FJoinAlias;
  std::string FFieldName;
};

class TVXJoinDefs : public TVXCollection {
 public:
  TVXJoinDefs(TVXTableDef* Owner, TCollectionItemClass ItemClass = &ItemClassOf<TVXJoinDef>)
      : TVXCollection(Owner, ItemClass), FOwner(Owner) {}
  ~TVXJoinDefs() override { Clear(); }
  TVXJoinDef* Add() override { return static_cast<TVXJoinDef*>(TVXCollection::Add()); }
  TVXJoinDef* Insert(int Index) override {
    return static_cast<TVXJoinDef*>(TVXCollection::Insert(Index));
  }
  TVXJoinDef* Items(int Index) const {
    return static_cast<TVXJoinDef*>(TCollection::Items(Index));
  }
  TVXTableDef* OwnerTable() const { return FOwner; }
  TVXJoinDef* Find(const std::string& FieldName, const std::string& JoinAlias,
                   const std::string& JoinField) const;
  // Each join's text after a line break and two spaces.
  virtual std::string GetScript() const;

 private:
  TVXTableDef* FOwner;
};

}  // namespace Vexar
