// The project file as the desktop and the CLI load it. The input is the file's
// text. Asserts that a project that loads survives a save: the saved file loads
// again to the same project (pictures, flags, positions, model, output folder
// and every key and section this program does not know), and saving that one
// writes the same text again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/workspace/project_file.h"
#include "fuzz_support.h"

namespace {

using pictor::fuzz::Require;
using namespace pictor::workspace;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto& scratch = pictor::fuzz::Scratch();
    const ProjectLoadResult parsed = ParseProject(text, scratch.Path(), "fuzz.pictor");
    Require(parsed.ok == parsed.error.empty(), "a project loads, or its error says why");
    if (!parsed.ok) {
        return 0;
    }
    const auto path = scratch / "p.pictor";
    std::string error;
    Require(SaveProject(path, parsed.project, &error), "a loaded project can be saved");
    const ProjectLoadResult reloaded = LoadProject(path);
    Require(reloaded.ok, "a saved project loads");
    // The whole structure: a key added to the format is compared without a change here.
    Require(reloaded.project == parsed.project, "a saved project loads as it was saved");
    const std::vector<std::uint8_t> bytes = pictor::fuzz::ReadBytes(path);
    const std::string saved(bytes.begin(), bytes.end());
    Require(FormatProject(reloaded.project, scratch.Path()) == saved,
            "saving a reloaded project writes the same text");
    return 0;
}
