#pragma once

#include <atomic>
#include <memory>
#include <string>

namespace pictor {

/// Progress of a long job: the progress bar value (0..100) and the status text.
/// Called from the job's thread; implementations must be thread-safe.
class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    virtual void SetProgress(int percent) = 0;
    virtual void SetStatus(const std::string& text) = 0;
};

/// A sink that drops every report.
class NullProgressSink final : public ProgressSink {
  public:
    void SetProgress(int /*percent*/) override {}
    void SetStatus(const std::string& /*text*/) override {}
};

/// A shared cancel flag. Copies share the flag: the job keeps one, the UI or a
/// signal handler keeps another and calls `Cancel`. Thread-safe.
class CancelToken {
  public:
    CancelToken() : flag_(std::make_shared<std::atomic<bool>>(false)) {}
    void Cancel() const { flag_->store(true, std::memory_order_relaxed); }
    [[nodiscard]] bool IsCancelled() const { return flag_->load(std::memory_order_relaxed); }
    /// Clears the flag for a new job.
    void Reset() const { flag_->store(false, std::memory_order_relaxed); }

  private:
    std::shared_ptr<std::atomic<bool>> flag_;
};

}  // namespace pictor
