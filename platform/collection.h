// Owned collections of items.
//
// A TCollection owns its items. Deleting an item (delete, Delete, Clear)
// removes it from its collection; the item's own destructor runs first, while
// it is still a member, so that its destruction rules (renumbering, clean-up of
// references to it) can still see the whole collection.
//
// Items are made in two phases so that virtual factories of a derived class run:
// the object is constructed, joins its collection, and only then runs its
// virtual Init (the place for sub-objects made by virtual factories). Always
// make items through TCollectionItem::Create<T> or a collection's Add/Insert.
#pragma once

#include <vector>

#include "platform/persistent.h"

namespace Vexar {

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  ~TCollectionItem() override;

  // Makes a T, puts it into Collection (which may be null) and initialises it.
  template <class T>
  static T* Create(TCollection* Collection) {
    T* Item = new T();
    Item->SetCollection(Collection);
    try {
      Item->Init();
    } catch (...) {
      delete Item;
      throw;
    }
    return Item;
  }

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any, with null).
  void SetCollection(TCollection* Value);
  // Position in the collection, -1 when the item is in none.
  int Index() const;
  // Moves the item to another position within its collection.
  void SetIndex(int Value);

 protected:
  TCollectionItem() = default;
  // Second construction phase, run once the item has joined its collection.
  virtual void Init() {}

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
};

// The "item class" of a collection: a factory that makes an item inside it.
using TCollectionItemClass = TCollectionItem* (*)(TCollection*);

template <class T>
TCollectionItem* ItemClassOf(TCollection* Collection) {
  return TCollectionItem::Create<T>(Collection);
}

class TCollection : public TPersistent {
 public:
  TCollection(TPersistent* Owner, TCollectionItemClass ItemClass);
  ~TCollection() override;

  // Appends a new item of the collection's item class.
  virtual TCollectionItem* Add();
  // A new item at Index: made at the end, then moved there.
  virtual TCollectionItem* Insert(int Index);
  // Frees the item at Index.
  void Delete(int Index);
  // Frees every item, last first.
  void Clear();

  int Count() const { return static_cast<int>(FItems.size()); }
  // The item at Index; EListError outside 0 .. Count-1. Every walk over a
  // model's lists asks for its items here: the check stays inline.
  TCollectionItem* Items(int Index) const {
    if (static_cast<size_t>(Index) >= FItems.size()) IndexError(Index);
    return FItems[Index];
  }
  // Copies Value into the item at Index unless it is that very item.
  void SetItems(int Index, const TCollectionItem* Value);

  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
  }
  int UpdateCount() const { return FUpdateCount; }

  TPersistent* Owner() const { return FOwner; }
  TCollectionItemClass ItemClass() const { return FItemClass; }

  // From another collection: clear, then one copy of every source item.
  void Assign(const TPersistent* Source) override;

  const std::vector<TCollectionItem*>& List() const { return FItems; }

 protected:
  // Called after Item joined or left the collection, or moved within it, so
  // that a derived collection can keep what it derives from its items current.
  virtual void Update(TCollectionItem* Item) { (void)Item; }

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void CheckIndex(int Index) const;
  [[noreturn]] static void IndexError(int Index);

  TPersistent* FOwner;
  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;  // owned
  int FUpdateCount = 0;
};

}  // namespace Vexar
