#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace pictor::cli {

/// The messages of one compiled translation file (`.qm`, as `lrelease` writes it
/// by default: every message with its context and source text), read without Qt
/// so the command-line tool needs no Qt library to speak a language.
class QmCatalog {
  public:
    /// Reads `bytes`; nothing when they are not a well-formed translation file.
    static std::optional<QmCatalog> Parse(std::span<const std::uint8_t> bytes);

    /// The translation of `source` in `context` (UTF-8), when there is one.
    [[nodiscard]] std::optional<std::string> Find(std::string_view context,
                                                  std::string_view source) const;

    /// How many translated messages the file holds.
    [[nodiscard]] std::size_t Size() const { return messages_.size(); }

    /// Every (context, source) pair with its translation.
    [[nodiscard]] const std::map<std::pair<std::string, std::string>, std::string, std::less<>>&
    Messages() const {
        return messages_;
    }

  private:
    std::map<std::pair<std::string, std::string>, std::string, std::less<>> messages_;
};

}  // namespace pictor::cli
