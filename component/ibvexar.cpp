#include "component/ibvexar.h"

namespace Vexar {

TInterBaseVexar::TInterBaseVexar(QWidget* Parent) : TCustomVexar(Parent) {
  Initialize();
}

std::unique_ptr<TVXSelectParser> TInterBaseVexar::CreateParser() {
  return TVXSelectParser::Create<TVXIBSelectParser>();
}

TVXIBSelectParser* TInterBaseVexar::IBParser() const {
  return dynamic_cast<TVXIBSelectParser*>(Parser());
}

TVXSQLDialect TInterBaseVexar::GetSQLDialect() const {
  const auto* Scanner = dynamic_cast<const TVXIBScanner*>(Parser()->Scanner());
  return Scanner ? Scanner->SQLDialect() : Vexar::qibDialect1;
}

void TInterBaseVexar::SetSQLDialect(TVXSQLDialect Value) {
  if (auto* Scanner = dynamic_cast<TVXIBScanner*>(Parser()->Scanner()))
    Scanner->SetSQLDialect(Value);
}

TVXIBSQLServer TInterBaseVexar::GetSQLServer() const {
  const TVXIBSelectParser* P = IBParser();
  return P ? P->SQLServer() : Vexar::qssInterBase;
}

void TInterBaseVexar::SetSQLServer(TVXIBSQLServer Value) {
  TVXIBSelectParser* P = IBParser();
  if (P && P->SQLServer() != Value)
    P->SetSQLServer(Value);
}

}  // namespace Vexar
