// pictor-cli preview: renders the panel as a conversion with the same settings
// would show it on the module, and writes it as a PNG.

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

// The PNG encoder comes from stb_image_write, compiled here once and writing to memory.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include "cli/commands.h"
#include "cli/convert_options.h"
#include "core/common/regular_file.h"
#include "core/common/text_format.h"
#include "core/conversion/conversion_request.h"
#include "core/workspace/pixel_image.h"

namespace pictor::cli {

namespace {

struct PreviewArgs {
    ConvertArgs profile;
    std::string pngPath;
};

void AppendToVector(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// Writes `panel` as an opaque 8-bit RGB PNG file, replacing `path` only once the
// whole file is written (a temporary file beside it is renamed over it).
bool WritePng(const workspace::PixelImage& panel, const std::string& path) {
    if (panel.width <= 0 || panel.height <= 0) {
        return false;
    }
    const auto width = static_cast<std::size_t>(panel.width);
    std::vector<std::uint8_t> rgb(width * static_cast<std::size_t>(panel.height) * 3);
    std::uint8_t* out = rgb.data();
    for (int y = 0; y < panel.height; ++y) {
        const std::uint32_t* row = panel.Row(y);
        for (std::size_t x = 0; x < width; ++x) {
            *out++ = static_cast<std::uint8_t>(row[x] >> 16);
            *out++ = static_cast<std::uint8_t>(row[x] >> 8);
            *out++ = static_cast<std::uint8_t>(row[x]);
        }
    }
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(AppendToVector, &png, panel.width, panel.height, 3, rgb.data(),
                               panel.width * 3) == 0) {
        return false;
    }
    const std::filesystem::path target = PathFromUtf8(path);
    std::filesystem::path temporary = target;
    temporary += ".pictor-tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(png.data()),
                   static_cast<std::streamsize>(png.size()));
        file.close();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    if (!ReplaceFileAtomically(temporary, target, error)) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

int RunPreview(const PreviewArgs& args, const Streams& streams) {
    if (!HasInput(args.profile, streams)) {
        return kExitUsage;
    }
    StreamMessageSink messages(streams);
    const conversion::RequestPreviewResult result =
        conversion::RenderRequest(BuildRequest(args.profile), messages, streams.CoreLookup());
    if (result.status != conversion::RequestStatus::Done) {
        return ExitCode(result.status);
    }
    if (!WritePng(result.panel, args.pngPath)) {
        streams.err << FillPlaceholders(streams.Translate("Cli", "pictor-cli: cannot write %1"),
                                        {args.pngPath})
                    << "\n";
        return kExitFailed;
    }
    streams.out << FillPlaceholders(streams.Translate("Cli", "preview: %1 (%2x%3)"),
                                    {args.pngPath, std::to_string(result.panel.width),
                                     std::to_string(result.panel.height)})
                << "\n";
    return kExitOk;
}

}  // namespace

void AddPreviewCommand(CLI::App& app, const Streams& streams, int& exitCode) {
    auto args = std::make_shared<PreviewArgs>();
    CLI::App* command = app.add_subcommand(
        "preview",
        streams.Translate("Cli",
                          "Render the panel as the module shows the converted pictures, as a PNG"));
    AddProfileOptions(command, &args->profile, streams);
    command->add_option("--png", args->pngPath, streams.Translate("Cli", "The PNG file to write"))
        ->required();
    command->callback([args, streams, &exitCode] { exitCode = RunPreview(*args, streams); });
}

}  // namespace pictor::cli
