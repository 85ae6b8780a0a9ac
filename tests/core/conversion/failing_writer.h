#pragma once

#include <cstdint>
#include <memory>

#include "core/conversion/output_writer.h"

namespace pictor::conversion::testing {

/// Forwards to another writer until `budget` bytes have been written, then fails
/// like a full disk: the write that crosses the budget writes what fits and
/// reports failure, and so does every later call. With `failFinish` the final
/// flush fails even within the budget.
class FailingWriter final : public OutputWriter {
  public:
    FailingWriter(std::unique_ptr<OutputWriter> inner, std::uint64_t budget,
                  bool failFinish = false)
        : inner_(std::move(inner)), budget_(budget), failFinish_(failFinish) {}

    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (failed_ || size > budget_) {
            if (!failed_) {
                inner_->Write(data, static_cast<std::size_t>(budget_));
            }
            failed_ = true;
            return false;
        }
        budget_ -= size;
        return inner_->Write(data, size);
    }
    bool Overwrite(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
        return !failed_ && inner_->Overwrite(offset, data, size);
    }
    bool Finish() override {
        const bool inner = inner_->Finish();
        return inner && !failed_ && !failFinish_;
    }
    using OutputWriter::Write;

  private:
    std::unique_ptr<OutputWriter> inner_;
    std::uint64_t budget_;
    bool failFinish_;
    bool failed_ = false;
};

}  // namespace pictor::conversion::testing
