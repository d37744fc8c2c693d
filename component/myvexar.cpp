#include "component/myvexar.h"

namespace Vexar {

TMySQLVexar::TMySQLVexar(QWidget* Parent) : TCustomVexar(Parent) {
  Initialize();
}

std::unique_ptr<TVXSelectParser> TMySQLVexar::CreateParser() {
  return TVXSelectParser::Create<TVXMySelectParser>();
}

TVXMySelectParser* TMySQLVexar::MyParser() const {
  return dynamic_cast<TVXMySelectParser*>(Parser());
}

}  // namespace Vexar
