// Conditions and operators: WHERE and HAVING are trees of conditions. A leaf
// compares a left expression with right-hand operands through an operator of
// the operator table; a composite condition holds a group of sub-conditions
// joined by AND or OR, optionally negated as a whole.
#pragma once

#include <memory>
#include <string>

#include "parser/collections.h"
#include "parser/funcdefs.h"

namespace Vexar {

enum TVXCriterionFilter { cfAll, cfAny, cfNone, cfNotAll };

// The caption of a filter from the message catalogue ("All", "Any", "None",
// "Not all"), or empty.
std::string GetFilterAsString(TVXCriterionFilter Filter);

class TVXCriterions;

class TVXCriterion : public TVXCollectionItem {
 public:
  ~TVXCriterion() override;

  // The sub-condition and operand lists are made when first asked for: most
  // conditions are leaves, and IS NULL has no operands.
  TVXCriterions* SubItems() const;
  void SetSubItems(const TVXCriterions* Value);
  const std::string& Operator() const { return FOperator; }
  void SetOperator(const std::string& Value) { FOperator = Value; }
  TVXFunctionDefs* RightSide() const;
  // How many right-hand operands the condition has (without making the list).
  int RightSideCount() const;
  void SetRightSide(const TVXFunctionDefs* Value);
  TVXFunctionDef* LeftSide() const { return &FLeftSide; }
  void SetLeftSide(const TVXFunctionDef* Value);
  // Whether the condition holds sub-conditions.
  bool IsComposite() const;

  // Hands the parser on and replaces an operator the table does not know by
  // the table's first operator.
  void SetParser(TVXSelectParser* Value) override;
  void Assign(const TPersistent* Source) override;
  // "PRICE BETWEEN 10 AND 20", or the sub-group's text for a composite.
  virtual std::string GetScript() const;

  // How many condition groups stand above this condition's own group.
  int NestingDepth() const;

 protected:
  friend class TCollectionItem;
  TVXCriterion() = default;
  void Init() override;

 private:
  mutable std::unique_ptr<TVXCriterions> FSubItems;
  std::string FOperator;
  mutable std::unique_ptr<TVXFunctionDefs> FRightSide;
  // Every condition has a left side: it is part of the condition, not an
  // object of its own on the heap.
  mutable TVXFunctionDef FLeftSide;
};

class TVXWhereItem : public TVXCriterion {
 protected:
  friend class TCollectionItem;
  TVXWhereItem() = default;
};

class TVXHavingItem : public TVXCriterion {
 protected:
  friend class TCollectionItem;
  TVXHavingItem() = default;
};

class TVXCriterions : public TVXCollection {
 public:
  TVXCriterions(TPersistent* Owner, TCollectionItemClass ItemClass = &ItemClassOf<TVXCriterion>);
  // The same for a condition's own group of sub-conditions.
  TVXCriterions(TVXCriterion* Owner, TCollectionItemClass ItemClass = &ItemClassOf<TVXCriterion>)
      : TVXCollection(Owner, ItemClass), FOwnerCriterion(Owner) {}
  ~TVXCriterions() override { Clear(); }

  // New conditions are refused (EVXNestingError) below the deepest allowed level.
  TVXCriterion* Add() override;
  TVXCriterion* Insert(int Index) override;
  TVXCriterion* Items(int Index) const {
    return static_cast<TVXCriterion*>(TCollection::Items(Index));
  }
  TVXCriterionFilter Filter() const { return FFilter; }
  void SetFilter(TVXCriterionFilter Value) { FFilter = Value; }
  // The condition owning this group, or null for a clause list. A group
  // keeps its owner for life, so this is decided once, when it is made:
  // every new condition asks for it to check the nesting depth.
  TVXCriterion* OwnerCriterion() const { return FOwnerCriterion; }
  // Copies the conditions and the filter.
  void Assign(const TPersistent* Source) override;

  // Each condition in parentheses, joined by the filter's AND or OR, negated
  // for cfNone and cfNotAll; a clause list ends with a line break.
  virtual std::string GetScript() const;

 private:
  void CheckDepth() const;
  TVXCriterion* FOwnerCriterion;
  TVXCriterionFilter FFilter = cfAll;
};

class TVXWhereItems : public TVXCriterions {
 public:
  TVXWhereItems(TPersistent* Owner, TCollectionItemClass ItemClass = &ItemClassOf<TVXCriterion>)
      : TVXCriterions(Owner, ItemClass) {}
  // "WHERE", a line break, two spaces and the group text; empty without conditions.
  std::string GetScript() const override;
};

class TVXHavingItems : public TVXCriterions {
 public:
  TVXHavingItems(TPersistent* Owner, TCollectionItemClass ItemClass = &ItemClassOf<TVXCriterion>)
      : TVXCriterions(Owner, ItemClass) {}
  // As WHERE with "HAVING", and only while the statement has a GROUP BY list.
  std::string GetScript() const override;
};

// One entry of the operator table.
class TVXOperator : public TCollectionItem {
 public:
  int Count() const { return FCount; }
  void SetCount(int Value) { FCount = Value; }
  const std::string& Prefix() const { return FPrefix; }
  void SetPrefix(const std::string& Value) { FPrefix = Value; }
  const std::string& Relate() const { return FRelate; }
  void SetRelate(const std::string& Value) { FRelate = Value; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  const std::string& Postfix() const { return FPostfix; }
  void SetPostfix(const std::string& Value) { FPostfix = Value; }
  void Assign(const TPersistent* Source) override;

 protected:
  friend class TCollectionItem;
  TVXOperator() = default;

 private:
  int FCount = 1;
  std::string FPrefix, FRelate, FCaption, FName, FPostfix;
};

class TVXOperators : public TCollection {
 public:
  explicit TVXOperators(TPersistent* Owner = nullptr)
      : TCollection(Owner, &ItemClassOf<TVXOperator>) {}
  TVXOperator* Add() override { return static_cast<TVXOperator*>(TCollection::Add()); }
  TVXOperator* Insert(int Index) override {
    return static_cast<TVXOperator*>(TCollection::Insert(Index));
  }
  TVXOperator* Items(int Index) const {
    return static_cast<TVXOperator*>(TCollection::Items(Index));
  }
  // Appends an operator whose name and caption are Caption.
  TVXOperator* AddOperator(const std::string& Caption, int Count, const std::string& Prefix = "",
                           const std::string& Relate = "", const std::string& Postfix = "");
  // Clears the table and fills it with the default operators.
  void LoadDefaults();

  TVXOperator* FindByCaption(const std::string& S) const;
  TVXOperator* FindByName(const std::string& S) const;
  // The first operator whose caption begins with S (ignoring case); Partial
  // tells whether S is only the beginning. Null (Partial untouched) when none
  // matches or S is empty.
  TVXOperator* FindNearest(const std::string& S, bool& Partial) const;
};

}  // namespace Vexar
