#pragma once

#include <vector>

#include "core/common/message.h"

namespace pictor::test {

/// A message sink that keeps every message it is shown, in order.
class RecordingSink final : public MessageSink {
  public:
    void Show(const Message& message) override { messages.push_back(message); }
    std::vector<Message> messages;
};

}  // namespace pictor::test
