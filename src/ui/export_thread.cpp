#include "ui/export_thread.h"

#include <string>

namespace animark::ui {

ExportThread::ExportThread(QObject& owner, UserMessages& messages, ExportScreen& screen,
                           Command command, Ended ended)
    : messages_(messages), screen_(screen) {
  connect(
      this, &ExportThread::Queued, &owner, [](const std::function<void()>& call) { call(); },
      Qt::QueuedConnection);
  worker_ = std::thread([this, command = std::move(command), ended = std::move(ended)] {
    const CreateGifResult result = command(*this, *this);
    OnGuiThread([ended, result] { ended(result); });
  });
}

ExportThread::~ExportThread() {
  cancelRequested_ = true;
  {
    const std::lock_guard lock(mutex_);
    abandoned_ = true;
  }
  answered_.notify_one();
  worker_.join();
}

MessageAnswer ExportThread::Show(std::string_view text, MessageIcon icon) {
  std::unique_lock lock(mutex_);
  answer_.reset();
  OnGuiThread([this, text = std::string(text), icon] {
    const MessageAnswer answer = messages_.Show(text, icon);
    const std::lock_guard shownLock(mutex_);
    answer_ = answer;
    answered_.notify_one();
  });
  answered_.wait(lock, [this] { return answer_ || abandoned_; });
  return answer_.value_or(icon == MessageIcon::Question ? MessageAnswer::No : MessageAnswer::Ok);
}

ProgressWindow* ExportThread::BeginExport() {
  OnGuiThread([this] { window_ = screen_.BeginExport(); });
  return this;
}

void ExportThread::EndExport() {
  OnGuiThread([this] {
    window_ = nullptr;
    screen_.EndExport();
  });
}

void ExportThread::SetText(ProgressText line, std::string_view text) {
  OnWindow(
      [line, text = std::string(text)](ProgressWindow& window) { window.SetText(line, text); });
}

void ExportThread::SetRange(std::int32_t minimum, std::int32_t maximum) {
  OnWindow([minimum, maximum](ProgressWindow& window) { window.SetRange(minimum, maximum); });
}

void ExportThread::SetPosition(std::int32_t position) {
  OnWindow([position](ProgressWindow& window) { window.SetPosition(position); });
}

void ExportThread::BringToTopAndRepaint() {
  OnWindow([](ProgressWindow& window) { window.BringToTopAndRepaint(); });
}

void ExportThread::OnGuiThread(std::function<void()> call) {
  emit Queued(std::move(call));
}

void ExportThread::OnWindow(std::function<void(ProgressWindow&)> call) {
  OnGuiThread([this, call = std::move(call)] {
    if (window_) call(*window_);
  });
}

}  // namespace animark::ui
