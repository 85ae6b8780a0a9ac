#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pictor::workspace {

/// The units a picture name sorts by. A single-byte character is one unit holding its
/// byte, with the letters A to Z folded to a to z. A name with non-ASCII characters is
/// first converted from UTF-8 to code page 936 (GBK); there a double-byte character is
/// one unit valued by its two bytes, lead byte high (0x8140 and up, so above every
/// single-byte unit), with no case folding. A name that does not convert (invalid UTF-8,
/// or characters outside GBK) keeps its UTF-8 bytes as single-byte units.
using NameKey = std::vector<std::uint16_t>;

/// Builds the sort key of `name` (UTF-8). Thread-safe; opens its own converter.
NameKey MakeNameKey(std::string_view name);

/// Compares two sort keys: the first differing unit decides by its unsigned value, and
/// a key that ends first sorts first. Returns <0, 0 or >0.
int CompareNameKeys(const NameKey& a, const NameKey& b);

/// Compares two picture names (UTF-8) the way the picture list sorts them: equal to
/// CompareNameKeys(MakeNameKey(a), MakeNameKey(b)). Returns <0, 0 or >0. Thread-safe.
int CompareNames(std::string_view a, std::string_view b);

/// Derives a picture's name from its file path (UTF-8): drops everything up to and
/// including the last '/' or '\\', then everything from the last '.' on. A file name
/// without '.' is kept whole ("logo.small.bmp" gives "logo.small", "dir/logo" gives "logo").
std::string DeriveName(std::string_view path);

}  // namespace pictor::workspace
