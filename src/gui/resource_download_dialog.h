#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "gui/field_exchange.h"
#include "gui/lcd_settings_form.h"

class QCheckBox;
class QLineEdit;

namespace pictor::gui {

class DialogService;

/// What the resource download dialog needs from the main window.
class ResourceDownloadHost {
  public:
    virtual ~ResourceDownloadHost() = default;
    /// Checks `path` against the flash capacity and loads it as the image to
    /// download (warnings are owned by `owner`). True when it was loaded.
    virtual bool LoadResourceImage(const std::string& path, QWidget* owner) = 0;
    /// Starts the resource download job; with `settings`, the module settings are
    /// sent after a successful download.
    virtual void StartResourceDownload(std::optional<device::LcdSettings> settings) = 0;
    /// Asks the running download to stop at its next exchange (no effect when none runs).
    virtual void CancelResourceDownload() = 0;
};

/// "图片资源下载": picks the resource image (checked and loaded at once) and starts
/// its download; optionally sends the module settings after it ("同时下载LCD设置"
/// enables the settings' fields). The path field
/// starts with `initialPath` (the image the last conversion wrote). "下载" loads
/// the file its path field names at that moment, so a typed path is used and
/// nothing loaded before is sent in its place; a folder is refused with a
/// message. "取消下载" stops the job it started.
class ResourceDownloadDialog final : public QDialog {
    Q_OBJECT
  public:
    ResourceDownloadDialog(ResourceDownloadHost& host, DialogService& dialogs,
                           QWidget* parent = nullptr, std::string initialPath = {});

    void OnChooseImage();
    void OnDownload();
    void OnSendSettingsToggled();
    void OnCancelDownload();

  private:
    /// Says so and returns true when the path field names a folder.
    bool RefuseFolder();

    ResourceDownloadHost& host_;
    DialogService& dialogs_;
    FieldExchange exchange_;
    std::string imagePath_;
    device::LcdSettings values_;
    int sendSettings_ = 0;
    QLineEdit* pathEdit_;
    QCheckBox* sendBox_;
    LcdSettingsForm* form_;
};

}  // namespace pictor::gui
