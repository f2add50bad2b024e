#pragma once
// One Create GIF command on a worker thread, so that the dialog's event loop goes on while the
// frames are written. The command meets the dialog's seams through this object: what it tells the
// screen and the progress window reaches the GUI thread as queued calls, in the order it was said;
// a message is shown there while the worker waits for the answer; and Cancel only sets a flag
// that the export reads after each frame.

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "export/create_gif.h"
#include "platform/export_screen.h"
#include "platform/progress_window.h"
#include "platform/user_messages.h"

namespace animark::ui {

class ExportThread final : public QObject,
                           private UserMessages,
                           private ExportScreen,
                           private ProgressWindow {
  Q_OBJECT

 public:
  using Command = std::function<CreateGifResult(UserMessages&, ExportScreen&)>;
  using Ended = std::function<void(const CreateGifResult&)>;

  // Starts `command` on its own thread at once. `messages`, `screen` and the progress window that
  // `screen` makes are used on the GUI thread only, through calls queued to `owner`, the GUI
  // object that owns this run; `ended` gets the command's result there, as the last of them.
  // Calls still queued when a run is destroyed before its end die with `owner`.
  ExportThread(QObject& owner, UserMessages& messages, ExportScreen& screen, Command command,
               Ended ended);
  // Waits for the command's end, stopping it first if it still runs: a message it asks from now
  // on is answered as a closed box would answer it.
  ~ExportThread() override;
  ExportThread(const ExportThread&) = delete;
  ExportThread& operator=(const ExportThread&) = delete;

  // Cancel or Escape: the export stops after the frame in hand.
  void Cancel() { cancelRequested_ = true; }

 signals:
  // A call for the GUI thread, made there by `owner`'s event loop.
  void Queued(std::function<void()> call);

 private:
  // The command's side, on the worker thread.
  MessageAnswer Show(std::string_view text, MessageIcon icon) override;
  ProgressWindow* BeginExport() override;
  void EndExport() override;
  void SetText(ProgressText line, std::string_view text) override;
  void SetRange(std::int32_t minimum, std::int32_t maximum) override;
  void SetPosition(std::int32_t position) override;
  void BringToTopAndRepaint() override;
  bool CancelRequested() override { return cancelRequested_; }

  void OnGuiThread(std::function<void()> call);
  void OnWindow(std::function<void(ProgressWindow&)> call);

  UserMessages& messages_;
  ExportScreen& screen_;
  ProgressWindow* window_ = nullptr;  // GUI thread: between BeginExport and EndExport
  std::atomic<bool> cancelRequested_ = false;

  std::mutex mutex_;
  std::condition_variable answered_;
  std::optional<MessageAnswer> answer_;  // of the message being shown
  bool abandoned_ = false;               // no more message is shown

  std::thread worker_;  // joined by the destructor
};

}  // namespace animark::ui
