// The GROUP BY and ORDER BY lists. GROUP BY is derived from the SELECT list
// each time the text is written; ORDER BY carries a direction per entry.
#pragma once

#include <string>
#include <vector>

#include "parser/collections.h"

namespace Vexar {

enum TVXOrderKind { okAsc, okDesc };

// Entries added from outside (the parser adds the GROUP BY entries it reads)
// are remembered as explicit: the derivation keeps those it does not produce
// itself, after its own entries, so that a statement's grouping survives.
class TVXGroupByItems : public TVXStringList {
 public:
  using TVXStringList::TVXStringList;
  int Add(const std::string& S) override;
  // Adds S unless an entry equal to it is there; true when it was added.
  bool AddDistinct(const std::string& S);
  void Delete(int Index) override;
  void Clear() override;
  // Entries and explicit entries of another grouping list; the entries of
  // any other list become explicit, as if added one by one.
  void Assign(const TPersistent* Source) override;
  // Rebuilds the entries from the SELECT list (the plain columns of a list
  // that mixes aggregates with other outputs, then the explicit entries),
  // then writes the clause.
  std::string GetScript() override;
  // Rebuilds the entries as GetScript does, without writing them.
  void Rebuild();
  // Whether the clause would be written: always when entries were added from
  // outside (each one is written, by itself or as the entry derived for it),
  // otherwise when the derivation yields entries.
  bool HasEntries();
  const TStringList& ExplicitEntries() const { return FExplicit; }

 private:
  TStringList FExplicit;
  // The ChangeCount at which the entries were last known to be the explicit
  // entries, in order (after Clear, and while AddDistinct adds to both): a
  // text the entries lack is then no explicit entry either, and a statement's
  // clause is read without a second lookup per entry.
  unsigned long long FSameAsExplicit = 0;
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
