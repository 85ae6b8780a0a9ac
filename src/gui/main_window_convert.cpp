// The convert button and its one report: where the outputs went, how full the
// flash is, and what needs attention.
#include <QFileInfo>
#include <QLocale>
#include <QStatusBar>
#include <filesystem>
#include <system_error>

#include "core/common/text_format.h"
#include "core/conversion/convert_operation.h"
#include "core/conversion/symbol_check.h"
#include "core/settings/profile_file.h"
#include "gui/dialog_service.h"
#include "gui/main_window.h"
#include "gui/memory_map_dialog.h"
#include "gui/ui_language.h"

namespace pictor::gui {
namespace {

constexpr const char* kConvertSuccess = "转档成功";
// Warnings listed in the report before "… and N more".
constexpr std::size_t kListedWarnings = 12;

// Keeps every message of a conversion: the window makes one report of them.
class ConvertMessages final : public MessageSink {
  public:
    void Show(const Message& message) override {
        if (message.text == kConvertSuccess) {
            succeeded = true;
            return;
        }
        shown.push_back(LocalizeCoreMessage(message));
    }
    bool succeeded = false;
    std::vector<Message> shown;
};

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Pictures that the panel cannot show whole at their positions.
std::vector<QString> PanelWarnings(const workspace::PictureList& pictures, int panelWidth,
                                   int panelHeight) {
    std::vector<QString> warnings;
    for (const auto& entry : pictures.Entries()) {
        const QString name = FromUtf8(entry.name);
        if (entry.width > panelWidth || entry.height > panelHeight) {
            warnings.push_back(Translate("MainWindow", "%1 (%2 x %3) is larger than the panel.")
                                   .arg(name)
                                   .arg(entry.width)
                                   .arg(entry.height));
        } else if (entry.left < 0 || entry.top < 0 || entry.left + entry.width > panelWidth ||
                   entry.top + entry.height > panelHeight) {
            warnings.push_back(
                Translate("MainWindow", "%1 lies partly outside the panel at %2, %3.")
                    .arg(name)
                    .arg(entry.left)
                    .arg(entry.top));
        }
    }
    return warnings;
}

}  // namespace

// The convert button: the core conversion writes Icon.bin (or Icon.c) and Icon.h
// into the project's output folder (the directory current at start-up without
// one), sorts the list and reports once.
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
    ConvertMessages messages;
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
    if (!result.success) {
        // The failure stops the task: its messages in one box.
        Message failure = messages.shown.empty() ? Message{} : messages.shown.front();
        for (std::size_t i = 1; i < messages.shown.size(); ++i) {
            failure.text += "\n" + messages.shown[i].text;
        }
        if (!failure.text.empty()) {
            dialogs_.ShowMessage(this, failure);
        }
        return;
    }
    std::vector<QString> warnings;
    for (const Message& message : messages.shown) {
        warnings.push_back(FromUtf8(message.text));
    }
    ReportConversion(result, std::move(warnings));
}

// The memory map of the last conversion, against the flash type chosen now.
void MainWindow::OnMemoryMap() {
    memoryMap_->SetFlashType(link_.State().selectedFlashType);
    memoryMap_->show();
    memoryMap_->raise();
    memoryMap_->activateWindow();
}

void MainWindow::ReportConversion(const conversion::ConvertResult& result,
                                  std::vector<QString> warnings) {
    const QString folder = FromUtf8(result.dataPath.parent_path().string());
    const QString dataName = FromUtf8(result.dataPath.filename().string());
    QString figures = Translate("MainWindow", "Folder: %1").arg(folder) + QLatin1Char('\n') +
                      Translate("MainWindow", "Files: %1, %2")
                          .arg(dataName, FromUtf8(result.headerPath.filename().string()));
    std::error_code error;
    const auto bytes = std::filesystem::file_size(result.dataPath, error);
    bool overflow = false;
    if (!error) {
        figures +=
            QLatin1Char('\n') + Translate("MainWindow", "%1: %2 bytes").arg(dataName).arg(bytes);
        // The share of the flash the user chose, for the resource image only.
        const std::string& flashType = link_.State().selectedFlashType;
        const std::uint64_t flashBytes = conversion::FlashTypeCapacity(flashType).value_or(0);
        if (profile_.outDataType != 1 && flashBytes > 0) {
            const double share =
                100.0 * static_cast<double>(bytes) / static_cast<double>(flashBytes);
            overflow = bytes > flashBytes;
            figures += QStringLiteral(", ") +
                       Translate("MainWindow", "%1 % of the %2 flash (%3 bytes)")
                           .arg(QLocale::c().toString(share, 'f', 2), FromUtf8(flashType))
                           .arg(flashBytes);
        }
    }

    // Symbols that break Icon.h, and pictures the panel cannot show whole.
    std::vector<std::string> names;
    for (const auto& entry : pictures_.Entries()) {
        names.push_back(entry.name);
    }
    for (const std::string& warning : conversion::SymbolWarnings(names, CoreTextLookUp())) {
        warnings.push_back(FromUtf8(warning));
    }
    for (QString& warning : PanelWarnings(pictures_, profile_.panelWidth, profile_.panelHeight)) {
        warnings.push_back(std::move(warning));
    }

    // Beyond the flash is no success: the report says so first.
    const QString headline =
        overflow ? Translate("MainWindow", "Converted, but Icon.bin does not fit the flash.")
        : warnings.empty() ? CoreText(kConvertSuccess)
                           : Translate("MainWindow", "Converted; some pictures need attention.");
    QString text = headline + QLatin1Char('\n') + figures;
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        if (i == kListedWarnings) {
            text += QLatin1Char('\n') +
                    Translate("MainWindow", "… and %1 more").arg(warnings.size() - kListedWarnings);
            break;
        }
        text += QLatin1Char('\n') + warnings[i];
    }
    std::vector<MessageBar::Action> actions;
    actions.push_back({Translate("MainWindow", "Open folder"), QStringLiteral("openFolderAction"),
                       [this, folder] { dialogs_.OpenLocation(folder); }});
    if (result.map) {
        actions.push_back({Translate("MainWindow", "Show memory map"),
                           QStringLiteral("showMemoryMapAction"), [this] { OnMemoryMap(); }});
    }
    PostResult(
        warnings.empty() && !overflow ? MessageBar::Kind::Positive : MessageBar::Kind::Warning,
        text, headline, std::move(actions));
}

}  // namespace pictor::gui
