// Messages and questions shown to the user, and the boundary that keeps
// exceptions out of Qt's event loop.
//
// Every message box of the component layer goes through one replaceable
// function, so that an application can show them its own way and tests can
// answer them. Without a replacement, a QMessageBox is shown.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace Vexar {

enum TVXMessageKind { vxmError, vxmWarning, vxmInformation, vxmQuestion };
enum TVXMessageResult { vxrOk, vxrYes, vxrNo };

// Shows Text with Caption over Parent; a question (vxmQuestion) is answered
// with vxrYes or vxrNo, every other kind with vxrOk.
using TVXMessageFunction = std::function<TVXMessageResult(
    QWidget* Parent, TVXMessageKind Kind, const std::string& Caption, const std::string& Text)>;

// Installs Function (an empty one restores the message box); returns the
// function installed before.
TVXMessageFunction SetMessageFunction(TVXMessageFunction Function);

TVXMessageResult ShowMessage(QWidget* Parent, TVXMessageKind Kind, const std::string& Caption,
                             const std::string& Text);
// A Yes/No question; true for Yes.
bool AskYesNo(QWidget* Parent, const std::string& Caption, const std::string& Text);

// Shows the error that is being handled (call inside a catch block).
void ShowCurrentException(QWidget* Parent) noexcept;

// Runs Action and shows any exception it raises instead of letting it
// propagate: Qt's event loop must never see an exception. Every slot of our
// widgets runs its body inside this boundary, and each widget's event()
// override dispatches its event handlers inside it.
template <class F>
void GuardedCall(QWidget* Parent, F&& Action) noexcept {
  try {
    Action();
  } catch (...) {
    ShowCurrentException(Parent);
  }
}

}  // namespace Vexar
