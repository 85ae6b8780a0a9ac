// The convert button and the report of where its outputs went.
#include <QLocale>
#include <filesystem>
#include <system_error>

#include "core/common/text_format.h"
#include "core/conversion/convert_operation.h"
#include "core/conversion/symbol_check.h"
#include "core/settings/profile_file.h"
#include "gui/main_window.h"
#include "gui/memory_map_dialog.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

constexpr const char* kConvertSuccess = "转档成功";

// Passes every message of a conversion on but its success notice, which the
// window shows itself with the outputs it names.
class ConvertMessages final : public MessageSink {
  public:
    explicit ConvertMessages(MessageSink& next) : next_(next) {}
    void Show(const Message& message) override {
        if (message.text == kConvertSuccess) {
            success = message;
            return;
        }
        next_.Show(message);
    }
    std::optional<Message> success;

  private:
    MessageSink& next_;
};

}  // namespace

// The convert button: the core conversion writes Icon.bin (or Icon.c) and Icon.h
// into the project's output folder (the directory current at start-up without one), sorts the list
// and shows its outcome.
void MainWindow::OnConvert() {
    if (pictures_.Empty()) {
        return;
    }
    conversion::ConvertOptions options;
    options.outputDir = OutputDirectory();
    // The image is checked against the flash the user chose (the largest one without).
    if (const auto capacity = conversion::FlashTypeCapacity(link_.State().selectedFlashType)) {
        options.flashCapacity = *capacity;
    }
    ConvertMessages messages(messages_);
    ListState before = CurrentListState();
    const conversion::ConvertResult result =
        conversion::Convert(pictures_, profile_, options, messages);
    // The conversion sorts the list by name: a step of its own.
    RecordListChange(QT_TRANSLATE_NOOP("ListChange", "Sort by name"), std::move(before));
    memoryMap_->SetFlashType(link_.State().selectedFlashType);
    memoryMap_->SetConversion(result);
    if (result.success && profile_.outDataType != 1) {
        convertedImage_ = result.dataPath;  // what the resource download offers first
    }
    RebuildList();
    SelectPicture(pictures_.Empty() ? -1 : 0);
    ShowConvertOutcome(result, messages.success);
}

// The memory map of the last conversion, against the flash type chosen now.
void MainWindow::OnMemoryMap() {
    memoryMap_->SetFlashType(link_.State().selectedFlashType);
    memoryMap_->show();
    memoryMap_->raise();
    memoryMap_->activateWindow();
}

void MainWindow::ShowConvertOutcome(const conversion::ConvertResult& result,
                                    const std::optional<Message>& success) {
    if (!result.success) {
        return;  // the failure has been shown
    }
    Message report = LocalizeCoreMessage(
        success.value_or(Message{kConvertSuccess, "", MessageIcon::Information}));
    const std::string dataName = result.dataPath.filename().string();
    report.text += "\n\n" +
                   FillPlaceholders(Translate("MainWindow", "Folder: %1").toStdString(),
                                    {result.dataPath.parent_path().string()}) +
                   "\n" +
                   FillPlaceholders(Translate("MainWindow", "Files: %1, %2").toStdString(),
                                    {dataName, result.headerPath.filename().string()});
    std::error_code error;
    const auto bytes = std::filesystem::file_size(result.dataPath, error);
    if (!error) {
        report.text +=
            "\n" + FillPlaceholders(Translate("MainWindow", "%1: %2 bytes").toStdString(),
                                    {dataName, std::to_string(bytes)});
        // The share of the flash the user chose, for the resource image only.
        const std::string& flashType = link_.State().selectedFlashType;
        const std::uint64_t flashBytes = conversion::FlashTypeCapacity(flashType).value_or(0);
        if (profile_.outDataType != 1 && flashBytes > 0) {
            const double share =
                100.0 * static_cast<double>(bytes) / static_cast<double>(flashBytes);
            report.text +=
                ", " + FillPlaceholders(
                           Translate("MainWindow", "%1 % of the %2 flash (%3 bytes)").toStdString(),
                           {QLocale::c().toString(share, 'f', 2).toStdString(), flashType,
                            std::to_string(flashBytes)});
        }
    }
    ShowMessage(report.text, report.icon, report.caption);

    // Symbols that break Icon.h are worth a warning; the outputs stay as written.
    std::vector<std::string> names;
    for (std::size_t i = 0; i < pictures_.Size(); ++i) {
        names.push_back(pictures_.At(i).name);
    }
    const auto warnings = conversion::SymbolWarnings(names, CoreTextLookUp());
    if (!warnings.empty()) {
        std::string text =
            Translate("MainWindow", "Icon.h was written, but some of its symbols need attention:")
                .toStdString();
        for (const std::string& warning : warnings) {
            text += "\n" + warning;
        }
        ShowMessage(text, MessageIcon::Exclamation);
    }
}

}  // namespace pictor::gui
