#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "core/conversion/resource_image.h"
#include "core/settings/model_profile.h"

namespace pictor::conversion {

/// Texts of the header `Icon.h` and of the C source. Every function appends to
/// `out`; line ends are CR LF. Stateless and thread-safe.

/// The symbol of a picture: its name with a to z upper-cased, other bytes kept.
std::string SymbolName(std::string_view name);

/// The instant the generation-time comment shows: the UTC time of the
/// SOURCE_DATE_EPOCH environment variable (decimal seconds) when it is set and
/// valid, otherwise the local time now.
std::tm GenerationTime();

/// "\n// Generation Time: YYYY/MM/DD  AM|PM hh:mm:ss   \n\n" (12-hour clock,
/// two spaces before the AM/PM mark, three spaces at the end), independent of
/// the process locale.
void WriteGenerationTime(std::string& out, const std::tm& time);

/// "\n#define NAME  0x<order in lower-case hex>".
void WriteOrderNumberLine(std::string& out, std::string_view symbol, std::size_t order);

/// "\n#define NAME_H  H" then "\n#define NAME_W  W". For depths 1, 2 and 4 the
/// dimension along the byte groups counts bytes, a partial byte as a whole one.
void WriteSizeDefines(std::string& out, std::string_view symbol,
                      const settings::ModelProfile& profile, int width, int height);

/// "\n#define NAME_T  top" then "\n#define NAME_L  left" (pixels, signed).
void WritePositionDefines(std::string& out, std::string_view symbol, int left, int top);

/// "\n\n CBYTE NAME[] ={  \n": the opening of a picture's C array.
void WriteArrayOpening(std::string& out, std::string_view symbol);

/// " } \n": the closing of a picture's C array.
void WriteArrayClosing(std::string& out);

/// The text form of the size prefix: "v low,h low,\nv high,\nh high,\n".
void WriteSizePrefixText(std::string& out, PrefixDimensions dimensions);

/// "\n\n": the end of the header and of the C source.
void WriteClosingLines(std::string& out);

}  // namespace pictor::conversion
