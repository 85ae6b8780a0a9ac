#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/common/save_file.h"

namespace pictor::conversion {

/// Destination of one generated file. Failures are sticky: after a call has
/// failed, every later call fails too and `Finish` reports false, so a writer can
/// be used without checking every call as long as `Finish` is checked.
/// Not thread-safe; one writer belongs to one conversion.
class OutputWriter {
  public:
    virtual ~OutputWriter() = default;

    /// Appends `size` bytes behind what was written so far.
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    /// Replaces bytes that were already written, starting at byte `offset`.
    virtual bool Overwrite(std::uint64_t offset, const std::uint8_t* data, std::size_t size) = 0;
    /// Flushes everything to the file and closes it; false when any write, the
    /// flush or the close failed.
    virtual bool Finish() = 0;

    bool Write(std::span<const std::uint8_t> bytes) { return Write(bytes.data(), bytes.size()); }
    bool Write(std::string_view text) {
        return Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
};

/// An `OutputWriter` into a SaveFile (its temporary file); `Finish` finishes the
/// SaveFile (flush, sync, close), which is then ready to be published.
class SaveFileWriter final : public OutputWriter {
  public:
    explicit SaveFileWriter(SaveFile& file) : file_(file) {}

    bool Write(const std::uint8_t* data, std::size_t size) override {
        return file_.Write(std::span(data, size));
    }
    bool Overwrite(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
        return file_.Overwrite(offset, std::span(data, size));
    }
    bool Finish() override { return file_.Finish(); }
    using OutputWriter::Write;

  private:
    SaveFile& file_;
};

}  // namespace pictor::conversion
