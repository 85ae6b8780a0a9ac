#pragma once

#include <QImage>
#include <QWidget>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>

#include "core/settings/model_profile.h"
#include "gui/picture_cache.h"
#include "gui/translated_texts.h"

namespace pictor::workspace {
class PictureList;
struct PixelImage;
}  // namespace pictor::workspace

namespace pictor::gui {

/// The simulated LCD surface: the panel at its real pixel size, filled with the
/// background colour, with every shown picture drawn at its position in list
/// order (later pictures cover earlier ones; whatever falls outside is clipped).
/// Mouse presses, moves and releases are reported in surface coordinates; the
/// owner decides what they mean. The viewer can draw onto a layer above the
/// pictures that stays until the next `Redraw`.
///
/// Two modes: "Source" draws the pictures as they were loaded; "As on the panel"
/// draws each one through the encoder and decoder of the active profile (grey
/// levels, 565 truncation, the background blend, dithering) over the background
/// as the panel shows it. The panel copy of a picture is made once and kept until
/// the profile changes; moving a picture reuses it.
class LcdPreview final : public QWidget {
    Q_OBJECT
  public:
    explicit LcdPreview(const workspace::PictureList& pictures, QWidget* parent = nullptr);

    /// Panel size in pixels and background colour (a Windows RGB value).
    void SetPanel(int width, int height, std::uint32_t bkColor);
    /// The active profile: panel size, background and the encoding the panel mode
    /// shows. A changed profile drops the panel copies. Until the user picks a
    /// mode, the mode follows the profile: "As on the panel" below 16 bits.
    void SetProfile(const settings::ModelProfile& profile);
    /// The user's choice of mode; it stays over later profile changes.
    void SetPanelTrue(bool on);
    [[nodiscard]] bool PanelTrue() const { return panelTrue_; }
    /// A row of two radio buttons, "Source" and "As on the panel", that shows and
    /// sets the mode (owned by the caller's layout).
    [[nodiscard]] QWidget* CreateModeSwitch();
    /// How many pictures have been run through the encoder and decoder so far.
    [[nodiscard]] std::size_t PanelConversions() const { return panelConversions_; }
    /// Screen pixels per panel pixel (1, 2 or 4; others count as 1). Mouse
    /// positions stay in panel pixels whatever the zoom.
    void SetZoom(int zoom);
    [[nodiscard]] int Zoom() const { return zoom_; }
    /// Redraws the whole surface and drops the viewer's layer.
    void Redraw();
    /// Drops the copies of pictures that are no longer in use (after the list changed).
    void ForgetPictures();
    /// Draws a decoded picture onto the viewer's layer with its top-left pixel at
    /// `at` (surface coordinates; transparent pixels and the outside are skipped).
    void DrawViewerImage(QPoint at, const QImage& image);
    /// What the surface shows now.
    [[nodiscard]] QImage Render() const;

    QSize sizeHint() const override;

  signals:
    void pressed(QPoint point);
    /// The mode changed (by the user or by a profile change).
    void panelTrueChanged(bool on);
    void moved(QPoint point);
    void released(QPoint point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    /// Puts the texts of the mode switch into the new language.
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Paint(QPainter& painter) const;
    [[nodiscard]] QPoint PanelPoint(QPointF position) const;
    // The copies of one loaded picture: as loaded and as on the panel (each made
    // when first drawn). `source` tells a live picture from a new one that reuses
    // the address of a released one.
    struct Copies {
        std::weak_ptr<const workspace::PixelImage> source;
        QImage plain;
        std::optional<QImage> panel;  // a null image when the encoder refuses it
    };
    Copies& CopiesOf(const std::shared_ptr<const workspace::PixelImage>& picture) const;
    void ApplyMode(bool on);

    const workspace::PictureList& pictures_;
    TranslatedTexts texts_;  // the mode switch's texts
    int panelWidth_ = 320;
    int panelHeight_ = 240;
    QColor background_{Qt::black};
    QColor panelBackground_{Qt::black};
    settings::ModelProfile profile_;
    bool panelTrue_ = false;
    bool modeChosen_ = false;
    int zoom_ = 1;
    QImage viewerLayer_;
    mutable std::map<const workspace::PixelImage*, Copies> copies_;
    mutable std::size_t panelConversions_ = 0;
    // Full pictures of entries that keep only thumbnails, decoded on demand.
    mutable PictureCache pictureCache_;
};

}  // namespace pictor::gui
