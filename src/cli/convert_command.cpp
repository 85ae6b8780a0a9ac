// pictor-cli convert: loads pictures, builds the profile from the settings file
// (never writing it) plus command-line overrides, and runs the conversion.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commands.h"
#include "cli/convert_options.h"
#include "core/common/message.h"
#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/conversion/convert_operation.h"
#include "core/conversion/dither.h"
#include "core/conversion/memory_map.h"
#include "core/conversion/symbol_check.h"
#include "core/settings/model_profile.h"
#include "core/settings/profile_file.h"
#include "core/settings/startup_profile.h"
#include "core/workspace/picture_import.h"
#include "core/workspace/picture_list.h"
#include "core/workspace/project_file.h"

namespace pictor::cli {

bool Given(const CLI::Option* option) {
    return option != nullptr && option->count() > 0;
}

namespace {

int DepthListPosition(int depth) {
    const int depths[] = {1, 2, 4, 8, 16, 24};
    for (int i = 0; i < 6; ++i) {
        if (depths[i] == depth) {
            return i;
        }
    }
    return -1;
}

// The profile the start-up box's OK would give, or the built-in defaults when the
// settings file is missing or names no usable model. Nothing is written.
// `model` is the model asked for (by --model or the project), if any.
std::optional<settings::ModelProfile> LoadProfile(const std::optional<std::string>& model,
                                                  settings::ProfileFile& file,
                                                  const Streams& streams) {
    if (!file.Exists()) {
        streams.err << streams.Translate("Core", "没有找到配置文件! ") << "\n";
        if (model) {
            streams.err << FillPlaceholders(
                               streams.Translate("Cli",
                                                 "pictor-cli: no settings file, so no model %1"),
                               {*model})
                        << "\n";
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
            streams.err << FillPlaceholders(
                               streams.Translate("Cli", "pictor-cli: model '%1' is not in %2"),
                               {*model, Utf8FromPath(file.Path())})
                        << "\n";
            return std::nullopt;
        }
    }
    settings::StartupProfile startup =
        settings::ConfirmStartupProfile(file, settings::WriteBack::No, index);
    if (!startup.confirmable) {
        streams.err
            << FillPlaceholders(
                   streams.Translate(
                       "Cli",
                       "pictor-cli: %1 names no usable current model; using the built-in defaults"),
                   {Utf8FromPath(file.Path())})
            << "\n";
        settings::ModelProfile defaults;
        const settings::PanelSize panel = settings::PanelSizeFromLcdType(startup.lcdSizeText);
        defaults.panelWidth = panel.width;
        defaults.panelHeight = panel.height;
        return defaults;
    }
    return startup.profile;
}

// Applies the overrides, then completes the derived values for the final depth
// and colour type (levels are regenerated in memory when the file lacks them).
bool ApplyOverrides(const ConvertArgs& args, settings::ModelProfile& profile,
                    settings::ProfileFile& file, const Streams& streams) {
    if (Given(args.depthOption)) {
        profile.colorDepth = args.depth;
    }
    const auto typeCount = static_cast<int>(
        settings::ColorTypeListTexts(DepthListPosition(profile.colorDepth)).size());
    if (Given(args.colorTypeOption)) {
        if (args.colorType < 0 || args.colorType >= typeCount) {
            streams.err << FillPlaceholders(
                               streams.Translate("Cli",
                                                 "pictor-cli: --color-type %1 is not a colour type "
                                                 "of depth %2 (0 to %3)"),
                               {std::to_string(args.colorType), std::to_string(profile.colorDepth),
                                std::to_string(typeCount - 1)})
                        << "\n";
            return false;
        }
        profile.colorType = args.colorType;
    } else if (profile.colorType < 0 || profile.colorType >= typeCount) {
        profile.colorType = 0;  // the configuration form's first entry
    }
    if (Given(args.directionOption)) {
        profile.convertDirection = args.direction;
    }
    if (Given(args.outputOption)) {
        profile.outDataType = args.output == "c" ? 1 : 0;
    }
    if (Given(args.unitOption)) {
        profile.minAllocateSize = args.unit;
    }
    if (Given(args.blockOption)) {
        profile.blockColNum = args.block;
    }
    if (args.avoidAcrossSector) {
        profile.avoidAcrossSector = 1;
    }
    if (args.sizeToBin) {
        profile.saveWidthHeightToBin = 1;
    }
    if (args.sizeToDefine) {
        profile.saveWidthHeightToDefine = 1;
    }
    if (args.positionToDefine) {
        profile.saveLeftTopToDefine = 1;
    }
    if (Given(args.lcdTypeOption)) {
        const settings::PanelSize panel = settings::PanelSizeFromLcdType(args.lcdType);
        profile.panelWidth = panel.width;
        profile.panelHeight = panel.height;
    }
    if (Given(args.bkColorOption)) {
        profile.bkColor = static_cast<std::uint32_t>(args.bkColor);
    }
    if (Given(args.ditherOption)) {
        profile.dither = static_cast<int>(
            conversion::ParseDitherMode(args.dither).value_or(conversion::DitherMode::None));
    }

    if (profile.colorDepth == 16) {
        settings::SetChannelLayout(profile);
    } else {
        settings::LoadColorLevels(profile, file, settings::WriteBack::No);
    }
    profile.pixelsPerByte = settings::PixelsPerByte(profile.colorDepth);
    return true;
}

}  // namespace

// Loads the --project file; refuses a project whose pictures are not all there, so
// a build never gets a partial image.
std::optional<workspace::Project> LoadProjectArg(const ConvertArgs& args, const Streams& streams) {
    const workspace::ProjectLoadResult loaded =
        workspace::LoadProject(PathFromUtf8(args.projectPath), streams.CoreLookup());
    if (!loaded.ok) {
        streams.err << "pictor-cli: " << loaded.error << "\n";
        return std::nullopt;
    }
    for (const std::filesystem::path& missing : loaded.missing) {
        streams.err << FillPlaceholders(
                           streams.Translate("Cli",
                                             "pictor-cli: picture of the project not found: %1"),
                           {Utf8FromPath(missing)})
                    << "\n";
    }
    if (!loaded.missing.empty()) {
        return std::nullopt;
    }
    return loaded.project;
}

std::optional<settings::ModelProfile> ResolveProfile(const ConvertArgs& args,
                                                     const workspace::Project* project,
                                                     const Streams& streams) {
    std::optional<std::string> model;
    if (Given(args.modelOption)) {
        model = args.model;
    } else if (project != nullptr && !project->model.empty()) {
        model = project->model;
    }
    settings::ProfileFile file(PathFromUtf8(args.settingsPath));
    std::optional<settings::ModelProfile> profile = LoadProfile(model, file, streams);
    if (!profile || !ApplyOverrides(args, *profile, file, streams)) {
        return std::nullopt;
    }
    return profile;
}

std::optional<RunInput> ResolveRunInput(const ConvertArgs& args, const Streams& streams,
                                        int& exitCode) {
    RunInput input;
    if (Given(args.projectOption)) {
        input.project = LoadProjectArg(args, streams);
        if (!input.project) {
            exitCode = kExitFailed;
            return std::nullopt;
        }
    } else if (args.pictures.empty()) {
        streams.err << streams.Translate("Cli",
                                         "pictor-cli: give the PICTURE files or --project FILE")
                    << "\n";
        exitCode = kExitUsage;
        return std::nullopt;
    }
    std::optional<settings::ModelProfile> profile =
        ResolveProfile(args, input.project ? &*input.project : nullptr, streams);
    if (!profile) {
        exitCode = kExitUsage;
        return std::nullopt;
    }
    input.profile = std::move(*profile);
    return input;
}

namespace {

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

int RunConvert(const ConvertArgs& args, const Streams& streams) {
    int exitCode = kExitOk;
    const std::optional<RunInput> input = ResolveRunInput(args, streams, exitCode);
    if (!input) {
        return exitCode;
    }
    const std::optional<workspace::Project>& project = input->project;
    const settings::ModelProfile& profile = input->profile;
    const bool cSource = profile.outDataType == 1;
    if (Given(args.mapOption) && cSource) {
        streams.err << streams.Translate("Cli",
                                         "pictor-cli: --map needs the binary output: C source "
                                         "(Icon.c) has no memory layout; nothing converted")
                    << "\n";
        return kExitUsage;
    }

    std::filesystem::path outputDir = PathFromUtf8(args.outputDir);
    if (outputDir.empty() && project) {
        outputDir = project->outputDir;
    }
    if (outputDir.empty()) {
        std::error_code error;
        outputDir = std::filesystem::current_path(error);
    }

    StreamMessageSink messages(streams);
    workspace::PictureList list;
    workspace::ImportOptions importOptions;
    importOptions.openForWriting = args.writeTrailers;
    importOptions.keepPixels = false;  // decoded one at a time by the conversion
    if (project) {
        int added = 0;
        list = workspace::BuildPictureList(*project, messages, importOptions, &added);
        if (static_cast<std::size_t>(added) != project->pictures.size()) {
            streams.err << streams.Translate("Cli",
                                             "pictor-cli: not every picture of the project could "
                                             "be loaded; nothing converted")
                        << "\n";
            return kExitFailed;
        }
    } else {
        workspace::ImportPictures(list, args.pictures, messages, importOptions);
    }
    if (list.Empty()) {
        streams.err << streams.Translate(
                           "Cli", "pictor-cli: no picture could be loaded; nothing converted")
                    << "\n";
        return kExitFailed;
    }

    if (Given(args.mapOption)) {
        std::vector<std::filesystem::path> kept = {outputDir / "Icon.bin", outputDir / "Icon.c",
                                                   outputDir / "Icon.h",
                                                   PathFromUtf8(args.settingsPath)};
        if (Given(args.projectOption)) {
            kept.emplace_back(PathFromUtf8(args.projectPath));
        }
        for (const workspace::ImageEntry& entry : list.Entries()) {
            kept.emplace_back(PathFromUtf8(entry.path));
        }
        if (const auto* file = SameFile(PathFromUtf8(args.mapPath), kept)) {
            streams.err << FillPlaceholders(
                               streams.Translate(
                                   "Cli",
                                   "pictor-cli: --map %1 would overwrite %2; nothing converted"),
                               {args.mapPath, Utf8FromPath(*file)})
                        << "\n";
            return kExitUsage;
        }
    }

    conversion::ConvertOptions options;
    options.outputDir = outputDir;
    options.writeTrailers = args.writeTrailers;
    options.jobs = args.jobs;
    // The image has to fit the flash the settings name, or the largest one.
    if (settings::ProfileFile file(PathFromUtf8(args.settingsPath)); file.Exists()) {
        const std::string flashType = file.GetString("Scom", "FLASH_TYPE", "");
        if (const auto capacity = conversion::FlashTypeCapacity(flashType)) {
            options.flashCapacity = *capacity;
        }
    }
    const conversion::ConvertResult result = conversion::Convert(list, profile, options, messages);
    if (!result.success) {
        return kExitFailed;
    }
    // Symbols that break Icon.h are worth a warning; the outputs stay as written.
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        names.push_back(list.At(i).name);
    }
    for (const std::string& warning : conversion::SymbolWarnings(names, streams.CoreLookup())) {
        streams.err << "pictor-cli: " << warning << '\n';
    }
    streams.out << (cSource ? "Icon.c: " : "Icon.bin: ") << Utf8FromPath(result.dataPath) << '\n'
                << "Icon.h: " << Utf8FromPath(result.headerPath) << '\n';
    if (!Given(args.mapOption) || !result.map) {
        streams.out << FillPlaceholders(streams.Translate("Cli", "pictures: %1"),
                                        {std::to_string(result.pictureCount)})
                    << '\n';
        return kExitOk;
    }
    if (!conversion::WriteMemoryMapCsv(*result.map, PathFromUtf8(args.mapPath))) {
        streams.err << FillPlaceholders(
                           streams.Translate("Cli",
                                             "pictor-cli: cannot write the memory map %1; the "
                                             "image and the header were written"),
                           {args.mapPath})
                    << "\n";
        return kExitFailed;
    }
    streams.out << FillPlaceholders(streams.Translate("Cli", "memory map: %1"), {args.mapPath})
                << '\n';
    for (const std::string& line :
         conversion::MemoryMapSummary(result.map->totals, streams.CoreLookup())) {
        streams.out << line << '\n';
    }
    return kExitOk;
}

}  // namespace

void AddProfileOptions(CLI::App* command, ConvertArgs* args, const Streams& streams) {
    command->add_option("--settings", args->settingsPath, streams.Translate("Cli", "Settings file"))
        ->capture_default_str();
    args->modelOption = command->add_option(
        "--model", args->model, streams.Translate("Cli", "Model profile (default: CURRENT_MODE)"));
    args->depthOption =
        command
            ->add_option("--depth", args->depth, streams.Translate("Cli", "Colour depth in bits"))
            ->check(CLI::IsMember({1, 2, 4, 8, 16, 24}));
    args->colorTypeOption = command->add_option(
        "--color-type", args->colorType,
        streams.Translate("Cli", "Colour type index (16-bit: 0 BGR_565, 1 RGB_565)"));
    args->directionOption =
        command
            ->add_option("--direction", args->direction,
                         streams.Translate("Cli", "0 = horizontal first, 1 = vertical first"))
            ->check(CLI::IsMember({0, 1}));
    args->outputOption =
        command
            ->add_option("--output", args->output,
                         streams.Translate("Cli", "bin (Icon.bin) or c (C source Icon.c)"))
            ->check(CLI::IsMember({"bin", "c"}));
    args->unitOption =
        command
            ->add_option("--unit", args->unit,
                         streams.Translate("Cli", "Allocation unit in bytes (power of two)"))
            ->check(CLI::IsMember({1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096}));
    args->blockOption =
        command
            ->add_option("--block", args->block,
                         streams.Translate("Cli", "Band size: 0 (MAX) or 8, 16, ... 104"))
            ->check(CLI::IsMember({0, 8, 16, 24, 32, 40, 48, 56, 64, 72, 80, 88, 96, 104}));
    command->add_flag("--avoid-across-sector", args->avoidAcrossSector,
                      streams.Translate("Cli", "Keep each picture inside one 512-byte sector"));
    command->add_flag("--size-to-bin", args->sizeToBin,
                      streams.Translate("Cli", "Size prefix before each picture"));
    command->add_flag("--size-to-define", args->sizeToDefine,
                      streams.Translate("Cli", "_H and _W lines in Icon.h"));
    command->add_flag("--position-to-define", args->positionToDefine,
                      streams.Translate("Cli", "_T and _L lines in Icon.h"));
    args->lcdTypeOption = command->add_option(
        "--lcd-type", args->lcdType, streams.Translate("Cli", "LCD size text, e.g. 320x240"));
    args->bkColorOption =
        command
            ->add_option(
                "--bk-color", args->bkColor,
                streams.Translate("Cli",
                                  "Background colour for transparent pixels (red in the low byte)"))
            ->check(CLI::Range(0LL, 0xFFFFFFLL));
    args->ditherOption =
        command
            ->add_option("--dither", args->dither,
                         streams.Translate("Cli", "Dithering: none, ordered or fs"))
            ->check(CLI::IsMember({"none", "ordered", "fs"}));
    args->projectOption = command->add_option(
        "--project", args->projectPath,
        streams.Translate("Cli", "Project file: its pictures, positions, model and output folder"));
    command
        ->add_option("PICTURE", args->pictures,
                     streams.Translate("Cli", "Picture files (or --project)"))
        ->excludes(args->projectOption);
}

void AddConvertCommand(CLI::App& app, const Streams& streams, int& exitCode) {
    auto args = std::make_shared<ConvertArgs>();
    CLI::App* command = app.add_subcommand(
        "convert",
        streams.Translate("Cli", "Convert pictures into Icon.bin + Icon.h (or Icon.c + Icon.h)"));

    AddProfileOptions(command, args.get(), streams);
    args->outputDirOption = command->add_option(
        "--output-dir", args->outputDir,
        streams.Translate("Cli",
                          "Output directory (default: the project's, else the working directory)"));
    command->add_flag(
        "--write-trailers", args->writeTrailers,
        streams.Translate("Cli", "Store each picture's position in its file's trailer"));
    command
        ->add_option("--jobs", args->jobs,
                     streams.Translate(
                         "Cli", "Threads that decode and encode pictures (default: all cores)"))
        ->check(CLI::Range(1U, 256U));
    args->mapOption = command->add_option(
        "--map", args->mapPath,
        streams.Translate(
            "Cli", "Write the memory map of Icon.bin as CSV to this file and print its totals"));

    command->callback([args, streams, &exitCode] { exitCode = RunConvert(*args, streams); });
}

}  // namespace pictor::cli
