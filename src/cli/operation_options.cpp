// The picture operations pictor-cli convert and preview apply to every PICTURE
// file; a project's pictures carry their own.

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "cli/convert_options.h"
#include "core/workspace/operation_values.h"

namespace pictor::cli {

namespace {

// A CLI11 check built from one of the core's value parsers: an empty string
// accepts, anything else is the error CLI11 shows.
template <class Parse>
CLI::Validator ValueCheck(Parse parse, std::string error, std::string shape) {
    return CLI::Validator([parse, error = std::move(error)](
                              std::string& value) { return parse(value) ? std::string() : error; },
                          std::move(shape));
}

}  // namespace

void AddOperationOptions(CLI::App* command, ConvertArgs* args, const Streams& streams) {
    using workspace::ParseSize;
    const std::string sizeError =
        streams.Translate("Cli", "give the size as WxH, each 1 to 8192 pixels");
    CLI::Option* scale =
        command
            ->add_option_function<std::string>(
                "--scale",
                [args](const std::string& value) { args->operations.scale = *ParseSize(value); },
                streams.Translate("Cli", "Scale every picture to WxH pixels"))
            ->check(ValueCheck(ParseSize, sizeError, "WxH"));
    CLI::Option* fit =
        command
            ->add_option_function<std::string>(
                "--fit",
                [args](const std::string& value) {
                    args->operations.scale = *ParseSize(value);
                    args->operations.scale.mode = workspace::ScaleMode::Fit;
                },
                streams.Translate("Cli",
                                  "Scale every picture to fit inside WxH, keeping its shape"))
            ->check(ValueCheck(ParseSize, sizeError, "WxH"));
    CLI::Option* fitPanel = command->add_flag(
        "--fit-panel", args->fitPanel,
        streams.Translate("Cli", "Scale every picture to fit inside the panel, keeping its shape"));
    CLI::Option* filter =
        command
            ->add_option_function<std::string>(
                "--filter",
                [args](const std::string& value) {
                    args->operations.filter = workspace::ParseFilter(value);
                },
                streams.Translate("Cli",
                                  "Scaling filter: nearest, area or bilinear (default: "
                                  "nearest for whole factors, else area)"))
            ->check(CLI::IsMember({"nearest", "area", "bilinear"}));
    CLI::Option* rotate =
        command
            ->add_option("--rotate", args->operations.rotate,
                         streams.Translate("Cli", "Rotate every picture clockwise: 90, 180 or 270"))
            ->check(CLI::IsMember({0, 90, 180, 270}));
    CLI::Option* flip =
        command
            ->add_option_function<std::string>(
                "--flip",
                [args](const std::string& value) {
                    args->operations.flip = *workspace::ParseFlip(value);
                },
                streams.Translate("Cli",
                                  "Mirror every picture: horizontal (h), vertical (v) or "
                                  "both (hv)"))
            ->check(ValueCheck(workspace::ParseFlip,
                               streams.Translate("Cli", "give none, horizontal, vertical or both"),
                               "DIRECTION"));
    CLI::Option* invert = command->add_flag(
        "--invert", args->operations.invert,
        streams.Translate("Cli", "Invert the colours of every picture (alpha kept)"));
    scale->excludes(fit)->excludes(fitPanel);
    fit->excludes(fitPanel);
    for (CLI::Option* option : {scale, fit, fitPanel, filter, rotate, flip, invert}) {
        option->excludes(args->projectOption);
    }
}

}  // namespace pictor::cli
