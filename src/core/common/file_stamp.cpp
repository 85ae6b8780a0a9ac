#include "core/common/file_stamp.h"

#include <system_error>

namespace pictor {

FileStamp StampOf(const std::filesystem::path& file) {
    std::error_code error;
    FileStamp stamp;
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (error) {
        return {};
    }
    stamp.size = std::filesystem::file_size(file, error);
    stamp.exists = !error;
    return stamp;
}

}  // namespace pictor
