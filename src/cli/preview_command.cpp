// pictor-cli preview: renders the panel as a conversion with the same settings
// would show it on the module, and writes it as a PNG.

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/convert_options.h"
#include "core/common/text_format.h"
#include "core/conversion/panel_preview.h"
#include "core/workspace/picture_import.h"
#include "core/workspace/picture_list.h"

namespace pictor::cli {

namespace {

struct PreviewArgs {
    ConvertArgs profile;
    std::string pngPath;
};

// Writes `panel` as a PNG file, replacing `path` only once the whole file is written.
bool WritePng(const workspace::PixelImage& panel, const std::string& path) {
    QImage image(panel.width, panel.height, QImage::Format_RGB32);
    if (image.isNull() && panel.width > 0 && panel.height > 0) {
        return false;
    }
    for (int y = 0; y < panel.height; ++y) {
        std::memcpy(image.scanLine(y), panel.Row(y),
                    static_cast<std::size_t>(panel.width) * sizeof(std::uint32_t));
    }
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

int RunPreview(const PreviewArgs& args, const Streams& streams) {
    const ConvertArgs& options = args.profile;
    int exitCode = kExitOk;
    const std::optional<RunInput> input = ResolveRunInput(options, streams, exitCode);
    if (!input) {
        return exitCode;
    }
    const std::optional<workspace::Project>& project = input->project;

    StreamMessageSink messages(streams);
    workspace::ImportOptions importOptions;
    importOptions.openForWriting = false;
    workspace::PictureList list;
    conversion::PreviewPictures which = conversion::PreviewPictures::Shown;
    if (project) {
        int added = 0;
        list = workspace::BuildPictureList(*project, messages, importOptions, &added);
        if (static_cast<std::size_t>(added) != project->pictures.size()) {
            streams.err << streams.Translate(
                               "Cli",
                               "pictor-cli: not every picture of the project could be loaded")
                        << "\n";
            return kExitFailed;
        }
    } else {
        // Pictures named on the command line are all drawn, at their trailers' positions.
        which = conversion::PreviewPictures::All;
        if (workspace::ImportPictures(list, options.pictures, messages, importOptions) !=
            static_cast<int>(options.pictures.size())) {
            return kExitFailed;
        }
    }
    // The conversion places pictures in name order; later ones are drawn on top.
    list.SortByName();

    const workspace::PixelImage panel = conversion::RenderPanel(list, input->profile, which);
    if (!WritePng(panel, args.pngPath)) {
        streams.err << FillPlaceholders(streams.Translate("Cli", "pictor-cli: cannot write %1"),
                                        {args.pngPath})
                    << "\n";
        return kExitFailed;
    }
    streams.out << FillPlaceholders(
                       streams.Translate("Cli", "preview: %1 (%2x%3)"),
                       {args.pngPath, std::to_string(panel.width), std::to_string(panel.height)})
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
