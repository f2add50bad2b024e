#pragma once
// The dialog's messages as Windows message boxes, captioned with the running program's file name
// without its folder and extension: the stop icon for refusals and unusable maps, the question
// icon with Yes and No for the overwrite question, the exclamation icon otherwise.

#include <string>

#include "platform/user_messages.h"

namespace animark::win {

class MessageBoxes final : public UserMessages {
 public:
  MessageBoxes();
  // Modal to the thread's active window; to the whole program while that window is minimised or
  // before any window exists, so that no box hides behind a minimised owner.
  MessageAnswer Show(std::string_view text, MessageIcon icon) override;

 private:
  std::wstring caption_;
};

}  // namespace animark::win
