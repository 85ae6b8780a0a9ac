#include "core/device/device_link.h"

#include "core/common/translatable.h"
#include "core/device/sleeping_pauser.h"

namespace pictor::device {

namespace {

/// Stands in for a missing line: every call fails quietly, as on a closed port.
class ClosedLine final : public SerialLine {
  public:
    [[nodiscard]] bool IsOpen() const override { return false; }
    [[nodiscard]] int BaudRate() const override { return 0; }
    int Write(std::span<const std::uint8_t> /*data*/) override { return 0; }
    int ReadAvailable(std::span<std::uint8_t> /*buffer*/) override { return 0; }
    bool ReadExact(std::span<std::uint8_t> buffer, std::chrono::milliseconds /*timeout*/) override {
        return buffer.empty();
    }
    bool PurgeInput() override { return true; }
};

}  // namespace

/// Holds the line for one single exchange on the caller's thread.
class DeviceLink::Exchange {
  public:
    Exchange(DeviceLink& link, MessageSink& messages) : link_(link) {
        std::optional<Message> busy;
        {
            std::lock_guard lock(link_.mutex_);
            busy = link_.BusyMessageLocked();
            if (!busy) {
                link_.holder_ = Holder::Exchange;
                line_ = &link_.LineLocked();
            }
        }
        if (busy) {
            messages.Show(*busy);
        }
    }
    ~Exchange() {
        if (line_ != nullptr) {
            std::lock_guard lock(link_.mutex_);
            link_.holder_ = Holder::None;
            link_.released_.notify_all();
        }
    }
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    [[nodiscard]] bool Held() const { return line_ != nullptr; }
    SerialLine& Line() { return *line_; }

  private:
    DeviceLink& link_;
    SerialLine* line_ = nullptr;
};

DeviceLink::DeviceLink(DeviceState initial, std::unique_ptr<Pauser> pauser)
    : closedLine_(std::make_unique<ClosedLine>()),
      pauser_(pauser ? std::move(pauser) : std::make_unique<SleepingPauser>()),
      state_(std::move(initial)) {}

DeviceLink::~DeviceLink() {
    Cancel();
    if (worker_.joinable()) {
        worker_.join();
    }
}

std::optional<Message> DeviceLink::BusyMessageLocked() const {
    if (holder_ == Holder::None) {
        return std::nullopt;
    }
    const char* text = holder_ == Holder::Job ? kDeviceBusyText : kExchangeBusyText;
    return Message{text, PICTOR_TRANSLATE_NOOP("Core", "错误信息"), MessageIcon::Exclamation};
}

SerialLine& DeviceLink::LineLocked() {
    return line_ ? *line_ : *closedLine_;
}

bool DeviceLink::AttachLine(std::unique_ptr<SerialLine> line, MessageSink& messages) {
    std::unique_lock lock(mutex_);
    if (auto busy = BusyMessageLocked()) {
        lock.unlock();
        messages.Show(*busy);
        return false;
    }
    line_ = std::move(line);
    return true;
}

std::unique_ptr<SerialLine> DeviceLink::DetachLine(MessageSink& messages) {
    std::unique_lock lock(mutex_);
    if (auto busy = BusyMessageLocked()) {
        lock.unlock();
        messages.Show(*busy);
        return nullptr;
    }
    return std::move(line_);
}

bool DeviceLink::HasLine() const {
    std::lock_guard lock(mutex_);
    return line_ != nullptr;
}

DeviceState DeviceLink::State() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void DeviceLink::PickFlashType(std::string_view flashTypeText) {
    std::lock_guard lock(mutex_);
    device::PickFlashType(state_, flashTypeText);
}

void DeviceLink::TakeConnectState(const DeviceState& connected) {
    std::lock_guard lock(mutex_);
    // Only the fields a connect sets: a flash type picked meanwhile keeps its text.
    state_.transferMode = connected.transferMode;
    state_.imageStartSector = connected.imageStartSector;
    state_.flashSizeCode = connected.flashSizeCode;
    state_.selectedFlashType = connected.selectedFlashType;
}

std::optional<ConnectResult> DeviceLink::Connect(MessageSink& messages) {
    Exchange exchange(*this, messages);
    if (!exchange.Held()) {
        return std::nullopt;
    }
    DeviceState state = State();
    DeviceProtocol protocol(exchange.Line(), *pauser_);
    const ConnectResult result = protocol.ConnectDevice(state, false);
    if (result.StateApplied()) {
        TakeConnectState(state);
    }
    return result;
}

std::optional<Outcome> DeviceLink::WriteSettings(const LcdSettings& settings,
                                                 MessageSink& messages) {
    Exchange exchange(*this, messages);
    if (!exchange.Held()) {
        return std::nullopt;
    }
    DeviceProtocol protocol(exchange.Line(), *pauser_);
    return protocol.WriteSettings(settings);
}

std::optional<Outcome> DeviceLink::ReadSettings(LcdSettingsReply& reply, MessageSink& messages) {
    Exchange exchange(*this, messages);
    if (!exchange.Held()) {
        return std::nullopt;
    }
    DeviceProtocol protocol(exchange.Line(), *pauser_);
    return protocol.ReadSettings(reply);
}

bool DeviceLink::StartDownload(DownloadRequest request, ProgressSink& progress,
                               MessageSink& messages,
                               std::function<void(const DownloadResult&)> onFinished) {
    std::unique_lock lock(mutex_);
    if (auto busy = BusyMessageLocked()) {
        lock.unlock();
        messages.Show(*busy);
        return false;
    }
    if (worker_.joinable()) {
        worker_.join();  // the last job has ended (holder_ is None); collect its thread
    }
    holder_ = Holder::Job;
    cancel_ = CancelToken{};
    SerialLine& line = LineLocked();
    const DeviceState start = state_;
    worker_ = std::thread([this, &line, &progress, &messages, start, request = std::move(request),
                           onFinished = std::move(onFinished), cancel = cancel_]() {
        DeviceProtocol protocol(line, *pauser_, cancel);
        const DownloadResult result =
            RunDownload(request, protocol, start, progress, messages,
                        [this](const DeviceState& s) { TakeConnectState(s); });
        if (onFinished) {
            onFinished(result);
        }
        std::lock_guard endLock(mutex_);
        lastResult_ = result;
        holder_ = Holder::None;
        released_.notify_all();
    });
    return true;
}

void DeviceLink::Cancel() {
    std::lock_guard lock(mutex_);
    if (holder_ == Holder::Job) {
        cancel_.Cancel();
    }
}

std::optional<DownloadResult> DeviceLink::Wait() {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return holder_ != Holder::Job; });
    return lastResult_;
}

bool DeviceLink::IsRunning() const {
    std::lock_guard lock(mutex_);
    return holder_ == Holder::Job;
}

std::optional<DownloadResult> DeviceLink::LastResult() const {
    std::lock_guard lock(mutex_);
    return lastResult_;
}

}  // namespace pictor::device
