#include "cli/device_console.h"

#include <unistd.h>

#include <iostream>
#include <utility>

namespace pictor::cli {

DeviceConsole::DeviceConsole(Streams streams, bool errIsTerminal, bool informationToOut)
    : streams_(std::move(streams)),
      errIsTerminal_(errIsTerminal),
      informationToOut_(informationToOut) {}

bool ErrIsTerminal(const Streams& streams) {
    return &streams.err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
}

void DeviceConsole::SetProgress(int /*percent*/) {
    // Every status text of the device jobs carries its percentage already.
}

void DeviceConsole::SetStatus(const std::string& coreText) {
    const std::string text = streams_.LocalizeStatus(coreText);
    std::lock_guard lock(mutex_);
    if (text == lastStatus_) {
        return;
    }
    lastStatus_ = text;
    if (errIsTerminal_) {
        // Carriage return, the text, then clear to the end of the line.
        streams_.err << '\r' << text << "\x1b[K" << std::flush;
        statusLineOpen_ = true;
    } else {
        streams_.err << text << '\n';
    }
}

void DeviceConsole::EndStatusLineLocked() {
    if (statusLineOpen_) {
        streams_.err << '\n' << std::flush;
        statusLineOpen_ = false;
    }
}

void DeviceConsole::EndStatusLine() {
    std::lock_guard lock(mutex_);
    EndStatusLineLocked();
}

void DeviceConsole::Show(const Message& coreMessage) {
    const Message message = streams_.Localize(coreMessage);
    std::lock_guard lock(mutex_);
    EndStatusLineLocked();
    // A warning goes to stderr although its icon is the information one.
    std::ostream& out = informationToOut_ && coreMessage.icon == MessageIcon::Information &&
                                coreMessage.caption != "警告"
                            ? streams_.out
                            : streams_.err;
    if (!message.caption.empty()) {
        out << message.caption << ": ";
    }
    out << message.text << std::endl;
}

void DeviceConsole::Explain(const std::string& text) {
    std::lock_guard lock(mutex_);
    EndStatusLineLocked();
    streams_.err << text << std::endl;
}

}  // namespace pictor::cli
