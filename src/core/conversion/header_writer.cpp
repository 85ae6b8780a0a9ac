#include "core/conversion/header_writer.h"

#include <charconv>
#include <cstdlib>
#include <limits>

#include "core/conversion/pixel_encoder.h"

namespace pictor::conversion {

namespace {

void AppendNumber(std::string& out, long long value) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    out.append(digits, end);
}

void AppendTwoDigits(std::string& out, int value) {
    out.push_back(static_cast<char>('0' + value / 10 % 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

void AppendDefine(std::string& out, std::string_view symbol, std::string_view suffix,
                  long long value) {
    out.append(kLineEnd);
    out.append("#define ");
    out.append(symbol);
    out.append(suffix);
    out.append("  ");
    AppendNumber(out, value);
}

int DivideRoundingUp(int value, int divisor) {
    return value / divisor + (value % divisor > 0 ? 1 : 0);
}

}  // namespace

std::string SymbolName(std::string_view name) {
    std::string symbol(name);
    for (char& c : symbol) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return symbol;
}

// Thread-safe forms of gmtime and localtime; the C runtime of Windows names them
// differently and swaps the arguments.
bool UtcTime(std::time_t instant, std::tm& out) {
#ifdef _WIN32
    return gmtime_s(&out, &instant) == 0;
#else
    return gmtime_r(&instant, &out) != nullptr;
#endif
}

void LocalTime(std::time_t instant, std::tm& out) {
#ifdef _WIN32
    localtime_s(&out, &instant);
#else
    localtime_r(&instant, &out);
#endif
}

std::tm GenerationTime() {
    std::tm result{};
    if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH"); fixed != nullptr && *fixed != '\0') {
        const std::string_view text(fixed);
        long long seconds = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        if (error == std::errc{} && end == text.data() + text.size() && seconds >= 0 &&
            seconds <= std::numeric_limits<std::time_t>::max()) {
            const auto instant = static_cast<std::time_t>(seconds);
            if (UtcTime(instant, result)) {
                return result;
            }
        }
    }
    const std::time_t now = std::time(nullptr);
    LocalTime(now, result);
    return result;
}

void WriteGenerationTime(std::string& out, const std::tm& time) {
    out.append(kLineEnd);
    out.append("// Generation Time: ");
    AppendNumber(out, 1900LL + time.tm_year);
    out.push_back('/');
    AppendTwoDigits(out, time.tm_mon + 1);
    out.push_back('/');
    AppendTwoDigits(out, time.tm_mday);
    out.append(time.tm_hour < 12 ? "  AM " : "  PM ");
    const int hour12 = time.tm_hour % 12 == 0 ? 12 : time.tm_hour % 12;
    AppendTwoDigits(out, hour12);
    out.push_back(':');
    AppendTwoDigits(out, time.tm_min);
    out.push_back(':');
    AppendTwoDigits(out, time.tm_sec);
    out.append("   ");
    out.append(kLineEnd);
    out.append(kLineEnd);
}

void WriteOrderNumberLine(std::string& out, std::string_view symbol, std::size_t order) {
    out.append(kLineEnd);
    out.append("#define ");
    out.append(symbol);
    out.append("  0x");
    char digits[20];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), order, 16).ptr;
    out.append(digits, end);
}

void WriteSizeDefines(std::string& out, std::string_view symbol,
                      const settings::ModelProfile& profile, int width, int height) {
    int h = height;
    int w = width;
    const int depth = profile.colorDepth;
    if (depth == 1 || depth == 2 || depth == 4) {
        const int perByte = 8 / depth;
        if (profile.convertDirection == 0) {
            w = DivideRoundingUp(width, perByte);
        } else {
            h = DivideRoundingUp(height, perByte);
        }
    }
    AppendDefine(out, symbol, "_H", h);
    AppendDefine(out, symbol, "_W", w);
}

void WritePositionDefines(std::string& out, std::string_view symbol, int left, int top) {
    AppendDefine(out, symbol, "_T", top);
    AppendDefine(out, symbol, "_L", left);
}

void WriteArrayOpening(std::string& out, std::string_view symbol) {
    out.append(kLineEnd);
    out.append(kLineEnd);
    out.append(" CBYTE ");
    out.append(symbol);
    out.append("[] ={  ");
    out.append(kLineEnd);
}

void WriteArrayClosing(std::string& out) {
    out.append(" } ");
    out.append(kLineEnd);
}

void WriteSizePrefixText(std::string& out, PrefixDimensions dimensions) {
    const auto v = static_cast<unsigned>(dimensions.v);
    const auto h = static_cast<unsigned>(dimensions.h);
    AppendNumber(out, v & 0xFFu);
    out.push_back(',');
    AppendNumber(out, h & 0xFFu);
    out.push_back(',');
    out.append(kLineEnd);
    AppendNumber(out, (v >> 8) & 0xFFu);
    out.push_back(',');
    out.append(kLineEnd);
    AppendNumber(out, (h >> 8) & 0xFFu);
    out.push_back(',');
    out.append(kLineEnd);
}

void WriteClosingLines(std::string& out) {
    out.append(kLineEnd);
    out.append(kLineEnd);
}

}  // namespace pictor::conversion
