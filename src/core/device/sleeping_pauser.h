#pragma once

#include <thread>

#include "core/device/serial_line.h"

namespace pictor::device {

/// The real pauser: sleeps the calling thread.
class SleepingPauser final : public Pauser {
  public:
    void Pause(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
};

}  // namespace pictor::device
