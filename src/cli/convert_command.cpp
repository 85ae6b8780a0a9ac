// pictor-cli convert: turns the command line into a conversion request (settings
// file, model, profile overrides, pictures or project) and shows its result.

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
#include "core/conversion/conversion_request.h"
#include "core/conversion/dither.h"
#include "core/conversion/memory_map.h"

namespace pictor::cli {

bool Given(const CLI::Option* option) {
    return option != nullptr && option->count() > 0;
}

conversion::ConversionRequest BuildRequest(const ConvertArgs& args) {
    conversion::ConversionRequest request;
    request.settingsPath = PathFromUtf8(args.settingsPath);
    if (Given(args.modelOption)) {
        request.model = args.model;
    }
    if (Given(args.projectOption)) {
        request.projectPath = PathFromUtf8(args.projectPath);
    }
    request.pictures = args.pictures;
    request.operations = args.operations;
    request.fitPanel = args.fitPanel;
    if (Given(args.outputDirOption) && !args.outputDir.empty()) {
        request.outputDir = PathFromUtf8(args.outputDir);
    }

    conversion::ProfileOverrides& overrides = request.overrides;
    if (Given(args.depthOption)) {
        overrides.colorDepth = args.depth;
    }
    if (Given(args.colorTypeOption)) {
        overrides.colorType = args.colorType;
    }
    if (Given(args.directionOption)) {
        overrides.convertDirection = args.direction;
    }
    if (Given(args.outputOption)) {
        overrides.outDataType = args.output == "c" ? 1 : 0;
    }
    if (Given(args.unitOption)) {
        overrides.minAllocateSize = args.unit;
    }
    if (Given(args.blockOption)) {
        overrides.blockColNum = args.block;
    }
    overrides.avoidAcrossSector = args.avoidAcrossSector;
    overrides.saveWidthHeightToBin = args.sizeToBin;
    overrides.saveWidthHeightToDefine = args.sizeToDefine;
    overrides.saveLeftTopToDefine = args.positionToDefine;
    if (Given(args.lcdTypeOption)) {
        overrides.lcdType = args.lcdType;
    }
    if (Given(args.bkColorOption)) {
        overrides.bkColor = static_cast<std::uint32_t>(args.bkColor);
    }
    if (Given(args.ditherOption)) {
        overrides.dither = conversion::ParseDitherMode(args.dither);
    }
    return request;
}

bool HasInput(const ConvertArgs& args, const Streams& streams) {
    if (Given(args.projectOption) || !args.pictures.empty()) {
        return true;
    }
    streams.err << streams.Translate("Cli", "pictor-cli: give the PICTURE files or --project FILE")
                << "\n";
    return false;
}

int ExitCode(conversion::RequestStatus status) {
    switch (status) {
        case conversion::RequestStatus::Done:
            return kExitOk;
        case conversion::RequestStatus::BadRequest:
            return kExitUsage;
        case conversion::RequestStatus::Failed:
            break;
    }
    return kExitFailed;
}

namespace {

int RunConvert(const ConvertArgs& args, const Streams& streams) {
    if (!HasInput(args, streams)) {
        return kExitUsage;
    }
    conversion::RequestConvertOptions options;
    options.writeTrailers = args.writeTrailers;
    options.jobs = args.jobs;
    if (Given(args.mapOption)) {
        options.mapPath = PathFromUtf8(args.mapPath);
    }
    StreamMessageSink messages(streams);
    const conversion::RequestConvertResult result =
        conversion::ConvertRequest(BuildRequest(args), options, messages, streams.CoreLookup());
    if (result.status != conversion::RequestStatus::Done) {
        return ExitCode(result.status);
    }
    const bool cSource = result.resolved.profile.outDataType == 1;
    streams.out << (cSource ? "Icon.c: " : "Icon.bin: ") << Utf8FromPath(result.conversion.dataPath)
                << '\n'
                << "Icon.h: " << Utf8FromPath(result.conversion.headerPath) << '\n';
    if (!result.mapWritten) {
        streams.out << FillPlaceholders(streams.Translate("Cli", "pictures: %1"),
                                        {std::to_string(result.conversion.pictureCount)})
                    << '\n';
        return kExitOk;
    }
    streams.out << FillPlaceholders(streams.Translate("Cli", "memory map: %1"), {args.mapPath})
                << '\n';
    for (const std::string& line :
         conversion::MemoryMapSummary(result.conversion.map->totals, streams.CoreLookup())) {
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
    AddOperationOptions(command, args, streams);
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
