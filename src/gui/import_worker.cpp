#include "gui/import_worker.h"

#include <filesystem>
#include <utility>

#include "core/workspace/picture_import.h"

namespace pictor::gui {
namespace {

// Keeps the import's messages of one file instead of showing them: the first
// tells whether the file did not load or did not open for its trailer.
class FailureRecorder final : public MessageSink {
  public:
    void Show(const Message& message) override {
        if (!seen) {
            seen = true;
            openFailed = message.pattern == "打开 %1 错误 !";
        }
    }
    bool seen = false;
    bool openFailed = false;
};

}  // namespace

ImportJob::ImportJob(std::vector<std::string> paths, bool skipMissing)
    : paths_(std::move(paths)), skipMissing_(skipMissing), context_(std::make_unique<QObject>()) {}

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
    for (std::size_t i = 0; i < paths_.size() && !cancelled_; ++i) {
        const std::string& path = paths_[i];
        Result entry;
        std::error_code error;
        if (!skipMissing_ || std::filesystem::exists(path, error)) {
            // One file per call keeps the import's checks; the sort of the whole
            // list is done by the receiver.
            workspace::PictureList single;
            FailureRecorder failure;
            if (workspace::ImportPictures(single, {path}, failure) == 1) {
                entry.entry = single.At(0);
                entry.entry->bitmap.reset();
            } else {
                entry.failure = ImportFailure{
                    path, ClassifyImportFailure(QString::fromStdString(path), !failure.openFailed)};
            }
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
