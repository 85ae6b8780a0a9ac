#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "core/common/message.h"
#include "core/common/progress.h"

namespace pictor::gui {

class DialogService;

/// Shows core messages as message boxes owned by `owner`. Callable from any
/// thread: a call from a worker thread is carried out on the user-interface thread
/// and the caller waits until the box is dismissed (a job waits in its message).
/// After `Close` (and in the destructor) messages are dropped and waiting callers
/// are released, so a job never blocks the window's shut-down.
class UiMessageSink final : public MessageSink {
  public:
    UiMessageSink(DialogService& dialogs, QWidget* owner);
    ~UiMessageSink() override;
    UiMessageSink(const UiMessageSink&) = delete;
    UiMessageSink& operator=(const UiMessageSink&) = delete;

    void Show(const Message& message) override;

    /// User-interface thread only.
    void Close();

  private:
    struct State;
    DialogService& dialogs_;
    QPointer<QWidget> owner_;
    std::shared_ptr<State> state_;
    std::unique_ptr<QObject> context_;  // lives on the user-interface thread
};

/// Keeps the messages of a job that runs on another thread, without making it
/// wait, until the user-interface thread takes them once the job has ended.
/// Thread-safe.
class CollectingMessageSink final : public MessageSink {
  public:
    void Show(const Message& message) override {
        const std::lock_guard lock(mutex_);
        messages_.push_back(message);
    }
    /// The messages kept so far, in order; the sink is empty afterwards.
    std::vector<Message> Take() {
        const std::lock_guard lock(mutex_);
        return std::exchange(messages_, {});
    }

  private:
    std::mutex mutex_;
    std::vector<Message> messages_;
};

/// Forwards a job's progress to the user-interface thread (queued; the job does
/// not wait). The callbacks run on the user-interface thread while the sink lives;
/// the status text is the core's own (a key to translate, see LocalizeCoreStatus).
class UiProgressSink final : public ProgressSink {
  public:
    UiProgressSink(std::function<void(int)> onProgress, std::function<void(std::string)> onStatus);
    ~UiProgressSink() override;
    UiProgressSink(const UiProgressSink&) = delete;
    UiProgressSink& operator=(const UiProgressSink&) = delete;

    void SetProgress(int percent) override;
    void SetStatus(const std::string& text) override;

    /// Runs `task` on the user-interface thread (queued) while the sink lives.
    void Post(std::function<void()> task);

  private:
    std::function<void(int)> onProgress_;
    std::function<void(std::string)> onStatus_;
    std::unique_ptr<QObject> context_;
};

}  // namespace pictor::gui
