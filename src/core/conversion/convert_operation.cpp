#include "core/conversion/convert_operation.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "core/common/regular_file.h"
#include "core/common/translatable.h"
#include "core/conversion/dither.h"
#include "core/conversion/header_writer.h"
#include "core/conversion/ordered_work.h"
#include "core/conversion/picture_profile.h"
#include "core/conversion/pixel_encoder.h"
#include "core/conversion/resource_image.h"
#include "core/workspace/entry_pictures.h"
#include "core/workspace/position_trailer.h"

namespace pictor::conversion {

namespace {

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

// Opens the staged (temporary) file of one output. When that fails, the message
// depends on whether the output exists already.
std::unique_ptr<StagedFile> OpenOutput(const std::filesystem::path& finalPath,
                                       const ConvertOptions& options, MessageSink& messages,
                                       OpenFailureText existingText, OpenFailureText newText) {
    std::error_code ignored;
    const bool existed = std::filesystem::exists(finalPath, ignored);
    std::unique_ptr<StagedFile> staged = StagedFile::Create(finalPath);
    if (staged && options.writerFilter) {
        const bool wrapped = staged->WrapWriter([&](std::unique_ptr<OutputWriter> writer) {
            return options.writerFilter(std::move(writer), finalPath);
        });
        if (!wrapped) {
            staged.reset();
        }
    }
    if (!staged) {
        OpenFailureText& text = existed ? existingText : newText;
        ShowError(messages, text.pattern, {std::move(text.path)});
    }
    return staged;
}

void ShowWriteFailed(MessageSink& messages, const std::filesystem::path& path) {
    ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "写入%1 失败!"), {Utf8FromPath(path)});
}

void ShowLoadFailed(MessageSink& messages, const ImageEntry& entry) {
    ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "加载图片 %1 错误 !"),
              {entry.text ? entry.name : entry.path});
}

unsigned WorkerCount(unsigned requested) {
    if (requested > 0) {
        return requested;
    }
    return std::max(1U, std::thread::hardware_concurrency());
}

// One picture's place in the outputs, planned before any picture is decoded.
struct PictureJob {
    std::vector<std::uint8_t> preamble;  // binary: alignment, sector fill, size prefix
    std::string opening;                 // C source: array opening and size prefix text
    std::uint64_t pixelBytes = 0;
};

// One picture's finished block: the preamble and the encoded pixels.
struct EncodedBlock {
    bool loaded = false;
    std::vector<std::uint8_t> bytes;
    std::string text;
};

// Buffers that finished blocks hand back for the next pictures, so that the
// workers do not take fresh memory (and its page faults) for every picture. Holds
// at most as many buffers as blocks are in flight.
class ScratchPool {
  public:
    std::vector<std::uint8_t> Take() {
        const std::lock_guard lock(mutex_);
        if (free_.empty()) {
            return {};
        }
        std::vector<std::uint8_t> buffer = std::move(free_.back());
        free_.pop_back();
        return buffer;
    }
    // The buffer keeps its size: a later resize then clears only what it adds.
    void Give(std::vector<std::uint8_t> buffer) {
        const std::lock_guard lock(mutex_);
        free_.push_back(std::move(buffer));
    }

  private:
    std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> free_;
};

// Encodes one picture: from the list's decoded bitmap when the entry has one,
// otherwise decoded from its file now (and dropped with the block). A file that
// no longer loads at the size the layout used gives `loaded` false.
EncodedBlock EncodeBlock(const ImageEntry& entry, const PictureJob& job,
                         const settings::ModelProfile& modelProfile, bool cSource,
                         ScratchPool& pool) {
    EncodedBlock block;
    std::optional<settings::ModelProfile> ownProfile;
    if (HasOwnProfile(modelProfile, entry.operations)) {
        ownProfile = PictureProfile(modelProfile, entry.operations);
    }
    const settings::ModelProfile& profile = ownProfile ? *ownProfile : modelProfile;
    std::optional<workspace::PictureRows> rows;
    // Dithering diffuses errors between neighbours, so it works on the whole
    // decoded picture; without it the encoder reads the file's rows directly.
    std::optional<workspace::PixelImage> decoded;
    const workspace::PixelImage* picture = entry.bitmap.get();
    if (Dithers(profile)) {
        if (picture == nullptr) {
            decoded = workspace::LoadEntryPicture(entry);
            if (!decoded) {
                return block;
            }
            picture = &*decoded;
        }
    } else if (picture == nullptr) {
        rows = workspace::OpenEntryRows(entry, pool.Take());
        if (!rows) {
            return block;
        }
    }
    struct ReturnFileBuffer {
        std::optional<workspace::PictureRows>& rows;
        ScratchPool& pool;
        ~ReturnFileBuffer() {
            if (rows) {
                pool.Give(std::move(*rows).TakeBuffer());
            }
        }
    } returnFileBuffer{rows, pool};
    const auto encode = [&](auto& out) {
        return rows ? EncodePicture(*rows, profile, out) : EncodeDithered(*picture, profile, out);
    };
    if (cSource) {
        block.text = job.opening;
        block.loaded = encode(block.text);
        WriteArrayClosing(block.text);
    } else {
        block.bytes = pool.Take();
        block.bytes.reserve(job.preamble.size() + static_cast<std::size_t>(job.pixelBytes));
        block.bytes.assign(job.preamble.begin(), job.preamble.end());
        block.loaded =
            encode(block.bytes) && block.bytes.size() == job.preamble.size() + job.pixelBytes;
    }
    return block;
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

    const bool cSource = profile.outDataType == 1;
    std::filesystem::path directory = options.outputDir;
    if (directory.empty()) {
        std::error_code ignored;
        directory = std::filesystem::current_path(ignored);
    }
    result.dataPath = directory / (cSource ? "Icon.c" : "Icon.bin");
    result.headerPath = directory / "Icon.h";
    const std::string dataText = Utf8FromPath(result.dataPath);
    const std::string headerText = Utf8FromPath(result.headerPath);

    // A conversion that died between the two renames left a journal; the previous
    // pair goes back in place before anything else happens here.
    RecoverInterruptedPublish(directory / "Icon.bin", result.headerPath);
    RecoverInterruptedPublish(directory / "Icon.c", result.headerPath);

    const std::unique_ptr<StagedFile> data =
        OpenOutput(result.dataPath, options, messages,
                   {PICTOR_TRANSLATE_NOOP("Core", "打开%1 文件错误!"), dataText},
                   {PICTOR_TRANSLATE_NOOP("Core", "生成 %1 错误!.."), dataText});
    if (!data) {
        return result;
    }
    const std::unique_ptr<StagedFile> header =
        OpenOutput(result.headerPath, options, messages,
                   {PICTOR_TRANSLATE_NOOP("Core", "打开存在文件%1 错误!!"), headerText},
                   {PICTOR_TRANSLATE_NOOP("Core", "生成新文件%1 错误!.."), headerText});
    if (!header) {
        return result;
    }

    const std::tm time = GenerationTime();
    std::string headerOut;
    WriteGenerationTime(headerOut, time);
    OutputWriter& dataOut = data->Writer();
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

    // First pass: the layout needs only each picture's size, so every block is
    // placed (and every refusal made) before any picture is decoded.
    ResourceImageLayout layout(profile);
    std::vector<PictureJob> jobs(list.Size());
    const bool avoidAcrossSector = profile.avoidAcrossSector != 0;
    const bool sizeToBin = profile.saveWidthHeightToBin != 0;
    for (std::size_t order = 0; order < list.Size(); ++order) {
        const ImageEntry& entry = list.At(order);
        if (entry.bitmap != nullptr ? !HasUsableBitmap(entry) : entry.path.empty() && !entry.text) {
            ShowLoadFailed(messages, (entry));
            return result;
        }
        PictureJob& job = jobs[order];
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
                return result;
            }
            WriteArrayOpening(job.opening, symbol);
            if (sizeToBin) {
                WriteSizePrefixText(job.opening, dimensions);
            }
        } else {
            layout.AlignToUnit(job.preamble);
            if (avoidAcrossSector && !layout.KeepInSector(estimate, job.preamble, messages)) {
                return result;
            }
            layout.RecordBlockStart(order);
            if (sizeToBin) {
                layout.WriteSizePrefix(dimensions, entry.seriesCount, job.preamble);
            }
            layout.SkipPixels(job.pixelBytes);
            WriteOrderNumberLine(headerOut, symbol, order);
        }
        if (profile.saveWidthHeightToDefine != 0) {
            WriteSizeDefines(headerOut, symbol, profile, entry.width, entry.height);
        }
        if (profile.saveLeftTopToDefine != 0) {
            WritePositionDefines(headerOut, symbol, entry.left, entry.top);
        }
    }

    // Second pass: pictures are decoded and encoded by the workers, a few at a time,
    // and each block is written in list order as one piece; its pixels are dropped
    // as soon as it is written.
    const unsigned workers = WorkerCount(options.jobs);
    ScratchPool pool;
    bool loaded = true;
    written =
        written && RunInOrder<EncodedBlock>(
                       jobs.size(), workers, std::size_t{2} * workers,
                       [&](std::size_t order) {
                           return EncodeBlock(list.At(order), jobs[order], profile, cSource, pool);
                       },
                       [&](std::size_t order, EncodedBlock& block) {
                           if (!block.loaded) {
                               loaded = false;
                               ShowLoadFailed(messages, (list.At(order)));
                               return false;
                           }
                           if (cSource) {
                               return dataOut.Write(block.text);
                           }
                           const bool done = dataOut.Write(block.bytes);
                           pool.Give(std::move(block.bytes));
                           return done;
                       });
    if (!loaded) {
        return result;
    }

    if (written) {
        if (cSource) {
            std::string closing;
            WriteClosingLines(closing);
            written = dataOut.Write(closing);
        } else {
            const auto table = EncodeIndexTable(layout.Table());
            written = dataOut.Overwrite(0, table.data(), table.size());
        }
    }
    if (!written || !data->Finish()) {
        ShowWriteFailed(messages, (result.dataPath));
        return result;
    }
    WriteClosingLines(headerOut);
    if (!header->Writer().Write(headerOut) || !header->Finish()) {
        ShowWriteFailed(messages, (result.headerPath));
        return result;
    }
    switch (PublishPair(*data, *header, options.afterFirstRename)) {
        case PairPublish::Published:
            break;
        case PairPublish::FirstFailed:
            ShowWriteFailed(messages, (result.dataPath));
            return result;
        case PairPublish::SecondFailed:
            ShowWriteFailed(messages, (result.headerPath));
            return result;
    }

    if (options.writeTrailers) {
        for (const ImageEntry& entry : list.Entries()) {
            if (entry.text) {
                continue;  // drawn from a text: there is no picture file
            }
            if (!workspace::WriteTrailer(PathFromUtf8(entry.path), entry.left, entry.top)) {
                ShowError(messages, PICTOR_TRANSLATE_NOOP("Core", "打开bin档错误!"));
            }
        }
    }

    if (!cSource) {
        result.imageBytes = layout.Counter();
        result.map = BuildMemoryMap(layout, list, options.flashCapacity);
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
    return result;
}

}  // namespace pictor::conversion
