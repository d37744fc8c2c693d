// The bases of every model object: items, collections and string lists that
// carry a plain back-reference to the parser owning the model. The parser is
// the route to the dialect's quoting (its scanner) and to the script format;
// an object without a parser writes its text unchanged.
#pragma once

#include <string>
#include <string_view>

#include "platform/collection.h"
#include "platform/stringlist.h"

namespace Vexar {

class TVXSelectParser;

class TVXCollectionItem : public TCollectionItem {
 public:
  TVXSelectParser* Parser() const { return FParser; }
  // Stores the parser; subclasses hand it on to the objects they own.
  virtual void SetParser(TVXSelectParser* Value);
  // From another model item: copies the parser only; subclasses copy the rest.
  void Assign(const TPersistent* Source) override;

  // A table, field or alias name quoted as the dialect requires. A name that
  // contains ".db" (a file-based table) is quoted as one identifier.
  std::string ProcessName(std::string_view S) const;
  // A keyword or function name re-cased by the script format.
  std::string ProcessKeyword(std::string_view S) const;
  std::string ProcessFunction(std::string_view S) const;

 protected:
  TVXCollectionItem() = default;

 private:
  TVXSelectParser* FParser = nullptr;
};

class TVXCollection : public TCollection {
 public:
  TVXCollection(TPersistent* Owner, TCollectionItemClass ItemClass)
      : TCollection(Owner, ItemClass) {}

  TVXSelectParser* Parser() const { return FParser; }
  // Stores the parser and hands it to every item (nothing when unchanged).
  virtual void SetParser(TVXSelectParser* Value);
  // New items receive the collection's parser at once.
  TVXCollectionItem* Add() override;
  TVXCollectionItem* Insert(int Index) override;
  TVXCollectionItem* Items(int Index) const {
    return static_cast<TVXCollectionItem*>(TCollection::Items(Index));
  }

 private:
  TVXSelectParser* FParser = nullptr;
};

class TVXStringList : public TStringList {
 public:
  explicit TVXStringList(TVXSelectParser* Parser) : FParser(Parser) {}
  TVXSelectParser* Parser() const { return FParser; }
  // The dialect's quoting of S (unchanged without a parser).
  std::string ProcessName(std::string_view S) const;
  virtual std::string GetScript() = 0;

 private:
  TVXSelectParser* FParser;
};

}  // namespace Vexar
