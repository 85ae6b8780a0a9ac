#pragma once

#include <QImage>
#include <QWidget>
#include <map>

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
class LcdPreview final : public QWidget {
    Q_OBJECT
  public:
    explicit LcdPreview(const workspace::PictureList& pictures, QWidget* parent = nullptr);

    /// Panel size in pixels and background colour (a Windows RGB value).
    void SetPanel(int width, int height, std::uint32_t bkColor);
    /// Screen pixels per panel pixel (1, 2 or 4; others count as 1). Mouse
    /// positions stay in panel pixels whatever the zoom.
    void SetZoom(int zoom);
    [[nodiscard]] int Zoom() const { return zoom_; }
    /// Redraws the whole surface and drops the viewer's layer.
    void Redraw();
    /// Drops cached picture copies (after the list changed).
    void ForgetPictures();
    /// Draws a decoded picture onto the viewer's layer with its top-left pixel at
    /// `at` (surface coordinates; transparent pixels and the outside are skipped).
    void DrawViewerImage(QPoint at, const QImage& image);
    /// What the surface shows now.
    [[nodiscard]] QImage Render() const;

    QSize sizeHint() const override;

  signals:
    void pressed(QPoint point);
    void moved(QPoint point);
    void released(QPoint point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Paint(QPainter& painter) const;
    [[nodiscard]] QPoint PanelPoint(QPointF position) const;
    const QImage& ImageOf(const workspace::PixelImage& picture) const;

    const workspace::PictureList& pictures_;
    int panelWidth_ = 320;
    int panelHeight_ = 240;
    QColor background_{Qt::black};
    int zoom_ = 1;
    QImage viewerLayer_;
    mutable std::map<const workspace::PixelImage*, QImage> images_;
};

}  // namespace pictor::gui
