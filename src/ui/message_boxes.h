#pragma once
// Messages to the user as modal message boxes captioned with the program's name: the stop icon
// with OK, the question icon with Yes and No, the exclamation icon with OK.

#include "platform/user_messages.h"

namespace animark::ui {

class MessageBoxes final : public UserMessages {
 public:
  // Waits until the box is dismissed. The box sits over the window in front, or on its own when
  // there is none (before the main dialog shows) or that window is minimised (during an export).
  // Closing a question box without choosing answers No.
  MessageAnswer Show(std::string_view text, MessageIcon icon) override;
};

}  // namespace animark::ui
