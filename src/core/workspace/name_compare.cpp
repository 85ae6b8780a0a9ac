#include "core/workspace/name_compare.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <algorithm>
#include <cstdint>
#include <optional>

namespace pictor::workspace {

namespace {

#ifdef _WIN32

// UTF-8 to code page 936 through the conversion tables of Windows.
class GbkConverter {
  public:
    // The converted bytes, or nothing when the text has a character outside the code page
    // or is not valid UTF-8.
    std::optional<std::string> Convert(std::string_view text) {
        if (text.empty()) {
            return std::string();
        }
        const int inSize = static_cast<int>(text.size());
        const int wideSize =
            ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), inSize, nullptr, 0);
        if (wideSize <= 0) {
            return std::nullopt;
        }
        std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), inSize, wide.data(),
                              wideSize);
        // A code page 936 character never takes more bytes than its UTF-8 form.
        std::string out(text.size() + 4, '\0');
        BOOL usedDefault = FALSE;
        const int outSize =
            ::WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, out.data(),
                                  static_cast<int>(out.size()), nullptr, &usedDefault);
        if (outSize <= 0 || usedDefault) {
            return std::nullopt;
        }
        out.resize(static_cast<std::size_t>(outSize));
        return out;
    }
};

#else

// One UTF-8 to code page 936 converter, closed when it goes out of scope.
class GbkConverter {
  public:
    GbkConverter() {
        // glibc knows the code page as both names; CP936 also maps the euro sign to 0x80.
        for (const char* name : {"CP936", "GBK"}) {
            handle_ = iconv_open(name, "UTF-8");
            if (handle_ != Invalid()) {
                break;
            }
        }
    }
    ~GbkConverter() {
        if (handle_ != Invalid()) {
            iconv_close(handle_);
        }
    }
    GbkConverter(const GbkConverter&) = delete;
    GbkConverter& operator=(const GbkConverter&) = delete;

    // The converted bytes, or nothing when the text has a character outside the code page,
    // is not valid UTF-8, or no converter is available.
    std::optional<std::string> Convert(std::string_view text) {
        if (handle_ == Invalid()) {
            return std::nullopt;
        }
        // A code page 936 character never takes more bytes than its UTF-8 form.
        std::string out(text.size() + 4, '\0');
        std::string in(text);
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0) {
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

  private:
    // iconv_open reports failure as (iconv_t)-1.
    // iconv_open reports failure as (iconv_t)-1.
    static iconv_t Invalid() {
        return reinterpret_cast<iconv_t>(
            static_cast<std::intptr_t>(-1));  // NOLINT(performance-no-int-to-ptr)
    }

    iconv_t handle_ = Invalid();
};

#endif

std::uint16_t FoldSingleByte(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') {
        return static_cast<std::uint16_t>(byte - 'A' + 'a');
    }
    return byte;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

NameKey SingleByteUnits(std::string_view bytes) {
    NameKey key;
    key.reserve(bytes.size());
    for (const char c : bytes) {
        key.push_back(FoldSingleByte(static_cast<unsigned char>(c)));
    }
    return key;
}

// Splits code page 936 text into units: 0x81 to 0xFE lead a two-byte character.
NameKey CodePageUnits(std::string_view bytes) {
    NameKey key;
    key.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            key.push_back(static_cast<std::uint16_t>((lead << 8) | trail));
            ++i;
        } else {
            key.push_back(FoldSingleByte(lead));
        }
    }
    return key;
}

}  // namespace

NameKey MakeNameKey(std::string_view name) {
    if (IsAscii(name)) {
        return SingleByteUnits(name);
    }
    GbkConverter converter;
    if (const auto converted = converter.Convert(name)) {
        return CodePageUnits(*converted);
    }
    return SingleByteUnits(name);
}

int CompareNameKeys(const NameKey& a, const NameKey& b) {
    const auto [itA, itB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (itA != a.end() && itB != b.end()) {
        return *itA < *itB ? -1 : 1;
    }
    if (itA == a.end() && itB == b.end()) {
        return 0;
    }
    return itA == a.end() ? -1 : 1;
}

int CompareNames(std::string_view a, std::string_view b) {
    return CompareNameKeys(MakeNameKey(a), MakeNameKey(b));
}

std::string DeriveName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

}  // namespace pictor::workspace
