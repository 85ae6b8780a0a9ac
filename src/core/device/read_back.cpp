#include "core/device/read_back.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"

namespace pictor::device {

namespace {

/// Walks the image's sectors in order, reading those of `readRuns` from the module
/// and taking the others from the image, and appends each to the backup file.
/// Ok when every read arrived and every write to the file succeeded; `equal` tells
/// whether the sectors read matched the image.
Outcome BackUpAll(DeviceProtocol& protocol, std::span<const std::uint8_t> image,
                  std::uint32_t startSector, std::span<const SectorRun> readRuns,
                  std::ofstream& backup, ProgressSink& progress, bool& equal) {
    std::uint64_t total = 0;
    for (const SectorRun& run : readRuns) {
        total += std::uint64_t{run.count} * kSectorBytes;
    }
    std::uint64_t remaining = total;
    auto run = readRuns.begin();
    std::array<std::uint8_t, kSectorBytes> data{};
    // Images are whole sectors; a trailing partial sector is never read back.
    const std::uint32_t sectors = static_cast<std::uint32_t>(image.size() / kSectorBytes);
    for (std::uint32_t sector = 0; sector < sectors; ++sector) {
        while (run != readRuns.end() && sector >= run->first + run->count) {
            ++run;
        }
        const auto expected = image.subspan(std::size_t{sector} * kSectorBytes, kSectorBytes);
        if (run != readRuns.end() && sector >= run->first) {
            const Outcome outcome = protocol.ReadSector(startSector + sector, data);
            if (outcome != Outcome::Ok) {
                return outcome;
            }
            equal = equal && std::equal(data.begin(), data.end(), expected.begin());
            remaining -= kSectorBytes;
            const int percent = DeviceProtocol::RunPercent(total, remaining);
            progress.SetProgress(percent);
            progress.SetStatus(
                FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "读数据...%d %%"), percent));
        } else {
            std::copy(expected.begin(), expected.end(), data.begin());
        }
        backup.write(reinterpret_cast<const char*>(data.data()),
                     static_cast<std::streamsize>(data.size()));
        if (!backup) {
            return Outcome::Failed;
        }
    }
    return Outcome::Ok;
}

}  // namespace

Outcome VerifyAndBackUp(DeviceProtocol& protocol, std::span<const std::uint8_t> image,
                        std::uint32_t startSector, const std::filesystem::path& directory,
                        ProgressSink& progress, MessageSink& messages) {
    const SectorRun all = AllSectors(image.size());
    return VerifyAndBackUp(protocol, image, startSector, std::span(&all, 1), directory, progress,
                           messages);
}

Outcome VerifyAndBackUp(DeviceProtocol& protocol, std::span<const std::uint8_t> image,
                        std::uint32_t startSector, std::span<const SectorRun> readRuns,
                        const std::filesystem::path& directory, ProgressSink& progress,
                        MessageSink& messages) {
    progress.SetProgress(0);
    progress.SetStatus(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "读数据%d %%"), 0));
    const std::filesystem::path backupPath =
        directory.empty() ? std::filesystem::path(kBackupFileName) : directory / kBackupFileName;
    std::ofstream backup(backupPath, std::ios::binary | std::ios::trunc);
    if (!backup) {
        messages.Show(PatternMessage(PICTOR_TRANSLATE_NOOP("Core", "打开文件失败%1"),
                                     {Utf8FromPath(backupPath)},
                                     PICTOR_TRANSLATE_NOOP("Core", "错误信息"), MessageIcon::Stop));
        return Outcome::Failed;
    }
    protocol.DrainInput();
    progress.SetProgress(0);
    progress.SetStatus(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "读数据%d %%"), 0));
    protocol.PurgeInput();
    bool equal = image.size() % kSectorBytes == 0;
    Outcome outcome = BackUpAll(protocol, image, startSector, readRuns, backup, progress, equal);
    if (outcome == Outcome::Ok && !equal) {
        outcome = Outcome::Failed;
    }
    backup.close();
    if (outcome == Outcome::Ok && !backup) {
        outcome = Outcome::Failed;
    }
    progress.SetProgress(90);
    progress.SetStatus(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "读数据%d %%"), 90));
    return outcome;
}

}  // namespace pictor::device
