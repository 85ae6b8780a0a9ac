#include "core/workspace/picture_import.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "core/common/out_of_memory.h"
#include "core/common/regular_file.h"
#include "core/common/translatable.h"
#include "core/workspace/name_compare.h"
#include "core/workspace/picture_loader.h"
#include "core/workspace/position_trailer.h"

namespace pictor::workspace {

namespace {

// Opens the file the way the import checks it and reads its trailer. Returns nothing
// when the file cannot be opened. Only a regular file is opened (never blocking on a
// FIFO or a device). The open is not exclusive: POSIX has no share modes, and an
// advisory lock would not keep other programs out either.
std::optional<TrailerPosition> OpenAndReadTrailer(const std::filesystem::path& path,
                                                  bool forWriting) {
    const std::optional<RegularFile> file =
        RegularFile::Open(path, forWriting ? FileAccess::ReadWrite : FileAccess::Read);
    if (!file) {
        return std::nullopt;
    }
    return ReadTrailer(*file).value_or(TrailerPosition{});
}

// What the import learns from one file: its size (nothing when it does not load),
// its trailer position when the same open read it, and the decoded picture and its
// thumbnail when the pixels are kept.
struct ImportedFile {
    std::optional<PictureSize> size;
    std::optional<TrailerPosition> position;
    std::optional<PixelImage> picture;
    PixelImage thumbnail;
};

ImportedFile ReadPictureFile(const std::filesystem::path& filePath, const ImportOptions& options) {
    ImportedFile read;
    if (options.keepPixels) {
        read.picture = LoadPicture(filePath);
        if (read.picture) {
            read.size = PictureSize{read.picture->width, read.picture->height};
            // Taken here, so that running out of memory refuses the picture as a whole.
            read.thumbnail = MakeThumbnail(*read.picture);
        }
    } else if (const std::optional<RegularFile> file = RegularFile::Open(
                   filePath, options.openForWriting ? FileAccess::ReadWrite : FileAccess::Read)) {
        // One open for the probe and the trailer: an import of hundreds of
        // pictures spends a good part of its time opening files.
        read.size = ProbePicture(*file);
        if (read.size) {
            read.position = ReadTrailer(*file).value_or(TrailerPosition{});
        }
    } else {
        // The file does not open as asked: probing it on its own decides which
        // of the two messages the user gets.
        read.size = ProbePicture(filePath);
    }
    return read;
}

}  // namespace

int ImportPictures(PictureList& list, const std::vector<std::string>& paths, MessageSink& messages,
                   const ImportOptions& options) {
    int added = 0;
    for (const std::string& path : paths) {
        const std::filesystem::path filePath = PathFromUtf8(path);
        // A picture too large for the memory at hand does not load, like a damaged one.
        ImportedFile read =
            RefuseWhenOutOfMemory([&] { return ReadPictureFile(filePath, options); });
        std::optional<PictureSize>& size = read.size;
        std::optional<TrailerPosition>& position = read.position;
        if (!size) {
            messages.Show(PatternMessage(PICTOR_TRANSLATE_NOOP("Core", "加载图片 %1 错误 !"),
                                         {path}, "", MessageIcon::Exclamation));
            continue;
        }
        if (!position) {
            position = OpenAndReadTrailer(filePath, options.openForWriting);
        }
        if (!position) {
            messages.Show(PatternMessage(PICTOR_TRANSLATE_NOOP("Core", "打开 %1 错误 !"), {path},
                                         "", MessageIcon::Exclamation));
            continue;
        }

        ImageEntry entry;
        entry.path = path;
        entry.name = DeriveName(path);
        entry.width = size->width;
        entry.height = size->height;
        entry.sourceWidth = size->width;
        entry.sourceHeight = size->height;
        entry.left = position->left;
        entry.top = position->top;
        entry.shown = false;
        if (read.picture) {
            entry.thumbnail = std::make_shared<const PixelImage>(std::move(read.thumbnail));
            entry.bitmap = std::make_shared<const PixelImage>(std::move(*read.picture));
        }
        list.Append(std::move(entry));
        ++added;
    }
    list.SortByName();
    list.Select(static_cast<int>(list.Size()) - 1);
    return added;
}

}  // namespace pictor::workspace
