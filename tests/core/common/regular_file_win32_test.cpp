// The reasons Windows gives for a failed file operation, as the core names them.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <system_error>

#include "core/common/regular_file.h"
#include "support/temp_dir.h"

namespace pictor {
namespace {

TEST(FileErrorWin32Test, KeepsWhyWindowsRefused) {
    struct Case {
        DWORD code;
        std::errc reason;
        const char* text;  // part of FileErrorText
    };
    const Case cases[] = {
        {ERROR_ACCESS_DENIED, std::errc::permission_denied, "access denied"},
        {ERROR_SHARING_VIOLATION, std::errc::device_or_resource_busy, "in use by another program"},
        {ERROR_LOCK_VIOLATION, std::errc::device_or_resource_busy, "in use by another program"},
        {ERROR_USER_MAPPED_FILE, std::errc::device_or_resource_busy, "in use by another program"},
        {ERROR_PATH_NOT_FOUND, std::errc::no_such_file_or_directory, "no such file"},
        {ERROR_ALREADY_EXISTS, std::errc::file_exists, "exists already"},
        {ERROR_WRITE_PROTECT, std::errc::read_only_file_system, "write-protected"},
        {ERROR_HANDLE_DISK_FULL, std::errc::no_space_on_device, "disk is full"},
    };
    for (const Case& c : cases) {
        const std::error_code error = FileErrorOfWindowsCode(c.code);
        EXPECT_EQ(error, c.reason) << "code " << c.code;
        EXPECT_NE(FileErrorText(error).find(c.text), std::string::npos)
            << "code " << c.code << ": " << FileErrorText(error);
    }
    // Any other code stays Windows' own error, with the system's text.
    const std::error_code other = FileErrorOfWindowsCode(ERROR_CRC);
    EXPECT_EQ(other, std::error_code(ERROR_CRC, std::system_category()));
    EXPECT_FALSE(FileErrorText(other).empty());
    EXPECT_EQ(FileErrorText(FileErrorOfWindowsCode(ERROR_SHARING_VIOLATION),
                            [](std::string_view) { return std::string("übersetzt"); }),
              "übersetzt");
}

// Windows refuses to replace a file that another program holds open; the
// replacement says so and leaves both files.
TEST(FileErrorWin32Test, ReplacingAFileHeldOpenIsRefusedWithTheReason) {
    test::TempDir dir;
    test::WriteFile(dir / "new.txt", "new");
    test::WriteFile(dir / "held.txt", "old");
    HANDLE held = ::CreateFileW((dir / "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::error_code error;
    EXPECT_FALSE(ReplaceFileAtomically(dir / "new.txt", dir / "held.txt", error));
    ::CloseHandle(held);
    EXPECT_TRUE(error == std::errc::permission_denied ||
                error == std::errc::device_or_resource_busy)
        << error.message();
    EXPECT_EQ(test::ReadFile(dir / "held.txt"), "old");
    EXPECT_EQ(test::ReadFile(dir / "new.txt"), "new");
}

}  // namespace
}  // namespace pictor

#endif
