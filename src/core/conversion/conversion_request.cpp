#include "core/conversion/conversion_request.h"

#include <string_view>
#include <system_error>
#include <utility>

#include "core/common/regular_file.h"
#include "core/conversion/memory_map.h"
#include "core/conversion/panel_fit.h"
#include "core/conversion/panel_preview.h"
#include "core/conversion/symbol_check.h"
#include "core/settings/profile_file.h"
#include "core/settings/startup_profile.h"
#include "core/workspace/entry_pictures.h"
#include "core/workspace/picture_import.h"

namespace pictor::conversion {

namespace {

// Shows a refusal made from `pattern`; the front end translates it when it shows it.
void Refuse(MessageSink& messages, const char* pattern, std::vector<std::string> args) {
    messages.Show(PatternMessage(pattern, std::move(args), "", MessageIcon::Exclamation));
}

int DepthListPosition(int depth) {
    constexpr int kDepths[] = {1, 2, 4, 8, 16, 24};
    for (int i = 0; i < 6; ++i) {
        if (kDepths[i] == depth) {
            return i;
        }
    }
    return -1;
}

// The profile the start-up box's OK would give, or the built-in defaults when the
// settings file is missing or names no usable model. Nothing is written.
std::optional<settings::ModelProfile> LoadProfile(const std::optional<std::string>& model,
                                                  settings::ProfileFile& file,
                                                  MessageSink& messages) {
    if (!file.Exists()) {
        messages.Show(Message{PICTOR_TRANSLATE_NOOP("Core", "没有找到配置文件! "), "",
                              MessageIcon::Exclamation});
        if (model) {
            Refuse(messages,
                   PICTOR_TRANSLATE_NOOP("Core", "there is no settings file, so no model %1"),
                   {*model});
            return std::nullopt;
        }
        return settings::ModelProfile{};
    }
    std::optional<int> index;
    if (model) {
        const settings::StartupProfile listing =
            settings::ConfirmStartupProfile(file, settings::WriteBack::No);
        index = settings::FindModel(listing.models, *model);
        if (!index) {
            Refuse(messages, PICTOR_TRANSLATE_NOOP("Core", "model '%1' is not in %2"),
                   {*model, Utf8FromPath(file.Path())});
            return std::nullopt;
        }
    }
    settings::StartupProfile startup =
        settings::ConfirmStartupProfile(file, settings::WriteBack::No, index);
    if (!startup.confirmable) {
        Refuse(messages,
               PICTOR_TRANSLATE_NOOP("Core",
                                     "%1 names no usable current model; using the built-in "
                                     "defaults"),
               {Utf8FromPath(file.Path())});
        settings::ModelProfile defaults;
        const settings::PanelSize panel = settings::PanelSizeFromLcdType(startup.lcdSizeText);
        defaults.panelWidth = panel.width;
        defaults.panelHeight = panel.height;
        return defaults;
    }
    return startup.profile;
}

// Puts the overrides over `profile`, then completes the derived values for the
// final depth and colour type (levels are made in memory when the file lacks them).
bool ApplyOverrides(const ProfileOverrides& overrides, settings::ModelProfile& profile,
                    settings::ProfileFile& file, MessageSink& messages) {
    if (overrides.colorDepth) {
        profile.colorDepth = *overrides.colorDepth;
    }
    const auto typeCount = static_cast<int>(
        settings::ColorTypeListTexts(DepthListPosition(profile.colorDepth)).size());
    if (overrides.colorType) {
        if (*overrides.colorType < 0 || *overrides.colorType >= typeCount) {
            Refuse(messages,
                   PICTOR_TRANSLATE_NOOP("Core",
                                         "colour type %1 is not a colour type of depth %2 (0 to "
                                         "%3)"),
                   {std::to_string(*overrides.colorType), std::to_string(profile.colorDepth),
                    std::to_string(typeCount - 1)});
            return false;
        }
        profile.colorType = *overrides.colorType;
    } else if (profile.colorType < 0 || profile.colorType >= typeCount) {
        profile.colorType = 0;  // the configuration form's first entry
    }
    profile.convertDirection = overrides.convertDirection.value_or(profile.convertDirection);
    profile.outDataType = overrides.outDataType.value_or(profile.outDataType);
    profile.minAllocateSize = overrides.minAllocateSize.value_or(profile.minAllocateSize);
    profile.blockColNum = overrides.blockColNum.value_or(profile.blockColNum);
    if (overrides.avoidAcrossSector) {
        profile.avoidAcrossSector = 1;
    }
    if (overrides.saveWidthHeightToBin) {
        profile.saveWidthHeightToBin = 1;
    }
    if (overrides.saveWidthHeightToDefine) {
        profile.saveWidthHeightToDefine = 1;
    }
    if (overrides.saveLeftTopToDefine) {
        profile.saveLeftTopToDefine = 1;
    }
    if (overrides.lcdType) {
        const settings::PanelSize panel = settings::PanelSizeFromLcdType(*overrides.lcdType);
        profile.panelWidth = panel.width;
        profile.panelHeight = panel.height;
    }
    profile.bkColor = overrides.bkColor.value_or(profile.bkColor);
    if (overrides.dither) {
        profile.dither = static_cast<int>(*overrides.dither);
    }

    if (profile.colorDepth == 16) {
        settings::SetChannelLayout(profile);
    } else {
        settings::LoadColorLevels(profile, file, settings::WriteBack::No);
    }
    profile.pixelsPerByte = settings::PixelsPerByte(profile.colorDepth);
    return true;
}

// The project file, refused (with the reason, or each missing picture named) when
// it is malformed or any of its pictures is missing.
std::optional<workspace::Project> LoadRequestProject(const std::filesystem::path& path,
                                                     MessageSink& messages,
                                                     const CoreTextLookup& lookup) {
    const workspace::ProjectLoadResult loaded = workspace::LoadProject(path, lookup);
    if (!loaded.ok) {
        messages.Show(Message{loaded.error, "", MessageIcon::Exclamation});
        return std::nullopt;
    }
    for (const std::filesystem::path& missing : loaded.missing) {
        Refuse(messages, PICTOR_TRANSLATE_NOOP("Core", "picture of the project not found: %1"),
               {Utf8FromPath(missing)});
    }
    if (!loaded.missing.empty()) {
        return std::nullopt;
    }
    return loaded.project;
}

// The flash capacity the settings' [Scom] "FLASH_TYPE" names, else the largest.
std::uint64_t SettingsFlashCapacity(settings::ProfileFile& file) {
    if (file.Exists()) {
        if (const auto capacity = FlashTypeCapacity(file.GetString("Scom", "FLASH_TYPE", ""))) {
            return *capacity;
        }
    }
    return kLargestFlashBytes;
}

// The file of `files` that `path` names too, if any (compared after resolving
// the working directory, dot segments and symbolic links).
const std::filesystem::path* SameFile(const std::filesystem::path& path,
                                      const std::vector<std::filesystem::path>& files) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    if (error) {
        return nullptr;
    }
    for (const std::filesystem::path& file : files) {
        if (std::filesystem::weakly_canonical(file, error) == target && !error) {
            return &file;
        }
    }
    return nullptr;
}

// Refuses a memory map path that names a file the request reads or writes.
bool MapPathIsFree(const std::filesystem::path& mapPath, const ConversionRequest& request,
                   const ResolvedRequest& resolved, const workspace::PictureList& list,
                   MessageSink& messages) {
    std::vector<std::filesystem::path> kept = {resolved.outputDir / "Icon.bin",
                                               resolved.outputDir / "Icon.c",
                                               resolved.outputDir / "Icon.h", request.settingsPath};
    if (request.projectPath) {
        kept.push_back(*request.projectPath);
    }
    for (const workspace::ImageEntry& entry : list.Entries()) {
        kept.push_back(PathFromUtf8(entry.path));
    }
    if (const std::filesystem::path* file = SameFile(mapPath, kept)) {
        Refuse(messages,
               PICTOR_TRANSLATE_NOOP("Core",
                                     "the memory map %1 would overwrite %2; nothing converted"),
               {Utf8FromPath(mapPath), Utf8FromPath(*file)});
        return false;
    }
    return true;
}

// Puts every picture of a list of files through the request's operations; a
// picture they do not apply to is reported and taken out. Returns how many were.
int ApplyListOperations(const ConversionRequest& request, const settings::ModelProfile& profile,
                        workspace::PictureList& list, MessageSink& messages) {
    workspace::PictureOperations operations = request.operations;
    if (request.fitPanel) {
        operations.scale = {workspace::ScaleMode::Fit, profile.panelWidth, profile.panelHeight};
    }
    if (operations.IsEmpty()) {
        return 0;
    }
    std::vector<int> refused;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        Message why;
        if (!workspace::SetEntryOperations(list.At(i), operations, &why)) {
            messages.Show(why);
            refused.push_back(static_cast<int>(i));
        }
    }
    list.DeleteRows(refused);
    list.Select(static_cast<int>(list.Size()) - 1);
    return static_cast<int>(refused.size());
}

void WarnAboutPanelFit(const workspace::PictureList& list, const settings::ModelProfile& profile,
                       MessageSink& messages) {
    for (const Message& warning : PanelFitWarnings(list, profile)) {
        messages.Show(warning);
    }
}

void WarnAboutSymbols(const workspace::PictureList& list, MessageSink& messages,
                      const CoreTextLookup& lookup) {
    std::vector<std::string> names;
    names.reserve(list.Size());
    for (const workspace::ImageEntry& entry : list.Entries()) {
        names.push_back(entry.name);
    }
    for (std::string& warning : SymbolWarnings(names, lookup)) {
        messages.Show(Message{std::move(warning), "", MessageIcon::Exclamation});
    }
}

}  // namespace

Resolution ResolveRequest(const ConversionRequest& request, MessageSink& messages,
                          const CoreTextLookup& lookup) {
    Resolution result;
    ResolvedRequest& resolved = result.resolved;
    if (request.projectPath) {
        resolved.project = LoadRequestProject(*request.projectPath, messages, lookup);
        if (!resolved.project) {
            result.status = RequestStatus::Failed;
            return result;
        }
    } else if (request.pictures.empty()) {
        Refuse(messages,
               PICTOR_TRANSLATE_NOOP("Core", "no picture files and no project to convert"), {});
        result.status = RequestStatus::BadRequest;
        return result;
    }

    std::optional<std::string> model = request.model;
    if (!model && resolved.project && !resolved.project->model.empty()) {
        model = resolved.project->model;
    }
    settings::ProfileFile file(request.settingsPath);
    std::optional<settings::ModelProfile> profile = LoadProfile(model, file, messages);
    if (!profile || !ApplyOverrides(request.overrides, *profile, file, messages)) {
        result.status = RequestStatus::BadRequest;
        return result;
    }
    resolved.profile = std::move(*profile);
    resolved.flashCapacity = SettingsFlashCapacity(file);

    if (request.outputDir) {
        resolved.outputDir = *request.outputDir;
    } else if (resolved.project) {
        resolved.outputDir = resolved.project->outputDir;
    }
    if (resolved.outputDir.empty()) {
        std::error_code error;
        resolved.outputDir = std::filesystem::current_path(error);
    }
    result.status = RequestStatus::Done;
    return result;
}

std::optional<workspace::PictureList> LoadRequestPictures(const ConversionRequest& request,
                                                          const ResolvedRequest& resolved,
                                                          const workspace::ImportOptions& options,
                                                          PartialList partial,
                                                          MessageSink& messages) {
    workspace::PictureList list;
    if (resolved.project) {
        int added = 0;
        list = workspace::BuildPictureList(*resolved.project, messages, options, &added);
        if (static_cast<std::size_t>(added) != resolved.project->pictures.size()) {
            Refuse(messages,
                   PICTOR_TRANSLATE_NOOP("Core",
                                         "not every picture of the project could be loaded; "
                                         "nothing converted"),
                   {});
            return std::nullopt;
        }
        return list;
    }
    int added = workspace::ImportPictures(list, request.pictures, messages, options);
    added -= ApplyListOperations(request, resolved.profile, list, messages);
    if (added == 0) {
        Refuse(messages,
               PICTOR_TRANSLATE_NOOP("Core", "no picture could be loaded; nothing converted"), {});
        return std::nullopt;
    }
    if (static_cast<std::size_t>(added) != request.pictures.size() &&
        partial == PartialList::Refused) {
        Refuse(messages,
               PICTOR_TRANSLATE_NOOP("Core", "not every picture could be loaded; nothing done"),
               {});
        return std::nullopt;
    }
    return list;
}

RequestConvertResult ConvertRequest(const ConversionRequest& request,
                                    const RequestConvertOptions& options, MessageSink& messages,
                                    const CoreTextLookup& lookup) {
    RequestConvertResult result;
    Resolution resolution = ResolveRequest(request, messages, lookup);
    result.status = resolution.status;
    if (resolution.status != RequestStatus::Done) {
        return result;
    }
    result.resolved = std::move(resolution.resolved);
    const ResolvedRequest& resolved = result.resolved;
    if (options.mapPath && resolved.profile.outDataType == 1) {
        Refuse(messages,
               PICTOR_TRANSLATE_NOOP("Core",
                                     "a memory map needs the binary output: C source (Icon.c) "
                                     "has no memory layout; nothing converted"),
               {});
        result.status = RequestStatus::BadRequest;
        return result;
    }

    workspace::ImportOptions importOptions;
    importOptions.openForWriting = options.writeTrailers;
    importOptions.keepPixels = false;  // decoded one at a time by the conversion
    std::optional<workspace::PictureList> list =
        LoadRequestPictures(request, resolved, importOptions, PartialList::Allowed, messages);
    if (!list) {
        result.status = RequestStatus::Failed;
        return result;
    }
    if (options.mapPath && !MapPathIsFree(*options.mapPath, request, resolved, *list, messages)) {
        result.status = RequestStatus::BadRequest;
        return result;
    }

    ConvertOptions convertOptions;
    convertOptions.outputDir = resolved.outputDir;
    convertOptions.writeTrailers = options.writeTrailers;
    convertOptions.jobs = options.jobs;
    convertOptions.flashCapacity = resolved.flashCapacity;
    result.conversion = Convert(*list, resolved.profile, convertOptions, messages);
    result.pictures = std::move(*list);
    if (!result.conversion.success) {
        result.status = RequestStatus::Failed;
        return result;
    }
    WarnAboutSymbols(result.pictures, messages, lookup);
    WarnAboutPanelFit(result.pictures, resolved.profile, messages);

    if (options.mapPath && result.conversion.map) {
        if (!WriteMemoryMapCsv(*result.conversion.map, *options.mapPath)) {
            Refuse(messages,
                   PICTOR_TRANSLATE_NOOP("Core",
                                         "cannot write the memory map %1; the image and the "
                                         "header were written"),
                   {Utf8FromPath(*options.mapPath)});
            result.status = RequestStatus::Failed;
            return result;
        }
        result.mapWritten = true;
    }
    result.status = RequestStatus::Done;
    return result;
}

RequestPreviewResult RenderRequest(const ConversionRequest& request, MessageSink& messages,
                                   const CoreTextLookup& lookup) {
    RequestPreviewResult result;
    const Resolution resolution = ResolveRequest(request, messages, lookup);
    result.status = resolution.status;
    if (resolution.status != RequestStatus::Done) {
        return result;
    }
    workspace::ImportOptions importOptions;
    importOptions.openForWriting = false;
    std::optional<workspace::PictureList> list = LoadRequestPictures(
        request, resolution.resolved, importOptions, PartialList::Refused, messages);
    if (!list) {
        result.status = RequestStatus::Failed;
        return result;
    }
    // The conversion places pictures in name order; later ones are drawn on top.
    // Pictures named on the command line are all drawn, a project's only when shown.
    list->SortByName();
    const PreviewPictures which =
        resolution.resolved.project ? PreviewPictures::Shown : PreviewPictures::All;
    result.panel = RenderPanel(*list, resolution.resolved.profile, which);
    result.status = RequestStatus::Done;
    return result;
}

}  // namespace pictor::conversion
