#pragma once

#include <string>
#include <vector>

#include "core/common/message.h"
#include "core/workspace/picture_list.h"

namespace pictor::workspace {

struct ImportOptions {
    /// Open each file for reading and writing to read its trailer, as the desktop
    /// application does, so a file that the later conversion could not update is refused
    /// at import. False opens read-only.
    bool openForWriting = true;
    /// Keep each decoded picture and its thumbnail in the entry. False checks that the
    /// picture loads and keeps only its size, for a conversion that decodes the
    /// pictures from their files one at a time (memory independent of the count).
    bool keepPixels = true;
};

/// Imports the picture files at `paths` (UTF-8), in order: each is loaded at its own size
/// and as a thumbnail, its position is read from its trailer (0, 0 without one) and an
/// entry is appended with `shown` false. A file that does not load gives
/// "加载图片 <path> 错误 !", one that cannot be opened gives "打开 <path> 错误 !" (both with
/// the exclamation icon and no caption) and is skipped. Afterwards the whole list is sorted
/// by name and its last picture made current (none when it is empty), even when nothing
/// was added. Returns the number of pictures added. Runs on the caller's thread; the
/// list must not be used elsewhere meanwhile.
int ImportPictures(PictureList& list, const std::vector<std::string>& paths, MessageSink& messages,
                   const ImportOptions& options = {});

}  // namespace pictor::workspace
