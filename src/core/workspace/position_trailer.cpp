#include "core/workspace/position_trailer.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "core/common/out_of_memory.h"
#include "core/workspace/picture_loader.h"

namespace pictor::workspace {

namespace {

// Largest picture file whose trailer is written (the largest picture that loads
// is 8192 x 8192 at 32 bits, plus its headers and palette).
constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{300} << 20U;

// Size of the stream in bytes, or -1 when it cannot seek.
std::streamoff StreamSize(std::istream& file) {
    file.clear();
    file.seekg(0, std::ios::end);
    const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
    file.clear();
    return size;
}

bool MagicAt(std::istream& file, std::streamoff offset) {
    std::array<char, kTrailerMagic.size()> bytes{};
    file.seekg(offset);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        file.clear();
        return false;
    }
    return std::equal(bytes.begin(), bytes.end(), kTrailerMagic.begin(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

std::uint8_t LowByte(int value) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFU);
}

// The position in the last six bytes of a file, when they are a trailer.
std::optional<TrailerPosition> TrailerIn(std::span<const std::uint8_t, kTrailerSize> tail) {
    if (!std::equal(kTrailerMagic.begin(), kTrailerMagic.end(), tail.begin())) {
        return std::nullopt;
    }
    return TrailerPosition{tail[4], tail[5]};
}

// The picture that `bytes` load as: they are written to a private temporary
// file, loaded from there and removed again.
std::optional<PixelImage> LoadFromBytes(std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec) {
        return std::nullopt;
    }
    std::filesystem::path name;
    const int fd = CreateUniqueFile(dir, "pictor-trailer-", name);
    if (fd < 0) {
        return std::nullopt;
    }
    const bool written = WriteAllAt(fd, 0, bytes);
    const bool complete = CloseFile(fd) && written;
    std::optional<PixelImage> picture;
    if (complete) {
        picture = LoadPicture(name);
    }
    std::filesystem::remove(name, ec);
    return picture;
}

bool SamePicture(const PixelImage& a, const PixelImage& b) {
    return a.width == b.width && a.height == b.height && a.hasAlpha == b.hasAlpha &&
           a.pixels == b.pixels;
}

// WriteTrailer without the guard against running out of memory.
bool StoreTrailer(const std::filesystem::path& path, int left, int top) {
    const std::optional<RegularFile> file = RegularFile::Open(path, FileAccess::ReadWrite);
    if (!file) {
        return false;
    }
    const std::optional<std::vector<std::uint8_t>> content = file->ReadAll(kMaxPictureFileBytes);
    if (!content || content->size() != file->Size()) {
        return false;
    }
    const std::array<std::uint8_t, 2> position = {LowByte(left), LowByte(top)};
    const bool present = content->size() >= kTrailerSize &&
                         TrailerIn(std::span(*content).last<kTrailerSize>()).has_value();
    std::vector<std::uint8_t> change;
    std::uint64_t offset = content->size();
    if (present) {
        offset -= 2;
    } else {
        change.assign(kTrailerMagic.begin(), kTrailerMagic.end());
    }
    change.insert(change.end(), position.begin(), position.end());
    if (std::equal(change.begin(), change.end(),
                   content->begin() + static_cast<std::ptrdiff_t>(offset), content->end())) {
        return true;  // the trailer already holds this position
    }
    // Some pictures end with bytes their decoder still reads (a PNG cut inside its
    // last checksum, a run-length bitmap without its end mark): the trailer would
    // then break or alter the picture. The file is changed only when it loads with
    // the trailer in place to exactly the pixels it has now.
    const std::optional<PixelImage> before = LoadFromBytes(*content);
    if (!before) {
        return false;
    }
    std::vector<std::uint8_t> wouldBe(content->begin(),
                                      content->begin() + static_cast<std::ptrdiff_t>(offset));
    wouldBe.insert(wouldBe.end(), change.begin(), change.end());
    const std::optional<PixelImage> after = LoadFromBytes(wouldBe);
    if (!after || !SamePicture(*before, *after)) {
        return false;
    }
    return WriteAllAt(file->Descriptor(), offset, change);
}

}  // namespace

std::optional<TrailerPosition> ReadTrailer(std::istream& file) {
    const std::streamoff size = StreamSize(file);
    if (size < static_cast<std::streamoff>(kTrailerSize) ||
        !MagicAt(file, size - static_cast<std::streamoff>(kTrailerSize))) {
        return std::nullopt;
    }
    std::array<char, 2> position{};
    file.read(position.data(), 2);
    if (!file) {
        file.clear();
        return std::nullopt;
    }
    return TrailerPosition{static_cast<std::uint8_t>(position[0]),
                           static_cast<std::uint8_t>(position[1])};
}

std::optional<TrailerPosition> ReadTrailer(const RegularFile& file) {
    if (file.Size() < kTrailerSize) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kTrailerSize> tail{};
    if (file.ReadAt(file.Size() - kTrailerSize, tail) != tail.size()) {
        return std::nullopt;
    }
    return TrailerIn(tail);
}

std::optional<TrailerPosition> ReadTrailer(const std::filesystem::path& path) {
    const std::optional<RegularFile> file = RegularFile::Open(path, FileAccess::Read);
    if (!file) {
        return std::nullopt;
    }
    return ReadTrailer(*file);
}

bool WriteTrailer(const std::filesystem::path& path, int left, int top) {
    // Checking the picture decodes it twice; a picture too large for the memory at
    // hand keeps its file as it is.
    return RefuseWhenOutOfMemory([&] { return StoreTrailer(path, left, top); });
}

}  // namespace pictor::workspace
