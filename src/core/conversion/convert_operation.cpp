#include "core/conversion/convert_operation.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/conversion/header_writer.h"
#include "core/conversion/pixel_encoder.h"
#include "core/conversion/resource_image.h"
#include "core/workspace/position_trailer.h"

namespace pictor::conversion {

namespace {

using workspace::ImageEntry;

void ShowError(MessageSink& messages, std::string text) {
    messages.Show({std::move(text), "", MessageIcon::Exclamation});
}

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
                                       std::string existingText, std::string newText) {
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
        ShowError(messages, existed ? std::move(existingText) : std::move(newText));
    }
    return staged;
}

std::string WriteFailedText(const std::filesystem::path& path) {
    return "写入" + path.string() + " 失败!";
}

}  // namespace

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
        ShowError(messages, "颜色深度 " + std::to_string(profile.colorDepth) + " 无效!");
        return result;
    }
    if (list.Size() > kTableEntries) {
        ShowError(messages, "图片数量超过512!");
        return result;
    }
    for (const ImageEntry& entry : list.Entries()) {
        if (HasControlCharacter(entry.name)) {
            ShowError(messages, "图片名称 " + entry.name + " 无效!");
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
    const std::string dataText = result.dataPath.string();
    const std::string headerText = result.headerPath.string();

    // A conversion that died between the two renames left a journal; the previous
    // pair goes back in place before anything else happens here.
    RecoverInterruptedPublish(directory / "Icon.bin", result.headerPath);
    RecoverInterruptedPublish(directory / "Icon.c", result.headerPath);

    const std::unique_ptr<StagedFile> data =
        OpenOutput(result.dataPath, options, messages, "打开" + dataText + " 文件错误!",
                   "生成 " + dataText + " 错误!..");
    if (!data) {
        return result;
    }
    const std::unique_ptr<StagedFile> header =
        OpenOutput(result.headerPath, options, messages, "打开存在文件" + headerText + " 错误!!",
                   "生成新文件" + headerText + " 错误!..");
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

    ResourceImageLayout layout(profile);
    std::vector<std::uint8_t> block;
    std::string arrayText;
    const bool avoidAcrossSector = profile.avoidAcrossSector != 0;
    const bool sizeToBin = profile.saveWidthHeightToBin != 0;
    for (std::size_t order = 0; order < list.Size() && written; ++order) {
        const ImageEntry& entry = list.At(order);
        if (!HasUsableBitmap(entry)) {
            ShowError(messages, "加载图片 " + entry.path + " 错误 !");
            return result;
        }
        const std::string symbol = SymbolName(entry.name);
        const std::uint64_t estimate = SectorEstimate(profile, entry.width, entry.height);
        const PrefixDimensions dimensions =
            SizePrefixDimensions(profile, entry.width, entry.height);
        bool encoded = true;
        if (cSource) {
            // The C source has no sector fill, but a block over one sector is
            // still refused.
            if (avoidAcrossSector && estimate > kSectorBytes) {
                ShowError(messages, "单个图片尺寸大于1 sector!");
                return result;
            }
            arrayText.clear();
            WriteArrayOpening(arrayText, symbol);
            if (sizeToBin) {
                WriteSizePrefixText(arrayText, dimensions);
            }
            encoded = EncodePicture(*entry.bitmap, profile, arrayText);
            WriteArrayClosing(arrayText);
            written = dataOut.Write(arrayText);
        } else {
            block.clear();
            layout.AlignToUnit(block);
            if (avoidAcrossSector && !layout.KeepInSector(estimate, block, messages)) {
                return result;
            }
            layout.RecordBlockStart(order);
            if (sizeToBin) {
                layout.WriteSizePrefix(dimensions, entry.seriesCount, block);
            }
            encoded = layout.WritePixels(*entry.bitmap, block);
            written = dataOut.Write(block);
            WriteOrderNumberLine(headerOut, symbol, order);
        }
        if (!encoded) {
            ShowError(messages, "加载图片 " + entry.path + " 错误 !");
            return result;
        }
        if (profile.saveWidthHeightToDefine != 0) {
            WriteSizeDefines(headerOut, symbol, profile, entry.width, entry.height);
        }
        if (profile.saveLeftTopToDefine != 0) {
            WritePositionDefines(headerOut, symbol, entry.left, entry.top);
        }
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
        ShowError(messages, WriteFailedText(result.dataPath));
        return result;
    }
    WriteClosingLines(headerOut);
    if (!header->Writer().Write(headerOut) || !header->Finish()) {
        ShowError(messages, WriteFailedText(result.headerPath));
        return result;
    }
    switch (PublishPair(*data, *header, options.afterFirstRename)) {
        case PairPublish::Published:
            break;
        case PairPublish::FirstFailed:
            ShowError(messages, WriteFailedText(result.dataPath));
            return result;
        case PairPublish::SecondFailed:
            ShowError(messages, WriteFailedText(result.headerPath));
            return result;
    }

    if (options.writeTrailers) {
        for (const ImageEntry& entry : list.Entries()) {
            if (!workspace::WriteTrailer(entry.path, entry.left, entry.top)) {
                ShowError(messages, "打开bin档错误!");
            }
        }
    }

    result.success = true;
    result.pictureCount = static_cast<int>(list.Size());
    messages.Show({"转档成功", "", MessageIcon::Information});
    return result;
}

}  // namespace pictor::conversion
