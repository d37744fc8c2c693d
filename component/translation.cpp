#include "component/translation.h"

#include <QCoreApplication>
#include <string>

#include "parser/resource.h"

namespace Vexar {

void InstallQtTranslations() {
  InstallResStrings([](const char* /*Name*/, const char* DefaultText) {
    // The catalogue is single-byte text; translations travel as UTF-8, the
    // encoding the Qt layer converts back with QString::fromStdString.
    return QCoreApplication::translate(ResourceContext, DefaultText).toStdString();
  });
}

}  // namespace Vexar
