#include "gui/import_worker.h"

#include <filesystem>
#include <utility>

#include "core/common/regular_file.h"
#include "core/workspace/picture_import.h"

namespace pictor::gui {
namespace {

// Keeps the import's messages of one file instead of showing them: the first
// tells whether the file did not load or did not open for its trailer. Any other
// message (a text that does not draw, operations that do not apply) is kept as
// it is, to be shown in the summary.
class FailureRecorder final : public MessageSink {
  public:
    void Show(const Message& message) override {
        if (!seen) {
            seen = true;
            openFailed = message.pattern == "打开 %1 错误 !";
        }
        if (message.pattern != "打开 %1 错误 !" && message.pattern != "加载图片 %1 错误 !") {
            other = message;
        }
    }
    bool seen = false;
    bool openFailed = false;
    std::optional<Message> other;
};

}  // namespace

ImportJob::ImportJob(std::vector<workspace::ProjectPicture> pictures, bool skipMissing)
    : pictures_(std::move(pictures)),
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
        const std::string path = Utf8FromPath(picture.text ? picture.text->font : picture.path);
        Result entry;
        std::error_code error;
        if (picture.text || !skipMissing_ || std::filesystem::exists(picture.path, error)) {
            // One picture per call keeps the import's checks; the sort of the whole
            // list is done by the receiver.
            FailureRecorder failure;
            std::optional<workspace::ImageEntry> loaded;
            if (skipMissing_) {
                loaded = workspace::LoadProjectPicture(picture, failure);
            } else if (workspace::PictureList single;
                       workspace::ImportPictures(single, {path}, failure) == 1) {
                loaded = single.At(0);
            }
            if (loaded) {
                entry.entry = std::move(loaded);
                entry.entry->bitmap.reset();
            } else if (failure.other) {
                entry.failure = ImportFailure{path, ImportFailureReason::Damaged, failure.other};
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
