#pragma once

#include <string>
#include <vector>

namespace pictor {

/// The icon a message box carries.
enum class MessageIcon { None, Information, Exclamation, Stop };

/// One user-facing message: its text, its caption and its icon.
/// An empty caption means the application's title.
///
/// `text` and `caption` are in the core's own language (Chinese); they double as
/// the keys the front ends look up in their translations (context "Core"). A text
/// made from a pattern with placeholders keeps the pattern ("加载图片 %1 错误 !")
/// and the values it was filled with, so a front end can translate the pattern and
/// fill it again instead of translating the filled text.
struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    std::string pattern = {};            // empty: `text` is its own key
    std::vector<std::string> args = {};  // the values of %1, %2, ... in `pattern`

    /// Equal when the user would see the same thing.
    friend bool operator==(const Message& a, const Message& b) {
        return a.text == b.text && a.caption == b.caption && a.icon == b.icon;
    }
};

/// A message whose text is `pattern` with %1, %2, ... replaced by `args`.
Message PatternMessage(std::string pattern, std::vector<std::string> args, std::string caption,
                       MessageIcon icon);

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
