// The GROUP BY and ORDER BY lists. GROUP BY is derived from the SELECT list
// each time the text is written; ORDER BY carries a direction per entry.
#pragma once

#include <string>
#include <vector>

#include "parser/collections.h"

namespace Vexar {

enum TVXOrderKind { okAsc, okDesc };

class TVXGroupByItems : public TVXStringList {
 public:
  using TVXStringList::TVXStringList;
  // Rebuilds the entries from the SELECT list (when the statement mixes
  // aggregates with other outputs), then writes the clause.
  std::string GetScript() override;
};

class TVXOrderByItems : public TVXStringList {
 public:
  using TVXStringList::TVXStringList;

  // Appends S with its direction; returns the index.
  int AddOrdered(const std::string& S, TVXOrderKind Kind);
  int Add(const std::string& S) override { return AddOrdered(S, okAsc); }
  void Delete(int Index) override;
  void Clear() override;
  void Insert(int Index, const std::string& S) override;
  // Entries, and the directions when Source is an ordering list too.
  void Assign(const TPersistent* Source) override;
  // The direction of an entry; okAsc outside the list.
  TVXOrderKind Orders(int Index) const;
  // Sets a direction; ignored outside the list.
  void SetOrders(int Index, TVXOrderKind Value);
  std::string GetScript() override;

 private:
  std::vector<TVXOrderKind> FOrders;
};

}  // namespace Vexar
