#pragma once

#include <mutex>
#include <string>

#include "cli/commands.h"
#include "core/common/message.h"
#include "core/common/progress.h"

namespace pictor::cli {

/// Progress and messages of device commands on the console. Status texts go to
/// stderr: on a terminal as one line rewritten in place, otherwise one line per
/// new text. Messages: information to stdout (to stderr too with
/// `informationToOut` false, when stdout carries a command's own lines),
/// everything else to stderr, as "caption: text" when there is a caption.
/// Thread-safe (the download job reports from its own thread).
class DeviceConsole final : public ProgressSink, public MessageSink {
  public:
    DeviceConsole(Streams streams, bool errIsTerminal, bool informationToOut = true);

    void SetProgress(int percent) override;
    void SetStatus(const std::string& text) override;
    void Show(const Message& message) override;

    /// A line of explanation on stderr (after a failure's message).
    void Explain(const std::string& text);
    /// The streams and language the console writes with.
    [[nodiscard]] const Streams& Output() const { return streams_; }
    /// Ends an updating status line, so that later output starts on a new line.
    void EndStatusLine();

  private:
    void EndStatusLineLocked();

    Streams streams_;
    bool errIsTerminal_;
    bool informationToOut_;
    std::mutex mutex_;
    std::string lastStatus_;
    bool statusLineOpen_ = false;
};

/// True when `streams.err` is the process's stderr and that is a terminal.
bool ErrIsTerminal(const Streams& streams);

}  // namespace pictor::cli
