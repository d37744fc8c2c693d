#include "platform/collection.h"

#include <algorithm>

#include "platform/exception.h"
#include "platform/format.h"

namespace Vexar {

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& L = FCollection->FItems;
  // Searched from the end: new and last items are the common case.
  for (size_t i = L.size(); i-- > 0;)
    if (L[i] == this) return static_cast<int>(i);
  return -1;
}

void TCollectionItem::SetIndex(int Value) {
  int Cur = Index();
  if (Cur < 0 || Value == Cur) return;
  auto& L = FCollection->FItems;
  if (Value < 0) Value = 0;
  if (Value >= static_cast<int>(L.size())) Value = static_cast<int>(L.size()) - 1;
  L.erase(L.begin() + Cur);
  L.insert(L.begin() + Value, this);
  FCollection->Update(this);
}

TCollection::TCollection(TPersistent* Owner, TCollectionItemClass ItemClass)
    : FOwner(Owner), FItemClass(ItemClass) {}

TCollection::~TCollection() {
  // Derived collections clear themselves in their own destructors while their
  // rules still apply; whatever is left is freed here without notifications.
  FUpdateCount = 1;
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Add() { return FItemClass(this); }

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(int Index) {
  CheckIndex(Index);
  delete FItems[Index];
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) delete FItems.back();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::SetItems(int Index, const TCollectionItem* Value) {
  TCollectionItem* Item = Items(Index);
  if (Item != Value) Item->Assign(Value);
}

void TCollection::Assign(const TPersistent* Source) {
  const auto* Src = dynamic_cast<const TCollection*>(Source);
  if (!Src) {
    TPersistent::Assign(Source);
    return;
  }
  if (Src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* Item : Src->FItems) Add()->Assign(Item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::InsertItem(TCollectionItem* Item) {
  // Most lists of a statement's model hold a few items: room for four at
  // once saves the growing steps one by one.
  if (FItems.capacity() == 0)
    FItems.reserve(4);
  FItems.push_back(Item);
  Item->FCollection = this;
  Update(Item);
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  // Clear and the destructors of owned lists free the last item first: it
  // leaves without a search or a shift.
  if (!FItems.empty() && FItems.back() == Item) {
    FItems.pop_back();
  } else {
    auto It = std::find(FItems.rbegin(), FItems.rend(), Item);
    if (It != FItems.rend()) FItems.erase(std::next(It).base());
  }
  Item->FCollection = nullptr;
  Update(Item);
}

void TCollection::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
}

void TCollection::IndexError(int Index) {
  throw EListError(Format("List index out of bounds (%d)", Index));
}

}  // namespace Vexar
