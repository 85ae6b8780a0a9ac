#include "cli/watch_conversion.h"

#include "core/conversion/conversion_request.h"
#include "core/workspace/project_file.h"

namespace pictor::cli {

std::vector<std::filesystem::path> ProjectInputs(const std::filesystem::path& project,
                                                 const std::filesystem::path& settings) {
    std::vector<std::filesystem::path> inputs{project, settings};
    const workspace::ProjectLoadResult loaded = workspace::LoadProject(project);
    if (loaded.ok) {
        for (const workspace::ProjectPicture& picture : loaded.project.pictures) {
            inputs.push_back(picture.path);
        }
    }
    return inputs;
}

std::optional<std::filesystem::path> ConvertProject(const std::filesystem::path& project,
                                                    const std::filesystem::path& settings,
                                                    MessageSink& messages,
                                                    const CoreTextLookup& lookup) {
    conversion::ConversionRequest request;
    request.settingsPath = settings;
    request.projectPath = project;
    // The module takes the binary image only.
    request.overrides.outDataType = 0;
    const conversion::RequestConvertResult result =
        conversion::ConvertRequest(request, conversion::RequestConvertOptions{}, messages, lookup);
    if (result.status != conversion::RequestStatus::Done) {
        return std::nullopt;
    }
    return result.conversion.dataPath;
}

}  // namespace pictor::cli
