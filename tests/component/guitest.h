// Helpers of the component tests: a message function that records what the
// components show and answers their questions, and a picture of a widget for
// a person to look at.
#pragma once

#include <string>
#include <vector>

#include "component/messages.h"

class QWidget;

namespace Vexar {

// Installs itself as the message function while it lives.
class TRecordedMessages {
 public:
  struct TMessage {
    TVXMessageKind Kind;
    std::string Caption;
    std::string Text;
  };

  explicit TRecordedMessages(TVXMessageResult Answer = vxrYes);
  ~TRecordedMessages();
  TRecordedMessages(const TRecordedMessages&) = delete;
  TRecordedMessages& operator=(const TRecordedMessages&) = delete;

  const std::vector<TMessage>& Messages() const { return FMessages; }

 private:
  TVXMessageFunction FPrevious;
  std::vector<TMessage> FMessages;
};

// Saves Widget->grab() as pictures/<suite>.<test>[-Suffix].png in the test
// build folder; returns the file's path (empty when it could not be saved).
std::string SaveWidgetPicture(QWidget* Widget, const std::string& Suffix = "");

}  // namespace Vexar
