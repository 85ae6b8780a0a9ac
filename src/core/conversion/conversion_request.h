#pragma once

// One conversion as a front end asks for it: a project file or picture files, a
// settings file, a model and the values to put over the model's profile. The
// command line's convert and preview, its watch mode and scripts all go through
// here, so they resolve the profile, load the pictures and publish the outputs
// the same way; a front end only parses its input and shows the result.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/common/message.h"
#include "core/common/translatable.h"
#include "core/conversion/convert_operation.h"
#include "core/conversion/dither.h"
#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"
#include "core/workspace/picture_operations.h"
#include "core/workspace/pixel_image.h"
#include "core/workspace/project_file.h"

namespace pictor::conversion {

/// Values put over the model profile of the settings file. Unset values keep the
/// model's; the flags only ever switch an output option on.
struct ProfileOverrides {
    std::optional<int> colorDepth;        // 1, 2, 4, 8, 16 or 24
    std::optional<int> colorType;         // index into the depth's colour types
    std::optional<int> convertDirection;  // 0 horizontal first, 1 vertical first
    std::optional<int> outDataType;       // 0 Icon.bin, 1 C source Icon.c
    std::optional<int> minAllocateSize;   // allocation unit in bytes
    std::optional<int> blockColNum;       // band size, 0 for the whole picture
    bool avoidAcrossSector = false;
    bool saveWidthHeightToBin = false;
    bool saveWidthHeightToDefine = false;
    bool saveLeftTopToDefine = false;
    std::optional<std::string> lcdType;  // panel size text, e.g. "320x240"
    std::optional<std::uint32_t> bkColor;
    std::optional<DitherMode> dither;
};

/// What to convert and with which settings.
struct ConversionRequest {
    /// The settings file; when it does not exist the built-in defaults apply.
    std::filesystem::path settingsPath = "Pictor.ini";
    /// The model to use; without it the project's model, else "CURRENT_MODE".
    std::optional<std::string> model;
    /// A project file; when set, `pictures` is ignored.
    std::optional<std::filesystem::path> projectPath;
    /// Picture files (UTF-8 paths), converted in name order at their trailer positions.
    std::vector<std::string> pictures;
    /// Operations every picture file goes through (a project's pictures carry their
    /// own, and these do not apply to them).
    workspace::PictureOperations operations;
    /// Fit every picture file inside the model's panel, keeping its aspect ratio,
    /// so that it fills the panel in one direction (replaces the scale of
    /// `operations`).
    bool fitPanel = false;
    ProfileOverrides overrides;
    /// Where the outputs go; without it the project's output folder, else the
    /// working directory.
    std::optional<std::filesystem::path> outputDir;
};

/// How a request ended. `BadRequest` is a request that cannot be carried out as
/// given (no pictures named, an unknown model, a value the model cannot take);
/// `Failed` is a step that failed (a picture or the project did not load, an
/// output could not be written). Front ends map them to their exit codes.
enum class RequestStatus { Done, BadRequest, Failed };

/// The settings and pictures a request resolves to, before any picture is loaded.
struct ResolvedRequest {
    std::optional<workspace::Project> project;
    settings::ModelProfile profile;
    /// The folder of the outputs (absolute when it came from the project).
    std::filesystem::path outputDir;
    /// The flash the image has to fit: the settings' [Scom] "FLASH_TYPE", else the
    /// largest flash a module carries.
    std::uint64_t flashCapacity = kLargestFlashBytes;
};

struct Resolution {
    RequestStatus status = RequestStatus::Failed;
    ResolvedRequest resolved;  // meaningful when `status` is Done
};

/// Reads the settings file (never writing it) and the project, picks the model and
/// applies the overrides, completing the values derived from the final depth and
/// colour type. A project whose pictures are not all there is refused (`Failed`,
/// each missing picture named), so a build never works on part of a project. Every
/// refusal is shown through `messages` (exclamation icon); the settings file's
/// absence is a warning and the defaults apply. Texts go through `lookup`.
Resolution ResolveRequest(const ConversionRequest& request, MessageSink& messages,
                          const CoreTextLookup& lookup = {});

/// Whether picture files of a request that do not load may be left out. A
/// project's pictures must always all load.
enum class PartialList { Allowed, Refused };

/// Loads the pictures of a resolved request: the project's in project order with
/// their shown flags, positions and operations, or the request's files at their
/// trailer positions, sorted by name, through the request's operations. A file that
/// does not load (or whose operations do not apply) is reported and, where
/// `partial` allows it, left out. Returns nothing (and says why) when no picture
/// loaded, or when a project's picture or (with `PartialList::Refused`) any file
/// did not load. `options` says how files are opened and whether pixels are kept.
std::optional<workspace::PictureList> LoadRequestPictures(const ConversionRequest& request,
                                                          const ResolvedRequest& resolved,
                                                          const workspace::ImportOptions& options,
                                                          PartialList partial,
                                                          MessageSink& messages);

/// What `ConvertRequest` does besides the conversion itself.
struct RequestConvertOptions {
    /// Store each picture's position in its file's trailer.
    bool writeTrailers = false;
    /// Threads that decode and encode; 0 means one per processor core.
    unsigned jobs = 0;
    /// Also write the memory map of Icon.bin as CSV to this file. Refused before
    /// anything is converted with C source output, or when the path names an
    /// output, a picture, the settings file or the project file.
    std::optional<std::filesystem::path> mapPath;
};

struct RequestConvertResult {
    RequestStatus status = RequestStatus::Failed;
    ResolvedRequest resolved;
    /// The conversion's own result (outputs, picture count, size, memory map).
    ConvertResult conversion;
    /// The pictures in the order they were converted (paths, sizes, positions).
    workspace::PictureList pictures;
    /// True when `mapPath` was given and the map was written.
    bool mapWritten = false;
};

/// The whole conversion of a request: resolve, load the pictures (picture files
/// that do not load are reported and left out; a project's must all load), convert and publish the
/// outputs as a pair, then warn about symbols that would break Icon.h and about pictures that do
/// not fit the panel at their position (PanelFitWarnings; exclamation icon; the outputs stay as
/// written) and write the memory map when asked. A map that cannot be written fails
/// the request after the outputs were published ("the image and the header were written"). Messages
/// go through `messages`, texts through `lookup`. Runs on the caller's thread.
RequestConvertResult ConvertRequest(const ConversionRequest& request,
                                    const RequestConvertOptions& options, MessageSink& messages,
                                    const CoreTextLookup& lookup = {});

struct RequestPreviewResult {
    RequestStatus status = RequestStatus::Failed;
    /// The panel as the module shows it after a conversion of the request.
    workspace::PixelImage panel;
};

/// Renders the panel as a conversion of `request` would show it on the module:
/// with a project only its shown pictures, with picture files all of them, in
/// name order (later ones on top). Reads pictures, never writes anything.
RequestPreviewResult RenderRequest(const ConversionRequest& request, MessageSink& messages,
                                   const CoreTextLookup& lookup = {});

}  // namespace pictor::conversion
