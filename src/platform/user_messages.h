#pragma once
// Messages to the user: the one seam through which the core tells the user something or asks a
// Yes/No question. Each front end shows them in its own way (a modal box, a line on a terminal);
// tests record them.

#include <string_view>

namespace animark {

enum class MessageIcon {
  Stop,         // refused input, unusable map
  Exclamation,  // failures without an icon of their own
  Question,     // Yes/No question
};

enum class MessageAnswer { Ok, Yes, No };

class UserMessages {
 public:
  virtual ~UserMessages() = default;

  // Shows `text` (a '\n' is a line break) and waits until the user has dismissed it. Returns
  // Yes or No for MessageIcon::Question and Ok otherwise.
  virtual MessageAnswer Show(std::string_view text, MessageIcon icon) = 0;
};

}  // namespace animark
