// A docked bar with its own caption, close button and sizing edge.  It holds
// the document browser and, in document windows, their control panels.  The
// user drags the bar's inner edge to set its width, within 150..300 pixels.
#pragma once

#include <QDockWidget>
#include <QPoint>
#include <QRect>

class QRubberBand;

namespace oscilane {

// The bar's width after the user lets go of its edge at mouseX (in the
// bar's coordinates): the distance from the outer edge, clamped.
int sideBarWidthAfterDrag(bool dockedRight, int barWidth, int mouseX);

class SideBar : public QDockWidget {
    Q_OBJECT
  public:
    static constexpr int kCaptionHeight = 32;
    static constexpr int kDefaultWidth = 200;
    static constexpr int kMinimumWidth = 150;
    static constexpr int kMaximumWidth = 300;
    static constexpr int kSizingZoneWidth = 7;
    static constexpr int kBorder = 4;

    explicit SideBar(const QString& title = QStringLiteral("Side Bar"), QWidget* parent = nullptr);

    QString title() const { return windowTitle(); }
    int barWidth() const { return width(); }
    void setBarWidth(int width);

    // The widget the bar paints on and its contents are children of.
    QWidget* surface() const { return surface_; }
    QRect contentRect() const;
    QRect closeButtonRect() const;

  protected:
    // Places the bar's contents after a change of size; the default fills
    // the content rectangle with the first child of the surface.
    virtual void layoutContents();

  private:
    friend class SideBarSurface;

    bool dockedRight() const;
    bool inSizingZone(QPoint pos) const;
    void paintSurface();
    void pressed(QPoint pos);
    void moved(QPoint pos);
    void released(QPoint pos);
    void showTrackingLine(QPoint pos);

    QWidget* surface_;
    QRubberBand* trackingLine_ = nullptr;
    bool closeHovered_ = false;
    bool closePressed_ = false;
    bool tracking_ = false;
};

}  // namespace oscilane
