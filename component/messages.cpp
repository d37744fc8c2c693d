#include "component/messages.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <exception>

#include "parser/resource.h"
#include "platform/format.h"

namespace Vexar {

namespace {

TVXMessageResult BoxMessage(QWidget* Parent, TVXMessageKind Kind, const std::string& Caption,
                            const std::string& Text) {
  const QString Title = QString::fromStdString(Caption);
  const QString Body = QString::fromStdString(Text);
  switch (Kind) {
    case vxmQuestion:
      return QMessageBox::question(Parent, Title, Body, QMessageBox::Yes | QMessageBox::No) ==
                     QMessageBox::Yes
                 ? vxrYes
                 : vxrNo;
    case vxmError:
      QMessageBox::critical(Parent, Title, Body);
      break;
    case vxmWarning:
      QMessageBox::warning(Parent, Title, Body);
      break;
    case vxmInformation:
      QMessageBox::information(Parent, Title, Body);
      break;
  }
  return vxrOk;
}

TVXMessageFunction& CurrentFunction() {
  static TVXMessageFunction Function;
  return Function;
}

}  // namespace

TVXMessageFunction SetMessageFunction(TVXMessageFunction Function) {
  TVXMessageFunction Previous = std::move(CurrentFunction());
  CurrentFunction() = std::move(Function);
  return Previous;
}

TVXMessageResult ShowMessage(QWidget* Parent, TVXMessageKind Kind, const std::string& Caption,
                             const std::string& Text) {
  const TVXMessageFunction& F = CurrentFunction();
  return F ? F(Parent, Kind, Caption, Text) : BoxMessage(Parent, Kind, Caption, Text);
}

bool AskYesNo(QWidget* Parent, const std::string& Caption, const std::string& Text) {
  return ShowMessage(Parent, vxmQuestion, Caption, Text) == vxrYes;
}

void ShowCurrentException(QWidget* Parent) noexcept {
  std::string Text;
  try {
    throw;
  } catch (const std::exception& E) {
    Text = E.what();
  } catch (...) {
    // Our code raises only std::exception descendants; anything else has no
    // text of its own.
    Text = Format(LoadResString(rsParserUnknownError), 0);
  }
  try {
    ShowMessage(Parent, vxmError, QCoreApplication::applicationName().toStdString(), Text);
  } catch (...) {
    // A message function that fails itself has nobody left to tell.
  }
}

}  // namespace Vexar
