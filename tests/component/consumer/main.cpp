// Creates a component, hands it a statement and prints what it writes back.
#include <QApplication>
#include <iostream>

#include "component/vexar.h"

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  Vexar::TSQLVexar Designer;
  Designer.SetSQL("select c.name from customer c");
  const std::string Text = Designer.GetSQL();
  std::cout << Text;
  const std::string Expected = "SELECT \r\n  \"c\".\"name\"\r\nFROM\r\n  \"customer\" \"c\"\r\n";
  return Text == Expected && Designer.Version() == "2.02" ? 0 : 1;
}
