#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "core/device/serial_line.h"

namespace pictor::gui::testing {

/// pictor-sim on a pseudo-terminal for the length of a test: started with the
/// given options, its port read from its first line ("port: /dev/pts/N").
class SimProcess {
  public:
    explicit SimProcess(const QStringList& arguments) {
#ifdef PICTOR_SIM_PATH
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(QStringLiteral(PICTOR_SIM_PATH), arguments);
        if (!process_.waitForStarted(10000)) {
            return;
        }
        QByteArray output;
        const QDeadlineTimer deadline(10000);
        static const QRegularExpression portLine(QStringLiteral("port: (\\S+)"));
        while (!deadline.hasExpired() && port_.isEmpty()) {
            process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
            output += process_.readAllStandardOutput();
            const auto match = portLine.match(QString::fromUtf8(output));
            if (match.hasMatch()) {
                port_ = match.captured(1);
            }
        }
#else
        (void)arguments;
#endif
    }
    ~SimProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(5000)) {
                process_.kill();
                process_.waitForFinished(5000);
            }
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    /// The pseudo-terminal's path; empty when the simulator did not start.
    [[nodiscard]] const QString& Port() const {
        return port_;
    }

  private:
    QProcess process_;
    QString port_;
};

/// The protocol's fixed pauses cost no time in tests (the simulator answers at once).
class NoPauser final : public device::Pauser {
  public:
    void Pause(std::chrono::milliseconds /*duration*/) override {}
};

}  // namespace pictor::gui::testing
