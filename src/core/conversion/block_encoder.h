#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/settings/model_profile.h"
#include "core/workspace/image_entry.h"

namespace pictor::conversion {

/// One picture's place in the outputs of a conversion, planned before any picture
/// is decoded.
struct PictureJob {
    std::vector<std::uint8_t> preamble;  // binary: alignment, sector fill, size prefix
    std::string opening;                 // C source: array opening and size prefix text
    std::uint64_t pixelBytes = 0;        // encoded pixels
    std::uint64_t memoryBytes = 0;       // what encoding it takes at most (MemoryEstimate)
};

/// The bytes one picture takes while it is encoded: its decoded pixels, unless the
/// entry holds them already (a bitmap file read whole and encoded row by row takes
/// no more), and its encoded block (as C source text with `cSource`). An upper
/// bound, for the budget of the pictures in flight.
std::uint64_t MemoryEstimate(const workspace::ImageEntry& entry, const PictureJob& job,
                             bool cSource);

/// One picture's finished block: the preamble and the encoded pixels.
struct EncodedBlock {
    bool loaded = false;
    std::vector<std::uint8_t> bytes;  // binary output
    std::string text;                 // C source output
};

/// Buffers that finished blocks hand back for the next pictures, so that the
/// workers do not take fresh memory (and its page faults) for every picture. Holds
/// at most as many buffers as blocks are in flight, and no large ones: those would
/// stay taken while the next pictures need the memory. Thread-safe.
class ScratchPool {
  public:
    std::vector<std::uint8_t> Take();
    /// The buffer keeps its size: a later resize then clears only what it adds.
    void Give(std::vector<std::uint8_t> buffer);

  private:
    std::mutex mutex_;
    std::vector<std::vector<std::uint8_t>> free_;
};

/// Encodes one picture as its block: from the entry's decoded bitmap when it has
/// one, otherwise decoded from its file now (and dropped with the block). A file
/// that no longer loads at the size the layout used, or a picture too large for the
/// memory at hand, gives `loaded` false. Thread-safe for different entries.
EncodedBlock EncodeBlock(const workspace::ImageEntry& entry, const PictureJob& job,
                         const settings::ModelProfile& profile, bool cSource, ScratchPool& pool);

}  // namespace pictor::conversion
