// The thread of a Create GIF command: what the command tells its seams reaches the GUI thread in
// the order it was said, a message waits there for its answer, and a run destroyed while its
// command still asks ends it without a box.

#include <QCoreApplication>
#include <QThread>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/export_thread.h"
#include "ui_test_support.h"

namespace animark::ui {
namespace {

// The GUI side of the seams: notes each call and whether it came on another thread than Qt's.
class GuiSide final : public UserMessages, public ExportScreen, public ProgressWindow {
 public:
  MessageAnswer Show(std::string_view text, MessageIcon) override {
    Note("message " + std::string(text));
    return MessageAnswer::Yes;
  }
  ProgressWindow* BeginExport() override {
    Note("begin");
    return this;
  }
  void EndExport() override { Note("end"); }
  void SetText(ProgressText, std::string_view text) override { Note("text " + std::string(text)); }
  void SetRange(std::int32_t minimum, std::int32_t maximum) override {
    Note("range " + std::to_string(minimum) + " " + std::to_string(maximum));
  }
  void SetPosition(std::int32_t position) override { Note("position " + std::to_string(position)); }
  void BringToTopAndRepaint() override { Note("raise"); }

  std::vector<std::string> calls;
  bool offGuiThread = false;

 private:
  void Note(std::string call) {
    offGuiThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
    calls.push_back(std::move(call));
  }
};

TEST(ExportThreadTest, TheCommandsCallsReachTheGuiThreadInOrderAndAMessageGetsItsAnswer) {
  QObject owner;
  GuiSide gui;
  MessageAnswer answer = MessageAnswer::Ok;
  std::optional<CreateGifOutcome> ended;
  auto thread = std::make_unique<ExportThread>(
      owner, gui, gui,
      [&](UserMessages& messages, ExportScreen& screen) {
        ProgressWindow* window = screen.BeginExport();
        window->SetRange(1, 100000);
        window->SetPosition(70000);
        window->SetText(ProgressText::Progress, "Progress: adding frame 70000 of 100000");
        window->BringToTopAndRepaint();
        answer = messages.Show("Export file already exists, overwrite?", MessageIcon::Question);
        screen.EndExport();
        return CreateGifResult{CreateGifOutcome::Written, "a.gif", {}, {}};
      },
      [&](const CreateGifResult& result) { ended = result.outcome; });
  while (!ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  thread.reset();

  EXPECT_EQ(gui.calls,
            (std::vector<std::string>{"begin", "range 1 100000", "position 70000",
                                      "text Progress: adding frame 70000 of 100000", "raise",
                                      "message Export file already exists, overwrite?", "end"}));
  EXPECT_FALSE(gui.offGuiThread);
  EXPECT_EQ(answer, MessageAnswer::Yes);
  EXPECT_EQ(ended, CreateGifOutcome::Written);
}

TEST(ExportThreadTest, ARunDestroyedWhileItsCommandAsksStopsItWithoutABox) {
  QObject owner;
  GuiSide gui;
  MessageAnswer answer = MessageAnswer::Yes;
  bool cancelled = false;
  bool ended = false;
  {
    const ExportThread thread(
        owner, gui, gui,
        [&](UserMessages& messages, ExportScreen& screen) {
          ProgressWindow* window = screen.BeginExport();
          answer = messages.Show("Export file already exists, overwrite?", MessageIcon::Question);
          cancelled = window->CancelRequested();
          return CreateGifResult{CreateGifOutcome::Cancelled, "a.gif", {}, {}};
        },
        [&](const CreateGifResult&) { ended = true; });
  }
  // No event loop ran meanwhile: the calls queued to `owner` die with it.
  EXPECT_TRUE(gui.calls.empty());
  EXPECT_EQ(answer, MessageAnswer::No);
  EXPECT_TRUE(cancelled);
  EXPECT_FALSE(ended);
}

}  // namespace
}  // namespace animark::ui
