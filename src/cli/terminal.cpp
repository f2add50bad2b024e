#include "cli/terminal.h"

#include <cstdio>
#include <iostream>

#include "platform/console.h"

namespace animark::cli {

TerminalMessages::TerminalMessages(std::string program, bool assumeYes)
    : program_(std::move(program)), assumeYes_(assumeYes) {}

MessageAnswer TerminalMessages::Show(std::string_view text, MessageIcon icon) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\n') c = ' ';
  }
  if (icon != MessageIcon::Question) {
    std::cerr << program_ << ": " << line << std::endl;
    return MessageAnswer::Ok;
  }
  if (assumeYes_) return MessageAnswer::Yes;
  if (!IsTerminal(StandardStream::Input)) {
    std::cerr << program_ << ": " << line << " No terminal to answer: use --force to overwrite."
              << std::endl;
    return MessageAnswer::No;
  }
  std::cerr << program_ << ": " << line << " [y/N] " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y') ? MessageAnswer::Yes
                                                                   : MessageAnswer::No;
}

namespace {
constexpr int kBarWidth = 40;
}

void TerminalProgress::SetRange(std::int32_t, std::int32_t maximum) {
  maximum_ = maximum;
  drawn_ = -1;
}

void TerminalProgress::SetPosition(std::int32_t position) {
  if (maximum_ <= 0) return;
  const int filled = std::min(kBarWidth, position * kBarWidth / maximum_);
  // Redraw only when the bar grows, or at the last frame, to keep the terminal quiet.
  if (filled == drawn_ && position != maximum_) return;
  drawn_ = filled;
  std::fprintf(stderr, "\r[%s%s] frame %u of %d", std::string(filled, '#').c_str(),
               std::string(kBarWidth - filled, ' ').c_str(), position, maximum_);
  std::fflush(stderr);
}

void TerminalProgress::Finish() {
  if (drawn_ >= 0) std::fputc('\n', stderr);
  drawn_ = -1;
}

TerminalScreen::TerminalScreen(bool showProgress)
    : showProgress_(showProgress && IsTerminal(StandardStream::Error)) {}

ProgressWindow* TerminalScreen::BeginExport() {
  return showProgress_ ? &progress_ : nullptr;
}

void TerminalScreen::EndExport() {
  progress_.Finish();
}

}  // namespace animark::cli
