#include "core/conversion/convert_operation.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/common/pair_publication.h"
#include "core/common/regular_file.h"
#include "core/common/translatable.h"
#include "core/conversion/block_encoder.h"
#include "core/conversion/header_writer.h"
#include "core/conversion/ordered_work.h"
#include "core/conversion/pixel_encoder.h"
#include "core/conversion/resource_image.h"
#include "core/workspace/position_trailer.h"

namespace pictor::conversion {

namespace {

namespace fs = std::filesystem;
using workspace::ImageEntry;

void ShowError(MessageSink& messages, std::string text) {
    messages.Show({std::move(text), "", MessageIcon::Exclamation});
}

// An error whose text is `pattern` filled with `args`.
void ShowError(MessageSink& messages, const char* pattern, std::vector<std::string> args) {
    messages.Show(PatternMessage(pattern, std::move(args), "", MessageIcon::Exclamation));
}

// The message of an output that could not be opened: its pattern and the path.
struct OpenFailureText {
    const char* pattern;
    std::string path;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A control character in a name would break the line structure of the header.
bool HasControlCharacter(std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

bool HasUsableBitmap(const ImageEntry& entry) {
    return entry.bitmap != nullptr && entry.bitmap->width == entry.width &&
           entry.bitmap->height == entry.height;
}

SaveCalls& CallsOf(const ConvertOptions& options) {
    return options.saveCalls != nullptr ? *options.saveCalls : SystemSaveCalls();
}

// One output being written: its SaveFile and the writer into it (which the
// options' filter may wrap). The writer is destroyed before the file it writes to.
struct Output {
    std::unique_ptr<SaveFile> file;
    std::unique_ptr<OutputWriter> writer;
};

// Starts one output. When that fails, the message depends on whether the output
// exists already.
std::optional<Output> OpenOutput(const fs::path& finalPath, const ConvertOptions& options,
                                 MessageSink& messages, OpenFailureText existingText,
                                 OpenFailureText newText) {
    std::error_code error;
    const bool existed = fs::exists(finalPath, error);
    Output output;
    output.file = SaveFile::Begin(finalPath, error, CallsOf(options));
    if (output.file) {
        output.writer = std::make_unique<SaveFileWriter>(*output.file);
        if (options.writerFilter) {
            output.writer = options.writerFilter(std::move(output.writer), finalPath);
        }
    }
    if (!output.writer) {
        OpenFailureText& text = existed ? existingText : newText;
        ShowError(messages, text.pattern, {std::move(text.path)});
        return std::nullopt;
    }
    return output;
}

void ShowWriteFailed(MessageSink& messages, const fs::path& path) {
    ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "写入%1 失败!"), {Utf8FromPath(path)});
}

void ShowLoadFailed(MessageSink& messages, const ImageEntry& entry) {
    ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "加载图片 %1 错误 !"),
              {entry.text ? entry.name : entry.path});
}

// Undoes what a conversion that died between its two renames left in `directory`
// (for either output type). False, with a message per file, when a previous output
// cannot be put back: nothing may replace it then.
bool RecoverOutputs(const fs::path& directory, const ConvertOptions& options,
                    MessageSink& messages) {
    const std::array<fs::path, 3> finals = {directory / "Icon.bin", directory / "Icon.c",
                                            directory / "Icon.h"};
    const PublicationRecovery recovery = RecoverInterruptedPublications(finals, CallsOf(options));
    for (const fs::path& kept : recovery.kept) {
        ShowError(messages,
                  PICTOR_TRANSLATE_NOOP("Core",
                                        "%1 keeps an output as it was before an interrupted "
                                        "conversion, and it could not be put back; nothing was "
                                        "converted"),
                  {Utf8FromPath(kept)});
    }
    return recovery.kept.empty();
}

unsigned WorkerCount(unsigned requested) {
    if (requested > 0) {
        return requested;
    }
    return std::max(1U, std::thread::hardware_concurrency());
}

// The first pass: the layout needs only each picture's size, so every block is
// placed (and every refusal made) before any picture is decoded.
struct OutputPlan {
    explicit OutputPlan(const settings::ModelProfile& profile) : layout(profile) {}

    ResourceImageLayout layout;
    std::vector<PictureJob> jobs;
    std::string header;  // Icon.h up to its closing lines
};

bool PlanOutputs(const workspace::PictureList& list, const settings::ModelProfile& profile,
                 bool cSource, OutputPlan& plan, MessageSink& messages) {
    const bool avoidAcrossSector = profile.avoidAcrossSector != 0;
    const bool sizeToBin = profile.saveWidthHeightToBin != 0;
    plan.jobs.resize(list.Size());
    for (std::size_t order = 0; order < list.Size(); ++order) {
        const ImageEntry& entry = list.At(order);
        if (entry.bitmap != nullptr ? !HasUsableBitmap(entry) : entry.path.empty() && !entry.text) {
            ShowLoadFailed(messages, entry);
            return false;
        }
        PictureJob& job = plan.jobs[order];
        job.pixelBytes = EncodedByteCount(entry.width, entry.height, profile);
        const std::string symbol = SymbolName(entry.name);
        const std::uint64_t estimate = SectorEstimate(profile, entry.width, entry.height);
        const PrefixDimensions dimensions =
            SizePrefixDimensions(profile, entry.width, entry.height);
        if (cSource) {
            // The C source has no sector fill, but a block over one sector is
            // still refused.
            if (avoidAcrossSector && estimate > kSectorBytes) {
                ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "单个图片尺寸大于1 sector!"));
                return false;
            }
            WriteArrayOpening(job.opening, symbol);
            if (sizeToBin) {
                WriteSizePrefixText(job.opening, dimensions);
            }
        } else {
            plan.layout.AlignToUnit(job.preamble);
            if (avoidAcrossSector && !plan.layout.KeepInSector(estimate, job.preamble, messages)) {
                return false;
            }
            plan.layout.RecordBlockStart(order);
            if (sizeToBin) {
                plan.layout.WriteSizePrefix(dimensions, entry.seriesCount, job.preamble);
            }
            plan.layout.SkipPixels(job.pixelBytes);
            WriteOrderNumberLine(plan.header, symbol, order);
        }
        if (profile.saveWidthHeightToDefine != 0) {
            WriteSizeDefines(plan.header, symbol, profile, entry.width, entry.height);
        }
        if (profile.saveLeftTopToDefine != 0) {
            WritePositionDefines(plan.header, symbol, entry.left, entry.top);
        }
        job.memoryBytes = MemoryEstimate(entry, job, cSource);
    }
    return true;
}

enum class BlocksWritten { All, LoadFailed, WriteFailed };

// The second pass: pictures are decoded and encoded by the workers, as many at a
// time as the memory budget allows, and each block is written in list order as
// one piece; its pixels are dropped as soon as it is written.
BlocksWritten WriteBlocks(const workspace::PictureList& list, const OutputPlan& plan,
                          const settings::ModelProfile& profile, bool cSource,
                          const ConvertOptions& options, OutputWriter& out, MessageSink& messages) {
    const unsigned workers = WorkerCount(options.jobs);
    ScratchPool pool;
    bool loaded = true;
    const bool written = RunInOrder<EncodedBlock>(
        plan.jobs.size(), workers, InFlightLimit{std::size_t{2} * workers, options.memoryBudget},
        [&](std::size_t order) { return plan.jobs[order].memoryBytes; },
        [&](std::size_t order) {
            return EncodeBlock(list.At(order), plan.jobs[order], profile, cSource, pool);
        },
        [&](std::size_t order, EncodedBlock& block) {
            if (!block.loaded) {
                loaded = false;
                ShowLoadFailed(messages, list.At(order));
                return false;
            }
            if (cSource) {
                return out.Write(block.text);
            }
            const bool done = out.Write(block.bytes);
            pool.Give(std::move(block.bytes));
            return done;
        });
    if (!loaded) {
        return BlocksWritten::LoadFailed;
    }
    return written ? BlocksWritten::All : BlocksWritten::WriteFailed;
}

// Replaces both outputs, or neither; false with the message of what failed.
bool PublishOutputs(Output& data, Output& header, const ConvertOptions& options,
                    MessageSink& messages) {
    switch (PublishPair(*data.file, *header.file, options.afterFirstRename)) {
        case PairPublish::Published:
            return true;
        case PairPublish::FirstFailed:
            ShowWriteFailed(messages, data.file->RequestedPath());
            return false;
        case PairPublish::SecondFailed:
            ShowWriteFailed(messages, header.file->RequestedPath());
            return false;
        case PairPublish::PutBackFailed:
            ShowError(messages,
                      PICTOR_TRANSLATE_NOOP("Core",
                                            "Writing %1 failed, and the previous %2 could not "
                                            "be put back: it is kept as %3, and the next "
                                            "conversion into this folder puts it back"),
                      {Utf8FromPath(header.file->RequestedPath()),
                       Utf8FromPath(data.file->RequestedPath()),
                       Utf8FromPath(PreviousCopyPath(data.file->Target()))});
            return false;
    }
    return false;
}

// Stores each picture's position in its file; a file that cannot take the
// trailer is named, and the conversion stands.
void WriteTrailers(const workspace::PictureList& list, MessageSink& messages) {
    for (const ImageEntry& entry : list.Entries()) {
        if (entry.text) {
            continue;  // drawn from a text: there is no picture file
        }
        if (!workspace::WriteTrailer(PathFromUtf8(entry.path), entry.left, entry.top)) {
            ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "打开bin档错误! %1"), {entry.path});
        }
    }
}

// Convert after the refusals that touch nothing; fills `result`.
void ConvertSortedList(workspace::PictureList& list, const settings::ModelProfile& profile,
                       const ConvertOptions& options, MessageSink& messages,
                       ConvertResult& result) {
    const bool cSource = profile.outDataType == 1;
    fs::path directory = options.outputDir;
    if (directory.empty()) {
        std::error_code ignored;
        directory = fs::current_path(ignored);
    }
    result.dataPath = directory / (cSource ? "Icon.c" : "Icon.bin");
    result.headerPath = directory / "Icon.h";
    const std::string dataText = Utf8FromPath(result.dataPath);
    const std::string headerText = Utf8FromPath(result.headerPath);

    // A conversion that died between the two renames left a journal; the previous
    // pair goes back in place before anything else happens here.
    if (!RecoverOutputs(directory, options, messages)) {
        return;
    }
    std::optional<Output> data =
        OpenOutput(result.dataPath, options, messages,
                   {PICTOR_TRANSLATE_NOOP("Core", "打开%1 文件错误!"), dataText},
                   {PICTOR_TRANSLATE_NOOP("Core", "生成 %1 错误!.."), dataText});
    if (!data) {
        return;
    }
    std::optional<Output> header =
        OpenOutput(result.headerPath, options, messages,
                   {PICTOR_TRANSLATE_NOOP("Core", "打开存在文件%1 错误!!"), headerText},
                   {PICTOR_TRANSLATE_NOOP("Core", "生成新文件%1 错误!.."), headerText});
    if (!header) {
        return;
    }

    const std::tm time = GenerationTime();
    OutputPlan plan(profile);
    WriteGenerationTime(plan.header, time);
    OutputWriter& dataOut = *data->writer;
    bool written = true;
    if (cSource) {
        std::string opening;
        WriteGenerationTime(opening, time);
        written = dataOut.Write(opening);
    } else {
        // The table's place; the table itself is written once every block is placed.
        static constexpr std::array<std::uint8_t, kTableBytes> kEmptyTable{};
        written = dataOut.Write(kEmptyTable);
    }
    if (!PlanOutputs(list, profile, cSource, plan, messages)) {
        return;
    }
    if (written) {
        const BlocksWritten blocks =
            WriteBlocks(list, plan, profile, cSource, options, dataOut, messages);
        if (blocks == BlocksWritten::LoadFailed) {
            return;
        }
        written = blocks == BlocksWritten::All;
    }
    if (written) {
        if (cSource) {
            std::string closing;
            WriteClosingLines(closing);
            written = dataOut.Write(closing);
        } else {
            const auto table = EncodeIndexTable(plan.layout.Table());
            written = dataOut.Overwrite(0, table.data(), table.size());
        }
    }
    if (!written || !dataOut.Finish()) {
        ShowWriteFailed(messages, result.dataPath);
        return;
    }
    WriteClosingLines(plan.header);
    if (!header->writer->Write(plan.header) || !header->writer->Finish()) {
        ShowWriteFailed(messages, result.headerPath);
        return;
    }
    if (!PublishOutputs(*data, *header, options, messages)) {
        return;
    }

    if (options.writeTrailers) {
        WriteTrailers(list, messages);
    }
    if (!cSource) {
        result.imageBytes = plan.layout.Counter();
        result.map = BuildMemoryMap(plan.layout, list, options.flashCapacity);
        result.exceedsFlash = result.imageBytes > options.flashCapacity;
        if (result.exceedsFlash) {
            ShowError(messages,
                      PICTOR_TRANSLATE_NOOP("Core",
                                            "%1 is %2 bytes, more than the flash's %3 bytes; it "
                                            "does not fit in the module"),
                      {Utf8FromPath(result.dataPath), std::to_string(result.imageBytes),
                       std::to_string(options.flashCapacity)});
        }
    }
    result.success = true;
    result.pictureCount = static_cast<int>(list.Size());
    messages.Show({PICTOR_TRANSLATE_NOOP("Core", "转档成功"), "", MessageIcon::Information});
}

}  // namespace

std::optional<std::uint64_t> FlashTypeCapacity(std::string_view flashTypeText) {
    std::uint64_t megabits = 0;
    std::size_t digits = 0;
    while (digits < flashTypeText.size() && IsDigit(flashTypeText[digits]) && megabits < 1000000) {
        megabits = megabits * 10 + static_cast<std::uint64_t>(flashTypeText[digits] - '0');
        ++digits;
    }
    if (megabits == 0) {
        return std::nullopt;
    }
    return megabits * (std::uint64_t{1} << 20) / 8;
}

void GroupSeries(workspace::PictureList& list) {
    struct Series {
        std::string prefix;
        int count = 0;
    };
    std::vector<Series> finished;
    Series current;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        ImageEntry& entry = list.At(i);
        const std::string& name = entry.name;
        const std::size_t tailLength = std::min<std::size_t>(2, name.size());
        const std::string_view tail = std::string_view(name).substr(name.size() - tailLength);
        const bool endsInDigits = std::all_of(tail.begin(), tail.end(), IsDigit);
        if (!endsInDigits) {
            entry.seriesName.clear();
            continue;
        }
        std::string prefix = name.substr(0, name.size() - tailLength);
        entry.seriesName = prefix;
        if (prefix != current.prefix) {
            finished.push_back(std::move(current));
            current = Series{std::move(prefix), 1};
        } else {
            ++current.count;
        }
    }
    finished.push_back(std::move(current));

    for (std::size_t i = 0; i < list.Size(); ++i) {
        ImageEntry& entry = list.At(i);
        entry.seriesCount = 0;
        if (entry.seriesName.empty()) {
            continue;
        }
        for (const Series& series : finished) {
            if (series.prefix == entry.seriesName) {
                entry.seriesCount = series.count;
            }
        }
    }
}

ConvertResult Convert(workspace::PictureList& list, const settings::ModelProfile& profile,
                      const ConvertOptions& options, MessageSink& messages) {
    ConvertResult result;
    if (list.Empty()) {
        return result;
    }
    // Refusals come before anything is touched.
    if (!settings::IsSupportedDepth(profile.colorDepth)) {
        ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "颜色深度 %1 无效!"),
                  {std::to_string(profile.colorDepth)});
        return result;
    }
    if (list.Size() > kTableEntries) {
        ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "图片数量超过512!"));
        return result;
    }
    for (const ImageEntry& entry : list.Entries()) {
        if (HasControlCharacter(entry.name)) {
            ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "图片名称 %1 无效!"), {entry.name});
            return result;
        }
    }

    list.SortByName();
    GroupSeries(list);
    try {
        ConvertSortedList(list, profile, options, messages, result);
    } catch (const std::bad_alloc&) {
        // Pictures refuse themselves when they do not fit; this is the rest.
        result.success = false;
        ShowWriteFailed(messages, result.dataPath);
    }
    return result;
}

}  // namespace pictor::conversion
