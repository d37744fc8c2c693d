#include "parser/grouping.h"

#include <array>
#include <memory_resource>
#include <string_view>

#include "parser/scanner.h"
#include "parser/scriptwriter.h"
#include "parser/selectparser.h"

namespace Vexar {

namespace {

// "GROUP BY" or "ORDER BY", a line break and two spaces.
void WriteHeading(std::string& Out, const TVXSelectParser* Parser, const char* Word) {
  ScriptWriter::AppendKeyword(Out, Parser, Word);
  Out += ' ';
  ScriptWriter::AppendKeyword(Out, Parser, "BY");
  Out += "\r\n  ";
}

// The name S as the list's parser writes it (TVXStringList::ProcessName).
void WriteName(std::string& Out, const TVXSelectParser* Parser, std::string_view S) {
  if (Parser)
    ScriptWriter::AppendScannerName(Out, *Parser->Scanner(), S);
  else
    Out.append(S);
}

// The texts that name derived grouping entries, looked up without regard to
// ASCII case: an open-addressing table of views of texts that stay in place
// while it is used. A text is one view, or two joined by a point. The keys
// are hashed and the table made by the first lookup; AnyOf compares a few
// keys without either.
class TNameSet {
 public:
  explicit TNameSet(std::pmr::memory_resource* Memory) : FKeys(Memory), FSlots(Memory) {}

  void Reserve(size_t N) { FKeys.reserve(N); }
  size_t Size() const { return FKeys.size(); }

  void Add(std::string_view A) { FKeys.push_back({0, A, {}, false}); }
  void Add(std::string_view A, std::string_view B) { FKeys.push_back({0, A, B, true}); }

  // Whether one of the keys First to Last - 1 names S.
  bool AnyOf(size_t First, size_t Last, std::string_view S) const {
    for (size_t P = First; P < Last; ++P)
      if (Matches(FKeys[P], S)) return true;
    return false;
  }

  bool Contains(std::string_view S) {
    if (FKeys.empty()) return false;
    if (FSlots.empty()) BuildTable();
    const size_t H = Hash(S, {}, false);
    const size_t Mask = FSlots.size() - 1;
    for (size_t Slot = H & Mask;; Slot = (Slot + 1) & Mask) {
      const int P = FSlots[Slot];
      if (P < 0) return false;
      const Key& K = FKeys[P];
      if (K.Hash == H && Matches(K, S)) return true;
    }
  }

 private:
  struct Key {
    size_t Hash;
    std::string_view A, B;
    bool Dotted;
  };
  static constexpr std::array<unsigned char, 256> FoldTable = [] {
    std::array<unsigned char, 256> T{};
    for (int C = 0; C < 256; ++C) T[C] = static_cast<unsigned char>(C >= 'a' && C <= 'z' ? C - 32 : C);
    return T;
  }();
  static unsigned char Fold(char C) { return FoldTable[static_cast<unsigned char>(C)]; }
  static size_t Step(size_t H, char C) { return H * 33 + Fold(C); }
  static size_t Hash(std::string_view A, std::string_view B, bool Dotted) {
    size_t H = 5381;
    for (char C : A) H = Step(H, C);
    if (Dotted) {
      H = Step(H, '.');
      for (char C : B) H = Step(H, C);
    }
    // Spread the bits into the low ones that pick the slot.
    H ^= H >> 29;
    H *= 0xbf58476d1ce4e5b9ull;
    return H ^ (H >> 32);
  }
  static bool SameText(std::string_view T, std::string_view S) {
    for (size_t i = 0; i < T.size(); ++i)
      if (Fold(T[i]) != Fold(S[i])) return false;
    return true;
  }
  static bool Matches(const Key& K, std::string_view S) {
    if (!K.Dotted) return K.A.size() == S.size() && SameText(K.A, S);
    return K.A.size() + 1 + K.B.size() == S.size() && SameText(K.A, S) &&
           S[K.A.size()] == '.' && SameText(K.B, S.substr(K.A.size() + 1));
  }
  static bool Matches(const Key& K, const Key& L) {
    if (!L.Dotted) return Matches(K, L.A);
    if (K.Dotted && K.A.size() == L.A.size())
      return SameText(K.A, L.A) && K.B.size() == L.B.size() && SameText(K.B, L.B);
    // One text splits at another point: compare them spelt out.
    std::string T(L.A);
    T.append(1, '.').append(L.B);
    return Matches(K, T);
  }
  // Each distinct text takes one slot: columns of many tables share their
  // names, and equal keys in one run of slots would make every probe long.
  void BuildTable() {
    size_t Size = 16;
    while (Size < FKeys.size() * 2) Size *= 2;
    FSlots.assign(Size, -1);
    for (Key& K : FKeys) K.Hash = Hash(K.A, K.B, K.Dotted);
    for (size_t P = 0; P < FKeys.size(); ++P) {
      const Key& K = FKeys[P];
      size_t Slot = K.Hash & (Size - 1);
      bool Known = false;
      for (; FSlots[Slot] >= 0 && !Known; Slot = (Slot + 1) & (Size - 1)) {
        const Key& Other = FKeys[FSlots[Slot]];
        Known = Other.Hash == K.Hash && Matches(Other, K);
      }
      if (!Known) FSlots[Slot] = static_cast<int>(P);
    }
  }

  std::pmr::vector<Key> FKeys;
  std::pmr::vector<int> FSlots;
};

}  // namespace

// ---------------------------------------------------------------------------
// TVXGroupByItems

int TVXGroupByItems::Add(const std::string& S) {
  if (FExplicit.IndexOf(S) < 0) FExplicit.Add(S);
  return TStringList::Add(S);
}

bool TVXGroupByItems::AddDistinct(const std::string& S) {
  if (IndexOf(S) >= 0) return false;
  // The explicit entries compare ignoring case: entries that compare by case
  // may lack a text they hold.
  if (ChangeCount() != FSameAsExplicit || CaseSensitive()) {
    Add(S);
    return true;
  }
  FExplicit.Add(S);
  TStringList::Add(S);
  FSameAsExplicit = ChangeCount();
  return true;
}

void TVXGroupByItems::Delete(int Index) {
  int E = FExplicit.IndexOf(Strings(Index));
  if (E >= 0) FExplicit.Delete(E);
  TStringList::Delete(Index);
}

void TVXGroupByItems::Clear() {
  FExplicit.Clear();
  TStringList::Clear();
  FSameAsExplicit = ChangeCount();
}

void TVXGroupByItems::Assign(const TPersistent* Source) {
  if (Source == this) return;
  TStringList::Assign(Source);
  FExplicit.Clear();
  if (const auto* Src = dynamic_cast<const TVXGroupByItems*>(Source)) {
    FExplicit.Assign(&Src->FExplicit);
    return;
  }
  for (int i = 0; i < Count(); ++i)
    if (FExplicit.IndexOf(Strings(i)) < 0) FExplicit.Add(Strings(i));
}

bool TVXGroupByItems::HasEntries() {
  if (FExplicit.Count() > 0) return true;
  Rebuild();
  return Count() > 0;
}

void TVXGroupByItems::Rebuild() {
  TVXSelectParser* P = Parser();
  if (!P) return;
  // Classify the SELECT list: aggregates are calls of an aggregate function.
  std::vector<TVXFieldDef*> Fields = P->TableDefs()->GetOrderedFields();
  bool HasAggregate = false, HasOther = false;
  // A stored procedure's input parameters are no outputs: they neither
  // make the list mixed nor are they grouped.
  std::erase_if(Fields, [](const TVXFieldDef* F) { return !F || F->IsInputParam(); });
  for (TVXFieldDef* F : Fields) {
    if (F->Kind() == fkFunction && P->Aggregates()->IndexOf(F->Name()) >= 0)
      HasAggregate = true;
    else
      HasOther = true;
  }
  TStringList::Clear();
  const TVXSQLScanner& Scanner = *P->Scanner();
  // The lists below take their memory from a buffer on the stack that holds
  // those of a usual statement.
  std::array<std::byte, 2048> Buffer;
  std::pmr::monotonic_buffer_resource Memory(Buffer.data(), Buffer.size());
  // The derived entries' qualifiers and column names, in the order of the entries.
  std::pmr::vector<std::pair<std::string_view, std::string_view>> Columns(&Memory);
  std::string Entry, Qualified;
  if (HasAggregate && HasOther) {
    Columns.reserve(Fields.size());
    for (TVXFieldDef* F : Fields) {
      // Every plain column is grouped, also one named like an aggregate
      // (a column SUM is no call): leaving it out made the clause change
      // once the name came back quoted.
      if (F->Kind() != fkIdentifier) continue;
      // Qualified as the field itself is written: by its table's alias, or
      // name, and not at all under an unnamed table.
      const TVXTableDef* T = F->OwningTable();
      const std::string_view Q = T ? std::string_view(T->Qualifier()) : std::string_view();
      Entry.clear();
      if (Q.empty()) {
        ScriptWriter::AppendScannerName(Entry, Scanner, F->Name());
      } else {
        Qualified.assign(Q).append(1, '.').append(F->Name());
        ScriptWriter::AppendScannerName(Entry, Scanner, Qualified);
      }
      TStringList::Add(Entry);
      Columns.emplace_back(Q, F->Name());
    }
  }
  if (FExplicit.Count() == 0) return;
  // An explicit entry that names a derived one is not repeated. Entries read
  // from a statement are told apart without regard to case, as the reader
  // tells them apart: «GROUP BY o.ID» names the output o.id. A derived entry
  // is named by its text, by its column's name, and by that name qualified.
  TNameSet Derived(&Memory);
  Derived.Reserve(Columns.size() * 3);
  // The keys of derived entry k are FirstKey[k] to FirstKey[k + 1] - 1.
  std::pmr::vector<size_t> FirstKey(&Memory);
  FirstKey.reserve(Columns.size() + 1);
  for (size_t k = 0; k < Columns.size(); ++k) {
    FirstKey.push_back(Derived.Size());
    const auto [Q, Name] = Columns[k];
    const std::string_view Text = Strings(static_cast<int>(k));
    Derived.Add(Name);
    if (!Q.empty()) {
      Derived.Add(Q, Name);
      if (Text.size() != Q.size() + 1 + Name.size() || Text.substr(0, Q.size()) != Q ||
          Text[Q.size()] != '.' || Text.substr(Q.size() + 1) != Name)
        Derived.Add(Text);
    } else if (Text != Name) {
      Derived.Add(Text);
    }
  }
  FirstKey.push_back(Derived.Size());
  // Entries are added once every lookup is done: the lookups view the
  // derived entries' texts in the list.
  std::pmr::vector<int> Kept(&Memory);
  for (int i = 0; i < FExplicit.Count(); ++i) {
    const std::string& E = FExplicit[i];
    // A clause mostly lists the plain columns in the order of the SELECT
    // list: the names of the derived entry in E's place are tried first.
    const size_t k = static_cast<size_t>(i);
    if (k < Columns.size() && Derived.AnyOf(FirstKey[k], FirstKey[k + 1], E)) continue;
    if (Derived.Contains(E)) continue;
    Entry.clear();
    ScriptWriter::AppendScannerName(Entry, Scanner, E);
    if (Entry != E && Derived.Contains(Entry)) continue;
    Kept.push_back(i);
  }
  for (int i : Kept) TStringList::Add(FExplicit[i]);
}

namespace {

// The body of TVXGroupByItems::GetScript: the list rebuilt, then written.
void WriteGroupBy(std::string& Out, TVXGroupByItems& L) {
  L.Rebuild();
  const int N = L.Count();
  if (N == 0) return;
  WriteHeading(Out, L.Parser(), "GROUP");
  for (int i = 0; i < N; ++i) {
    WriteName(Out, L.Parser(), L.Strings(i));
    Out += i < N - 1 ? ",\r\n  " : "\r\n";
  }
}

// The body of TVXOrderByItems::GetScript.
void WriteOrderBy(std::string& Out, const TVXOrderByItems& L) {
  const int N = L.Count();
  if (N == 0) return;
  WriteHeading(Out, L.Parser(), "ORDER");
  for (int i = 0; i < N; ++i) {
    const std::string& E = L.Strings(i);
    // A position ("ORDER BY 2") is no name: quoting it would sort by a constant.
    bool IsPosition = !E.empty() && E.find_first_not_of("0123456789") == std::string::npos;
    if (IsPosition)
      Out += E;
    else
      WriteName(Out, L.Parser(), E);
    if (L.Orders(i) == okDesc) Out += " DESC";
    Out += i < N - 1 ? ",\r\n  " : "\r\n";
  }
}

}  // namespace

std::string TVXGroupByItems::GetScript() {
  std::string R;
  WriteGroupBy(R, *this);
  return R;
}

// ---------------------------------------------------------------------------
// TVXOrderByItems

int TVXOrderByItems::AddOrdered(const std::string& S, TVXOrderKind Kind) {
  int Index = TStringList::Add(S);
  FOrders.insert(FOrders.begin() + Index, Kind);
  return Index;
}

void TVXOrderByItems::Delete(int Index) {
  TStringList::Delete(Index);
  if (Index < static_cast<int>(FOrders.size())) FOrders.erase(FOrders.begin() + Index);
}

void TVXOrderByItems::Clear() {
  TStringList::Clear();
  FOrders.clear();
}

void TVXOrderByItems::Insert(int Index, const std::string& S) {
  TStringList::Insert(Index, S);
  // Directions stay parallel to the entries: a new entry is ascending.
  if (Index <= static_cast<int>(FOrders.size())) FOrders.insert(FOrders.begin() + Index, okAsc);
}

void TVXOrderByItems::Assign(const TPersistent* Source) {
  TStringList::Assign(Source);
  FOrders.clear();
  if (const auto* Src = dynamic_cast<const TVXOrderByItems*>(Source)) FOrders = Src->FOrders;
}

TVXOrderKind TVXOrderByItems::Orders(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FOrders.size())) return okAsc;
  return FOrders[Index];
}

void TVXOrderByItems::SetOrders(int Index, TVXOrderKind Value) {
  if (Index >= 0 && Index < static_cast<int>(FOrders.size())) FOrders[Index] = Value;
}

std::string TVXOrderByItems::GetScript() {
  std::string R;
  WriteOrderBy(R, *this);
  return R;
}

void ScriptWriter::AppendScript(std::string& Out, TVXStringList& X) {
  if (IsExactly<TVXGroupByItems>(X))
    WriteGroupBy(Out, static_cast<TVXGroupByItems&>(X));
  else if (IsExactly<TVXOrderByItems>(X))
    WriteOrderBy(Out, static_cast<const TVXOrderByItems&>(X));
  else
    Out += X.GetScript();
}

}  // namespace Vexar
