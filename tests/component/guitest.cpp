#include "guitest.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace Vexar {

TRecordedMessages::TRecordedMessages(TVXMessageResult Answer) {
  FPrevious =
      SetMessageFunction([this, Answer](QWidget*, TVXMessageKind Kind, const std::string& Caption,
                                        const std::string& Text) {
        FMessages.push_back({Kind, Caption, Text});
        return Kind == vxmQuestion ? Answer : vxrOk;
      });
}

TRecordedMessages::~TRecordedMessages() {
  SetMessageFunction(std::move(FPrevious));
}

std::string SaveWidgetPicture(QWidget* Widget, const std::string& Suffix) {
  const ::testing::TestInfo* Info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string Name = Info ? std::string(Info->test_suite_name()) + "." + Info->name() : "picture";
  if (!Suffix.empty())
    Name += "-" + Suffix;
  for (char& C : Name)
    if (C == '/')
      C = '_';
  const QDir Folder(QStringLiteral(VEXAR_PICTURE_DIR));
  if (!Folder.mkpath("."))
    return {};
  const QString Path = Folder.filePath(QString::fromStdString(Name) + ".png");
  return Widget->grab().save(Path) ? Path.toStdString() : std::string();
}

}  // namespace Vexar
