#include "gui/ui_sinks.h"

#include <QThread>
#include <condition_variable>
#include <mutex>

#include "gui/dialog_service.h"
#include "gui/ui_language.h"

namespace pictor::gui {

struct UiMessageSink::State {
    std::mutex mutex;
    std::condition_variable answered;
    bool closed = false;
};

UiMessageSink::UiMessageSink(DialogService& dialogs, QWidget* owner)
    : dialogs_(dialogs),
      owner_(owner),
      state_(std::make_shared<State>()),
      context_(std::make_unique<QObject>()) {}

UiMessageSink::~UiMessageSink() {
    Close();
}

void UiMessageSink::Close() {
    {
        std::lock_guard lock(state_->mutex);
        state_->closed = true;
    }
    state_->answered.notify_all();
}

void UiMessageSink::Show(const Message& message) {
    if (QThread::currentThread() == context_->thread()) {
        {
            std::lock_guard lock(state_->mutex);
            if (state_->closed) {
                return;
            }
        }
        dialogs_.ShowMessage(owner_, LocalizeCoreMessage(message));
        return;
    }

    std::unique_lock lock(state_->mutex);
    if (state_->closed) {
        return;
    }
    auto done = std::make_shared<bool>(false);
    auto state = state_;
    QMetaObject::invokeMethod(
        context_.get(),
        [this, state, done, message] {
            bool closed = false;
            {
                std::lock_guard guard(state->mutex);
                closed = state->closed;
            }
            // The context object is owned by this sink, so `this` is alive here.
            if (!closed) {
                dialogs_.ShowMessage(owner_, LocalizeCoreMessage(message));
            }
            {
                std::lock_guard guard(state->mutex);
                *done = true;
            }
            state->answered.notify_all();
        },
        Qt::QueuedConnection);
    state_->answered.wait(lock, [&] { return *done || state_->closed; });
}

UiProgressSink::UiProgressSink(std::function<void(int)> onProgress,
                               std::function<void(std::string)> onStatus)
    : onProgress_(std::move(onProgress)),
      onStatus_(std::move(onStatus)),
      context_(std::make_unique<QObject>()) {}

UiProgressSink::~UiProgressSink() = default;

void UiProgressSink::SetProgress(int percent) {
    QMetaObject::invokeMethod(
        context_.get(), [this, percent] { onProgress_(percent); }, Qt::QueuedConnection);
}

void UiProgressSink::SetStatus(const std::string& text) {
    QMetaObject::invokeMethod(
        context_.get(), [this, text] { onStatus_(text); }, Qt::QueuedConnection);
}

}  // namespace pictor::gui

namespace pictor::gui {

void UiProgressSink::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(context_.get(), std::move(task), Qt::QueuedConnection);
}

}  // namespace pictor::gui
