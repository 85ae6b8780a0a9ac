#pragma once

#include <string>

namespace pictor {

/// The icon a message box carries.
enum class MessageIcon { None, Information, Exclamation, Stop };

/// One user-facing message: its text, its caption and its icon.
/// An empty caption means the application's title.
struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;

    friend bool operator==(const Message&, const Message&) = default;
};

/// Where core operations send the messages the user must see. The GUI shows a
/// message box, the CLI prints a line, tests record them. `Show` returns when the
/// user has dismissed the message (a job waits in it). Implementations used from a
/// worker thread must be thread-safe.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void Show(const Message& message) = 0;
};

/// A sink that drops every message.
class NullMessageSink final : public MessageSink {
  public:
    void Show(const Message& /*message*/) override {}
};

}  // namespace pictor
