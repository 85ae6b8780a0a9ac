#include "gui/import_worker.h"

#include <filesystem>
#include <utility>

#include "core/common/regular_file.h"
#include "core/workspace/picture_import.h"

namespace pictor::gui {

ImportJob::ImportJob(std::vector<workspace::ProjectPicture> pictures, MessageSink& messages,
                     bool skipMissing)
    : pictures_(std::move(pictures)),
      messages_(messages),
      skipMissing_(skipMissing),
      context_(std::make_unique<QObject>()) {}

ImportJob::~ImportJob() {
    Cancel();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ImportJob::Cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    taken_.notify_all();
}

void ImportJob::Start(ResultHandler onResult, std::function<void()> onDone) {
    onResult_ = std::move(onResult);
    onDone_ = std::move(onDone);
    thread_ = std::thread([this] { Run(); });
}

void ImportJob::Run() {
    for (std::size_t i = 0; i < pictures_.size() && !cancelled_; ++i) {
        const workspace::ProjectPicture& picture = pictures_[i];
        std::optional<workspace::ImageEntry> entry;
        if (!picture.text && !skipMissing_) {
            // A file chosen for import that does not exist gets the import's message.
            workspace::PictureList single;
            if (workspace::ImportPictures(single, {Utf8FromPath(picture.path)}, messages_) == 1) {
                entry = single.At(0);
            }
        } else {
            // One picture per call keeps the import's checks and messages; the sort
            // of the whole list is done by the receiver.
            entry = workspace::LoadProjectPicture(picture, messages_);
        }
        if (entry) {
            entry->bitmap.reset();
        }
        {
            std::unique_lock lock(mutex_);
            taken_.wait(lock, [this] { return !resultPending_ || cancelled_; });
            if (cancelled_) {
                break;
            }
            resultPending_ = true;
        }
        // The queued call is dropped if the context is gone, so `this` is alive in it.
        QMetaObject::invokeMethod(
            context_.get(),
            [this, i, result = std::move(entry)]() mutable {
                onResult_(i, std::move(result));
                {
                    std::lock_guard lock(mutex_);
                    resultPending_ = false;
                }
                taken_.notify_all();
            },
            Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(
        context_.get(), [this] { onDone_(); }, Qt::QueuedConnection);
}

}  // namespace pictor::gui
