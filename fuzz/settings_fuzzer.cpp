// The settings file as the start-up box, the serial settings and the model lookup
// read it. The input is the whole file. Asserts that reading never changes the
// file, that a confirmed profile written back reads back the same, that the
// form's list mappings leave only values from their lists, and that the model
// lookup finds a model by its own name and never by another one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/settings/scom_settings.h"
#include "core/settings/startup_profile.h"
#include "fuzz_support.h"

namespace {

using pictor::fuzz::Require;
using namespace pictor::settings;

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
           });
}

void CheckProfile(const StartupProfile& startup) {
    Require(startup.currentIndex >= 0 &&
                static_cast<std::size_t>(startup.currentIndex) < startup.models.size(),
            "a confirmable start-up names one of its models");
    const ModelProfile& p = startup.profile;
    // A depth outside the list stays as the file has it; the conversion refuses it.
    Require(p.pixelsPerByte >= 1 && p.pixelsPerByte <= 8, "pixels per byte between 1 and 8");
    Require(p.minAllocateSize >= 1 && p.minAllocateSize <= 4096 &&
                (p.minAllocateSize & (p.minAllocateSize - 1)) == 0,
            "the allocation unit is a power of two from 1 to 4096");
    Require(p.blockColNum >= 0 && p.blockColNum <= 104 && p.blockColNum % 8 == 0,
            "the block column number is 0 or a multiple of 8 up to 104");
    Require(p.convertDirection == 0 || p.convertDirection == 1, "direction 0 or 1");
    Require(p.panelWidth > 0 && p.panelHeight > 0, "the panel has a size");
}

void CheckModelLookup(const std::vector<std::string>& models) {
    for (const std::string& name : models) {
        const auto found = FindModel(models, name);
        Require(found && models[static_cast<std::size_t>(*found)] == name,
                "a model is found by its exact name");
        // A longer or shorter name is another model, never this one.
        for (const std::string& other : {name + "x", name.substr(0, name.size() / 2)}) {
            const auto match = FindModel(models, other);
            Require(
                !match || EqualIgnoringAsciiCase(models[static_cast<std::size_t>(*match)], other),
                "the lookup finds only a model whose name equals the one asked for");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto path = pictor::fuzz::Scratch() / "Pictor.ini";
    pictor::fuzz::WriteBytes(path, bytes);
    ProfileFile file(path);

    const StartupProfile startup = ConfirmStartupProfile(file, WriteBack::No);
    if (startup.confirmable) {
        CheckProfile(startup);
    }
    // Another model than the current one, as the start-up box's list offers.
    if (!startup.models.empty()) {
        const int other = static_cast<int>(size % startup.models.size());
        const StartupProfile chosen = ConfirmStartupProfile(file, WriteBack::No, other);
        Require(chosen.confirmable, "every listed model can be confirmed");
        CheckProfile(chosen);
    }
    CheckModelLookup(startup.models);

    const ScomSettings scom = ReadScomSettings(file);
    Require(scom.flashSizeCode == 8 || scom.flashSizeCode == 16 || scom.flashSizeCode == 32,
            "the flash size code is 8, 16 or 32");
    Require(scom.imageStartSector == 0 || scom.imageStartSector == 4096 ||
                scom.imageStartSector == 12288,
            "the image starts at sector 0, 4096 or 12288");

    // Confirming writes the profile back (the OK of the start-up box); reading the
    // written file gives the same profile again, so no setting is lost on the way.
    const auto savedPath = pictor::fuzz::Scratch() / "Saved.ini";
    pictor::fuzz::WriteBytes(savedPath, bytes);
    ProfileFile saved(savedPath);
    const StartupProfile confirmed = ConfirmStartupProfile(saved, WriteBack::Yes);
    if (confirmed.confirmable) {
        const StartupProfile reread = ConfirmStartupProfile(saved, WriteBack::No);
        Require(reread.confirmable && reread.currentIndex == confirmed.currentIndex &&
                    reread.lcdSizeText == confirmed.lcdSizeText,
                "the confirmed model is current after the write");
        Require(reread.profile == confirmed.profile, "the written profile reads back the same");
    }

    const auto after = pictor::fuzz::ReadBytes(path);
    Require(std::equal(after.begin(), after.end(), bytes.begin(), bytes.end()),
            "reading the settings without write-back leaves the file as it was");
    return 0;
}
