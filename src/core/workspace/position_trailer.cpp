#include "core/workspace/position_trailer.h"

#include <algorithm>
#include <fstream>

namespace pictor::workspace {

namespace {

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

char LowByte(int value) {
    return static_cast<char>(static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFU));
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

std::optional<TrailerPosition> ReadTrailer(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        return std::nullopt;
    }
    return ReadTrailer(file);
}

bool WriteTrailer(const std::filesystem::path& path, int left, int top) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file.is_open()) {
        return false;
    }
    const std::streamoff size = StreamSize(file);
    if (size < 0) {
        return false;
    }
    const bool present = size >= static_cast<std::streamoff>(kTrailerSize) &&
                         MagicAt(file, size - static_cast<std::streamoff>(kTrailerSize));
    if (present) {
        file.seekp(size - 2);
    } else {
        file.seekp(0, std::ios::end);
        file.write(reinterpret_cast<const char*>(kTrailerMagic.data()),
                   static_cast<std::streamsize>(kTrailerMagic.size()));
    }
    const std::array<char, 2> position = {LowByte(left), LowByte(top)};
    file.write(position.data(), 2);
    file.close();
    return !file.fail();
}

}  // namespace pictor::workspace
