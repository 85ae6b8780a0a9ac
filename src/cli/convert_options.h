#pragma once

// What pictor-cli convert and preview share: the settings, model, profile
// overrides and the pictures or project to work on.

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "core/common/message.h"
#include "core/conversion/conversion_request.h"

namespace pictor::cli {

struct ConvertArgs {
    std::string settingsPath = "./Pictor.ini";
    std::string model;
    int depth = 0;
    int colorType = 0;
    int direction = 0;
    std::string output;
    int unit = 1;
    int block = 0;
    bool avoidAcrossSector = false;
    bool sizeToBin = false;
    bool sizeToDefine = false;
    bool positionToDefine = false;
    std::string lcdType;
    long long bkColor = 0;
    std::string outputDir;
    bool writeTrailers = false;
    unsigned jobs = 0;  // 0: all cores
    std::vector<std::string> pictures;
    std::string projectPath;
    std::string dither;
    std::string mapPath;  // convert --map: the memory map's CSV file
    // Operations for every PICTURE file.
    workspace::PictureOperations operations;
    bool fitPanel = false;

    // Which overrides were given.
    CLI::Option* modelOption = nullptr;
    CLI::Option* depthOption = nullptr;
    CLI::Option* colorTypeOption = nullptr;
    CLI::Option* directionOption = nullptr;
    CLI::Option* outputOption = nullptr;
    CLI::Option* unitOption = nullptr;
    CLI::Option* blockOption = nullptr;
    CLI::Option* lcdTypeOption = nullptr;
    CLI::Option* bkColorOption = nullptr;
    CLI::Option* outputDirOption = nullptr;
    CLI::Option* projectOption = nullptr;
    CLI::Option* ditherOption = nullptr;
    CLI::Option* mapOption = nullptr;
};

// Information messages (success) go to stdout, everything else to stderr.
class StreamMessageSink final : public MessageSink {
  public:
    explicit StreamMessageSink(Streams streams) : streams_(std::move(streams)) {}
    void Show(const Message& message) override {
        std::ostream& stream =
            message.icon == MessageIcon::Information ? streams_.out : streams_.err;
        stream << streams_.Localize(message).text << '\n';
    }

  private:
    Streams streams_;
};

/// Whether the option was given on the command line.
bool Given(const CLI::Option* option);

/// Registers --settings, --model, the profile overrides, --dither, --project and
/// the PICTURE arguments (which exclude --project) on `command`, storing into `args`
/// (both must outlive the parse).
void AddProfileOptions(CLI::App* command, ConvertArgs* args, const Streams& streams);

/// Registers the operations for every PICTURE file (--scale, --fit, --fit-panel,
/// --filter, --rotate, --flip, --invert; not with --project) on `command`, storing
/// into `args`. Called by AddProfileOptions.
void AddOperationOptions(CLI::App* command, ConvertArgs* args, const Streams& streams);

/// The conversion request the parsed options describe.
conversion::ConversionRequest BuildRequest(const ConvertArgs& args);

/// True when the command names pictures or a project; otherwise says how to name
/// them (bad usage).
bool HasInput(const ConvertArgs& args, const Streams& streams);

/// The exit code of a request that ended with `status`.
int ExitCode(conversion::RequestStatus status);

}  // namespace pictor::cli
