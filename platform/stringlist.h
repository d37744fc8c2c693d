// TStringList: an ordered list of texts, optionally sorted, with an optional
// non-owned object per entry. Lookups ignore ASCII case unless CaseSensitive.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/persistent.h"

namespace Vexar {

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TPersistent {
 public:
  TStringList() = default;

  // Appends S (a sorted list puts it in its place; a duplicate is then
  // ignored, accepted or an error by Duplicates). Returns its index, or the
  // index of the entry already there when a duplicate was ignored.
  virtual int Add(const std::string& S);
  int AddObject(const std::string& S, TPersistent* Object);
  virtual void Insert(int Index, const std::string& S);
  virtual void Delete(int Index);
  virtual void Clear();
  // From another string list: clears, then copies the entries and objects.
  void Assign(const TPersistent* Source) override;

  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& Strings(int Index) const;
  void SetStrings(int Index, const std::string& S);
  const std::string& operator[](int Index) const { return Strings(Index); }
  TPersistent* Objects(int Index) const;
  void SetObjects(int Index, TPersistent* Object);

  // Index of the first entry equal to S, or -1.
  int IndexOf(std::string_view S) const;
  // The hash IndexOf uses for S in a list of the given case sensitivity
  // (FNV-1a, folded to upper case when case does not count); tables kept
  // beside a list hash the same way.
  static size_t HashText(std::string_view S, bool CaseSensitive) {
    size_t H = 14695981039346656037ull;
    for (char C : S) {
      if (!CaseSensitive && C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
      H = (H ^ static_cast<unsigned char>(C)) * 1099511628211ull;
    }
    return H;
  }
  // Binary search of a sorted list: true when found; Index is the entry or
  // the place where S would go.
  bool Find(std::string_view S, int& Index) const;

  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  virtual void Sort();

  // Grows with every change of the entries or of how they compare, so that
  // a table derived from the list can tell when it is stale.
  unsigned long long ChangeCount() const { return FChangeCount; }

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }

  // Entries separated by commas; an entry holding a comma, a blank or a
  // double quote is written between double quotes with inner quotes doubled.
  std::string CommaText() const;
  // Replaces the entries by those of a comma-separated text (blanks around
  // entries are dropped; double-quoted entries keep their commas and blanks).
  void SetCommaText(std::string_view Text);
  // Entries each followed by a line break (CR LF).
  std::string Text() const;
  // Replaces the entries by the lines of Text (CR LF, LF or CR end a line).
  void SetText(std::string_view Text);

 protected:
  int CompareStrings(std::string_view A, std::string_view B) const;
  void CheckIndex(int Index) const;

 private:
  struct Entry {
    std::string Text;
    TPersistent* Object = nullptr;
  };
  // IndexOf looks the text up in a hash table of positions instead of
  // scanning or searching: grouping and ordering lists of reporting
  // statements hold thousands of entries and are checked for duplicates at
  // every addition, and the scanner looks every word it reads up in three
  // word lists. The table is made by the first lookup, kept current by
  // appends and dropped by every other change of the entries or of the case
  // rule.
  size_t HashOf(std::string_view S) const { return HashText(S, FCaseSensitive); }
  // Puts the entry at Position into the table unless an equal text is there.
  void IndexEntry(int Position) const;
  void BuildIndex() const;
  void DropIndex() {
    FIndex.clear();
    ++FChangeCount;
  }

  std::vector<Entry> FItems;
  mutable std::vector<int> FIndex;  // slots holding positions, -1 when free; empty: no table
  mutable int FIndexCount = 0;      // slots in use
  unsigned long long FChangeCount = 0;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

}  // namespace Vexar
