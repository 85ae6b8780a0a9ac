#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "core/common/message.h"
#include "core/common/pair_publication.h"
#include "core/common/save_calls.h"
#include "core/conversion/memory_map.h"
#include "core/conversion/output_writer.h"
#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"

namespace pictor::conversion {

/// Numbers the series of the list: a picture whose name ends in two ASCII digits
/// gets `seriesName` = the name without them, others an empty `seriesName`; a
/// series is a run (in list order) of such pictures with the same prefix, where
/// pictures without the two digits do not interrupt a run. Every picture with a
/// non-empty `seriesName` gets as `seriesCount` the length of the last run of its
/// prefix; others get 0.
void GroupSeries(workspace::PictureList& list);

/// Wraps the writer of an output file; lets tests inject write failures.
using WriterFilter = std::function<std::unique_ptr<OutputWriter>(
    std::unique_ptr<OutputWriter> writer, const std::filesystem::path& finalPath)>;

/// Capacity of the largest flash a module carries (256 Mbit), in bytes.
inline constexpr std::uint64_t kLargestFlashBytes = std::uint64_t{32} << 20;

/// The memory the pictures being decoded and encoded may take at a time, in bytes
/// (see ConvertOptions::memoryBudget).
inline constexpr std::uint64_t kDefaultMemoryBudget = std::uint64_t{256} << 20;

/// The capacity a flash-type text names ("64Mbit" → 8 MiB: its leading number in
/// megabits), or nothing when the text starts with no positive number.
std::optional<std::uint64_t> FlashTypeCapacity(std::string_view flashTypeText);

struct ConvertOptions {
    /// Directory of the outputs; empty means the working directory.
    std::filesystem::path outputDir;
    /// Store each picture's position in the trailer of its file.
    bool writeTrailers = true;
    /// Optional wrapper around each output's writer (tests).
    WriterFilter writerFilter;
    /// Called between the renames of the two outputs (tests: a failure or a crash there).
    PublishHook afterFirstRename;
    /// The file-system calls that save the outputs; null means the system's (tests
    /// record or fail them).
    SaveCalls* saveCalls = nullptr;
    /// Threads that decode and encode pictures; 0 means one per processor core. The
    /// outputs are the same for every count.
    unsigned jobs = 0;
    /// Bytes the pictures in flight (decoded and encoded, not yet written) may take
    /// together; a picture that alone takes more is converted on its own.
    std::uint64_t memoryBudget = kDefaultMemoryBudget;
    /// Flash capacity the resource image is checked against, in bytes.
    std::uint64_t flashCapacity = kLargestFlashBytes;
};

struct ConvertResult {
    bool success = false;
    std::filesystem::path dataPath;    // Icon.bin, or Icon.c with C source output
    std::filesystem::path headerPath;  // Icon.h
    int pictureCount = 0;
    std::uint64_t imageBytes = 0;  // size of Icon.bin (0 for C source)
    bool exceedsFlash = false;     // imageBytes > ConvertOptions::flashCapacity
    /// Where every picture went in Icon.bin, against ConvertOptions::flashCapacity;
    /// nothing for C source output, which has no binary layout.
    std::optional<MemoryMap> map;
};

/// Converts the whole picture list into the resource image (`Icon.bin`, or C
/// source `Icon.c` with `outDataType` 1) and the header `Icon.h` in the output
/// directory.
///
/// An empty list does nothing and shows nothing. A profile depth other than 1, 2,
/// 4, 8, 16, 24, more than 512 pictures, or a name with a control character are
/// refused before anything is touched. Otherwise the list is sorted by name and
/// its series numbered. A publication that a crash interrupted is rolled back
/// first (see RecoverInterruptedPublications); when a previous output cannot be
/// put back, nothing is converted. Then both outputs are saved (see SaveFile: the
/// mode of the files they replace is kept, a symbolic link stays a link) and
/// published together (see PublishPair): both are replaced or neither, and any
/// failure leaves the previous outputs as they were. Pictures are decoded and
/// encoded a few at a time, within `memoryBudget`; a picture that cannot be
/// decoded or does not fit in the memory at hand shows "加载图片 %1 错误 !" and
/// ends the conversion. After the outputs are in place the position trailers are
/// written when `writeTrailers` is set (a file that cannot take its trailer shows
/// "打开bin档错误! %1" with its path, and the conversion goes on). An `Icon.bin`
/// larger than `flashCapacity` gives a warning with both sizes (exclamation icon)
/// and `exceedsFlash`; the conversion still succeeds. Success shows "转档成功";
/// every failure shows its message (exclamation icon) and returns `success`
/// false. Runs on the caller's thread; the list must not be used elsewhere
/// meanwhile.
ConvertResult Convert(workspace::PictureList& list, const settings::ModelProfile& profile,
                      const ConvertOptions& options, MessageSink& messages);

}  // namespace pictor::conversion
