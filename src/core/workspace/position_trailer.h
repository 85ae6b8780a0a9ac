#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>

#include "core/common/regular_file.h"

namespace pictor::workspace {

/// A picture file may end with a 6-byte position trailer: the bytes "aVaV"
/// (61 56 61 56), then X and then Y, each one unsigned byte. Bitmap decoders ignore
/// bytes after the pixel data, so the trailer travels with the file.
inline constexpr std::size_t kTrailerSize = 6;
inline constexpr std::array<std::uint8_t, 4> kTrailerMagic = {0x61, 0x56, 0x61, 0x56};

/// The position a trailer holds, in LCD pixels (0 to 255 each when read from a file).
struct TrailerPosition {
    int left = 0;
    int top = 0;

    friend bool operator==(const TrailerPosition&, const TrailerPosition&) = default;
};

/// Reads the trailer from an open binary stream. Returns nothing when the stream holds
/// fewer than 6 bytes, cannot seek, or its last 6 bytes do not start with the magic.
/// Moves the stream's read position; clears its error state before returning.
std::optional<TrailerPosition> ReadTrailer(std::istream& file);

/// Reads the trailer of an open regular file (at its size when opened).
std::optional<TrailerPosition> ReadTrailer(const RegularFile& file);

/// Opens `path` read-only and reads its trailer. Returns nothing when the file cannot be
/// opened or has no trailer. Only regular files are opened; a FIFO or device never
/// blocks the call.
std::optional<TrailerPosition> ReadTrailer(const std::filesystem::path& path);

/// Stores `left` and `top` in the trailer of the picture file at `path`: the last two
/// bytes are replaced when the trailer is there, otherwise the 6 bytes are appended. Each
/// value is stored as its low 8 bits (300 gives 44, -1 gives 255). The file is changed
/// only when the picture still loads with the new trailer (checked on a temporary copy
/// first). Returns false, leaving the file untouched, when that check fails (also when
/// the picture does not fit in the memory at hand), when the file is not a regular file
/// that can be opened for reading and writing, or when the write fails. Not safe against another
/// writer of the same file.
bool WriteTrailer(const std::filesystem::path& path, int left, int top);

}  // namespace pictor::workspace
