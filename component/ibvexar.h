// TInterBaseVexar: the component for InterBase and Firebird statements. Its
// parser is a TVXIBSelectParser; it publishes the SQL dialect (which decides
// the quoting of names) and the server family (which decides whether FIRST
// and SKIP or the ROWS clause are read and written). Quoting follows the SQL
// dialect, so QuoteIdentifiers is not published.
#pragma once

#include "component/vexar.h"
#include "dialects/ibparser.h"

namespace Vexar {

class TInterBaseVexar : public TCustomVexar {
  Q_OBJECT
  Q_PROPERTY(SQLDialectKind SQLDialect READ SQLDialectProperty WRITE SetSQLDialectProperty)
  Q_PROPERTY(SQLServerKind SQLServer READ SQLServerProperty WRITE SetSQLServerProperty)
  Q_PROPERTY(bool QuoteIdentifiers READ QuoteIdentifiers WRITE SetQuoteIdentifiers
                 DESIGNABLE false STORED false)

 public:
  // The core's TVXSQLDialect and TVXIBSQLServer as seen by Qt's property
  // system (which needs enumerations it can read the names of).
  enum SQLDialectKind { qibDialect1 = Vexar::qibDialect1, qibDialect3 = Vexar::qibDialect3 };
  Q_ENUM(SQLDialectKind)
  enum SQLServerKind { qssInterBase = Vexar::qssInterBase, qssFireBird = Vexar::qssFireBird };
  Q_ENUM(SQLServerKind)

  explicit TInterBaseVexar(QWidget* Parent = nullptr);

  TVXIBSelectParser* IBParser() const;
  // The scanner's SQL dialect (qibDialect1 should the scanner not be the
  // dialect's own). Neither setting re-parses: it applies from the next read
  // or write of the statement on.
  Vexar::TVXSQLDialect GetSQLDialect() const;
  void SetSQLDialect(Vexar::TVXSQLDialect Value);
  Vexar::TVXIBSQLServer GetSQLServer() const;
  void SetSQLServer(Vexar::TVXIBSQLServer Value);

  Q_INVOKABLE bool IsSQLDialectStored() const { return GetSQLDialect() != Vexar::qibDialect3; }
  Q_INVOKABLE bool IsSQLServerStored() const { return GetSQLServer() != Vexar::qssInterBase; }

 protected:
  TInterBaseVexar(QWidget* Parent, TVXDeferInit) : TCustomVexar(Parent) {}
  std::unique_ptr<TVXSelectParser> CreateParser() override;

 private:
  SQLDialectKind SQLDialectProperty() const { return SQLDialectKind(GetSQLDialect()); }
  void SetSQLDialectProperty(SQLDialectKind Value) {
    SetSQLDialect(static_cast<Vexar::TVXSQLDialect>(Value));
  }
  SQLServerKind SQLServerProperty() const { return SQLServerKind(GetSQLServer()); }
  void SetSQLServerProperty(SQLServerKind Value) {
    SetSQLServer(static_cast<Vexar::TVXIBSQLServer>(Value));
  }
};

}  // namespace Vexar
