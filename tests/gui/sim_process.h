#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "core/device/serial_line.h"
#include "support/sim_process.h"

namespace pictor::gui::testing {

/// pictor-sim on a pseudo-terminal for the length of a test: started with the
/// given options, its port read from its first line ("port: /dev/pts/N").
class SimProcess {
  public:
    explicit SimProcess(const QStringList& arguments) : sim_(Start(arguments)) {}

    /// The pseudo-terminal's path; empty when the simulator did not start.
    [[nodiscard]] QString Port() const {
        return sim_ ? QString::fromStdString(sim_->Port()) : QString();
    }

  private:
    static std::unique_ptr<test::SimProcess> Start(const QStringList& arguments) {
#ifdef PICTOR_SIM_PATH
        std::vector<std::string> args;
        for (const QString& argument : arguments) {
            args.push_back(argument.toStdString());
        }
        return std::make_unique<test::SimProcess>(PICTOR_SIM_PATH, std::move(args));
#else
        (void)arguments;
        return nullptr;
#endif
    }

    std::unique_ptr<test::SimProcess> sim_;
};

/// The protocol's fixed pauses cost no time in tests (the simulator answers at once).
class NoPauser final : public device::Pauser {
  public:
    void Pause(std::chrono::milliseconds /*duration*/) override {}
};

}  // namespace pictor::gui::testing
