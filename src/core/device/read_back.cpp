#include "core/device/read_back.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"

namespace pictor::device {

namespace {

Outcome ReadAll(DeviceProtocol& protocol, std::span<std::uint8_t> readBack,
                std::uint32_t startSector, std::ofstream& backup, ProgressSink& progress) {
    const std::uint64_t total = readBack.size();
    std::uint64_t remaining = total;
    std::uint32_t sector = startSector;
    while (remaining > 0) {
        auto data =
            readBack.subspan(static_cast<std::size_t>(total - remaining)).first<kSectorBytes>();
        const Outcome outcome = protocol.ReadSector(sector, data);
        if (outcome != Outcome::Ok) {
            return outcome;
        }
        backup.write(reinterpret_cast<const char*>(data.data()),
                     static_cast<std::streamsize>(data.size()));
        if (!backup) {
            return Outcome::Failed;
        }
        ++sector;
        remaining -= kSectorBytes;
        const int percent = DeviceProtocol::RunPercent(total, remaining);
        progress.SetProgress(percent);
        progress.SetStatus(
            FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "读数据...%d %%"), percent));
    }
    return Outcome::Ok;
}

}  // namespace

Outcome VerifyAndBackUp(DeviceProtocol& protocol, std::span<const std::uint8_t> image,
                        std::uint32_t startSector, const std::filesystem::path& directory,
                        ProgressSink& progress, MessageSink& messages) {
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
    // Images are whole sectors; a trailing partial sector is never read back.
    std::vector<std::uint8_t> readBack(image.size() / kSectorBytes * kSectorBytes);
    protocol.DrainInput();
    progress.SetProgress(0);
    progress.SetStatus(FormatPercentText(PICTOR_TRANSLATE_NOOP("Core", "读数据%d %%"), 0));
    protocol.PurgeInput();
    Outcome outcome = ReadAll(protocol, readBack, startSector, backup, progress);
    if (outcome == Outcome::Ok && (readBack.size() != image.size() ||
                                   !std::equal(readBack.begin(), readBack.end(), image.begin()))) {
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
