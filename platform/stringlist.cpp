#include "platform/stringlist.h"

#include <algorithm>

#include "platform/exception.h"
#include "platform/format.h"
#include "platform/strutils.h"

namespace Vexar {

int TStringList::CompareStrings(std::string_view A, std::string_view B) const {
  if (FCaseSensitive) return A.compare(B) < 0 ? -1 : (A == B ? 0 : 1);
  return CompareText(A, B);
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Format("List index out of bounds (%d)", Index));
}

int TStringList::Add(const std::string& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const std::string& S, TPersistent* Object) {
  int Index = Count();
  // A sorted list is mostly filled in order: text that sorts after the last
  // entry goes at the end without a search.
  if (FSorted && !(Index > 0 && CompareStrings(FItems.back().Text, S) < 0)) {
    if (Find(S, Index)) {
      if (FDuplicates == dupIgnore) return Index;
      if (FDuplicates == dupError) throw EListError("String list does not allow duplicates");
    }
  }
  FItems.insert(FItems.begin() + Index, Entry{S, Object});
  if (Index == Count() - 1 && !FIndex.empty()) {
    IndexEntry(Index);
    ++FChangeCount;
  } else
    DropIndex();
  return Index;
}

void TStringList::Insert(int Index, const std::string& S) {
  if (Index < 0 || Index > Count())
    throw EListError(Format("List index out of bounds (%d)", Index));
  FItems.insert(FItems.begin() + Index, Entry{S, nullptr});
  DropIndex();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  FItems.erase(FItems.begin() + Index);
  DropIndex();
}

void TStringList::Clear() {
  FItems.clear();
  DropIndex();
}

void TStringList::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TStringList*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  TStringList::Clear();
  // Entries are copied as they stand; a sorted target re-sorts them.
  FItems = Src->FItems;
  DropIndex();
  if (FSorted) Sort();
}

const std::string& TStringList::Strings(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Text;
}

void TStringList::SetStrings(int Index, const std::string& S) {
  CheckIndex(Index);
  FItems[Index].Text = S;
  DropIndex();
}

TPersistent* TStringList::Objects(int Index) const {
  CheckIndex(Index);
  return FItems[Index].Object;
}

void TStringList::SetObjects(int Index, TPersistent* Object) {
  CheckIndex(Index);
  FItems[Index].Object = Object;
}

int TStringList::IndexOf(std::string_view S) const {
  if (FItems.empty()) return -1;
  if (FIndex.empty()) BuildIndex();
  const size_t Mask = FIndex.size() - 1;
  for (size_t Slot = HashOf(S) & Mask;; Slot = (Slot + 1) & Mask) {
    const int P = FIndex[Slot];
    if (P < 0) return -1;
    const std::string& T = FItems[P].Text;
    if (T.size() == S.size() && CompareStrings(T, S) == 0) return P;
  }
}

void TStringList::BuildIndex() const {
  // At most half the slots in use, so that probes stay short.
  size_t Size = 16;
  while (Size < FItems.size() * 4) Size *= 2;
  FIndex.assign(Size, -1);
  FIndexCount = 0;
  for (int i = 0; i < Count(); ++i) IndexEntry(i);
}

void TStringList::IndexEntry(int Position) const {
  if ((FIndexCount + 1) * 2 > static_cast<int>(FIndex.size())) {
    BuildIndex();  // takes every entry, Position included
    return;
  }
  const size_t Mask = FIndex.size() - 1;
  for (size_t Slot = HashOf(FItems[Position].Text) & Mask;; Slot = (Slot + 1) & Mask) {
    const int P = FIndex[Slot];
    if (P < 0) {
      FIndex[Slot] = Position;
      ++FIndexCount;
      return;
    }
    // The first of equal texts is the one IndexOf finds.
    if (CompareStrings(FItems[P].Text, FItems[Position].Text) == 0) return;
  }
}

bool TStringList::Find(std::string_view S, int& Index) const {
  int L = 0, H = Count() - 1;
  bool Found = false;
  while (L <= H) {
    int M = L + (H - L) / 2;
    int C = CompareStrings(FItems[M].Text, S);
    if (C < 0) {
      L = M + 1;
    } else {
      H = M - 1;
      if (C == 0) {
        Found = true;
        if (FDuplicates != dupAccept) L = M;
      }
    }
  }
  Index = L;
  return Found;
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FItems[Index1], FItems[Index2]);
  DropIndex();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Entry E = FItems[CurIndex];
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, E);
  DropIndex();
}

void TStringList::Sort() {
  // Lists are mostly sorted already (filled in order, or sorted by Add):
  // then a pass of comparisons finds nothing to move.
  const auto Less = [this](const Entry& A, const Entry& B) {
    return CompareStrings(A.Text, B.Text) < 0;
  };
  if (!std::is_sorted(FItems.begin(), FItems.end(), Less))
    std::stable_sort(FItems.begin(), FItems.end(), Less);
  DropIndex();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  DropIndex();
  if (FSorted) Sort();
}

std::string TStringList::CommaText() const {
  std::string R;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i) R += ',';
    const std::string& S = FItems[i].Text;
    bool Quote = S.empty() && FItems.size() > 1;
    for (char C : S)
      if (C == ',' || C == '"' || static_cast<unsigned char>(C) <= ' ') Quote = true;
    if (!Quote) {
      R += S;
      continue;
    }
    R += '"';
    for (char C : S) {
      if (C == '"') R += '"';
      R += C;
    }
    R += '"';
  }
  return R;
}

void TStringList::SetCommaText(std::string_view Text) {
  Clear();
  size_t P = 0, N = Text.size();
  // No entries in a text of nothing but what Trim drops.
  if (std::all_of(Text.begin(), Text.end(),
                  [](char C) { return static_cast<unsigned char>(C) <= ' '; }))
    return;
  // Room for an entry per comma (a quoted comma only leaves some unused).
  FItems.reserve(static_cast<size_t>(std::count(Text.begin(), Text.end(), ',')) + 1);
  while (true) {
    while (P < N && (Text[P] == ' ' || Text[P] == '\t')) ++P;
    std::string Item;
    if (P < N && Text[P] == '"') {
      ++P;
      while (P < N) {
        if (Text[P] == '"') {
          if (P + 1 < N && Text[P + 1] == '"') {
            Item += '"';
            P += 2;
            continue;
          }
          ++P;
          break;
        }
        Item += Text[P++];
      }
      while (P < N && Text[P] != ',') ++P;
    } else {
      size_t B = P;
      while (P < N && Text[P] != ',') ++P;
      Item = Trim(Text.substr(B, P - B));
    }
    Add(Item);
    if (P >= N) break;
    ++P;  // the comma
  }
}

std::string TStringList::Text() const {
  std::string R;
  for (const Entry& E : FItems) {
    R += E.Text;
    R += "\r\n";
  }
  return R;
}

void TStringList::SetText(std::string_view Text) {
  Clear();
  size_t P = 0, N = Text.size();
  while (P < N) {
    size_t B = P;
    while (P < N && Text[P] != '\r' && Text[P] != '\n') ++P;
    Add(std::string(Text.substr(B, P - B)));
    if (P < N && Text[P] == '\r') ++P;
    if (P < N && Text[P] == '\n') ++P;
  }
}

}  // namespace Vexar
