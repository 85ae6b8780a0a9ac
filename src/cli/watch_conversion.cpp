#include "cli/watch_conversion.h"

#include "cli/convert_options.h"
#include "core/common/regular_file.h"
#include "core/conversion/convert_operation.h"
#include "core/workspace/picture_list.h"
#include "core/workspace/project_file.h"

namespace pictor::cli {

std::vector<std::filesystem::path> ProjectInputs(const std::string& projectPath,
                                                 const std::string& settingsPath) {
    std::vector<std::filesystem::path> inputs{PathFromUtf8(projectPath),
                                              PathFromUtf8(settingsPath)};
    const workspace::ProjectLoadResult loaded = workspace::LoadProject(PathFromUtf8(projectPath));
    if (loaded.ok) {
        for (const workspace::ProjectPicture& picture : loaded.project.pictures) {
            inputs.push_back(picture.path);
        }
    }
    return inputs;
}

std::optional<std::filesystem::path> ConvertProject(const std::string& projectPath,
                                                    const std::string& settingsPath,
                                                    MessageSink& messages, const Streams& streams) {
    ConvertArgs args;
    args.projectPath = projectPath;
    args.settingsPath = settingsPath;
    const std::optional<workspace::Project> project = LoadProjectArg(args, streams);
    if (!project) {
        return std::nullopt;
    }
    const std::optional<settings::ModelProfile> profile = ResolveProfile(args, &*project, streams);
    if (!profile) {
        return std::nullopt;
    }
    if (profile->outDataType == 1) {
        streams.err << streams.Translate("Cli",
                                         "pictor-cli: the model writes C source (Icon.c); watch "
                                         "needs the binary output Icon.bin")
                    << "\n";
        return std::nullopt;
    }
    workspace::ImportOptions importOptions;
    importOptions.openForWriting = false;
    importOptions.keepPixels = false;
    int added = 0;
    workspace::PictureList list =
        workspace::BuildPictureList(*project, messages, importOptions, &added);
    if (static_cast<std::size_t>(added) != project->pictures.size() || list.Empty()) {
        streams.err << streams.Translate("Cli",
                                         "pictor-cli: not every picture of the project could "
                                         "be loaded; nothing converted")
                    << "\n";
        return std::nullopt;
    }
    conversion::ConvertOptions options;
    options.outputDir = project->outputDir;
    options.writeTrailers = false;
    const conversion::ConvertResult result = conversion::Convert(list, *profile, options, messages);
    if (!result.success) {
        return std::nullopt;
    }
    return result.dataPath;
}

}  // namespace pictor::cli
