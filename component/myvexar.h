// TMySQLVexar: the component for MySQL statements. Its parser is a
// TVXMySelectParser (backquoted names, select options, DISTINCTROW, LIMIT);
// the options record is reached through MyParser().
#pragma once

#include "component/vexar.h"
#include "dialects/myparser.h"

namespace Vexar {

class TMySQLVexar : public TCustomVexar {
  Q_OBJECT

 public:
  explicit TMySQLVexar(QWidget* Parent = nullptr);

  TVXMySelectParser* MyParser() const;

 protected:
  TMySQLVexar(QWidget* Parent, TVXDeferInit) : TCustomVexar(Parent) {}
  std::unique_ptr<TVXSelectParser> CreateParser() override;
};

}  // namespace Vexar
