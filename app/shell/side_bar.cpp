#include "shell/side_bar.h"

#include <QtWidgets/qdrawutil.h>

#include <QHelpEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QToolTip>
#include <algorithm>

#include "shell/palette.h"

namespace oscilane {

constexpr int kCloseButtonSize = 20;

int sideBarWidthAfterDrag(bool dockedRight, int barWidth, int mouseX) {
    const int distance = dockedRight ? barWidth - mouseX : mouseX;
    return std::clamp(distance, SideBar::kMinimumWidth, SideBar::kMaximumWidth);
}

// Paints the bar and turns its mouse events into the bar's behaviour.
class SideBarSurface final : public QWidget {
  public:
    explicit SideBarSurface(SideBar& bar) : bar_(bar) { setMouseTracking(true); }
    QSize minimumSizeHint() const override {
        return QSize(SideBar::kMinimumWidth, SideBar::kCaptionHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override { bar_.paintSurface(); }
    void resizeEvent(QResizeEvent*) override { bar_.layoutContents(); }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) bar_.pressed(e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override { bar_.moved(e->position().toPoint()); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) bar_.released(e->position().toPoint());
    }
    // A double click on the bar does nothing.
    void mouseDoubleClickEvent(QMouseEvent* e) override { e->accept(); }
    void leaveEvent(QEvent*) override {
        bar_.closeHovered_ = false;
        update();
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(e);
            if (bar_.closeButtonRect().contains(help->pos()))
                QToolTip::showText(help->globalPos(), QStringLiteral("Close"), this,
                                   bar_.closeButtonRect());
            else
                QToolTip::hideText();
            return true;
        }
        return QWidget::event(e);
    }

  private:
    SideBar& bar_;
};

SideBar::SideBar(const QString& title, QWidget* parent)
    : QDockWidget(title, parent), surface_(new SideBarSurface(*this)) {
    setObjectName(title);
    setTitleBarWidget(new QWidget(this));  // the bar draws its own caption
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setWidget(surface_);
    setBarWidth(kDefaultWidth);
}

void SideBar::setBarWidth(int width) {
    const int clamped = std::clamp(width, kMinimumWidth, kMaximumWidth);
    setMinimumSize(clamped, 0);
    setMaximumSize(clamped, QWIDGETSIZE_MAX);
}

QRect SideBar::contentRect() const {
    return surface_->rect().adjusted(kBorder, kCaptionHeight, -kBorder, -kBorder);
}

QRect SideBar::closeButtonRect() const {
    return QRect(surface_->width() - kBorder - 2 - kCloseButtonSize,
                 (kCaptionHeight - kCloseButtonSize) / 2, kCloseButtonSize, kCloseButtonSize);
}

void SideBar::layoutContents() {
    const auto children = surface_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    if (!children.isEmpty()) children.front()->setGeometry(contentRect());
}

bool SideBar::dockedRight() const {
    auto* frame = qobject_cast<QMainWindow*>(parentWidget());
    return frame && frame->dockWidgetArea(const_cast<SideBar*>(this)) == Qt::RightDockWidgetArea;
}

bool SideBar::inSizingZone(QPoint pos) const {
    if (dockedRight()) return pos.x() >= 0 && pos.x() < kSizingZoneWidth;
    return pos.x() >= surface_->width() - kSizingZoneWidth && pos.x() < surface_->width();
}

void SideBar::paintSurface() {
    QPainter p(surface_);
    const QRect all = surface_->rect();
    p.fillRect(all, surface_->palette().window());
    qDrawShadeRect(&p, all, surface_->palette(), true, 1);

    const QRect caption(2, 2, all.width() - 4, kCaptionHeight - 4);
    QLinearGradient shade(caption.topLeft(), caption.bottomLeft());
    shade.setColorAt(0, colour::kCaptionTop);
    shade.setColorAt(1, colour::kCaptionBottom);
    p.fillRect(caption, shade);
    QFont bold = surface_->font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(colour::kCaptionText);
    p.drawText(caption.adjusted(8, 0, -kCloseButtonSize - 8, 0), Qt::AlignVCenter | Qt::AlignLeft,
               title());

    const QRect button = closeButtonRect();
    const QColor& face = closePressed_   ? colour::kCloseButtonPressed
                         : closeHovered_ ? colour::kCloseButtonHovered
                                         : colour::kCloseButton;
    p.fillRect(button, face);
    if (closeHovered_ || closePressed_)
        qDrawShadeRect(&p, button, surface_->palette(), closePressed_, 1);
    static const QPixmap cross(QStringLiteral(":/icons/close.png"));
    p.drawPixmap(button.center() - QPoint(cross.width() / 2, cross.height() / 2) + QPoint(1, 1),
                 cross);
}

void SideBar::pressed(QPoint pos) {
    if (closeButtonRect().contains(pos)) {
        closePressed_ = true;
        surface_->grabMouse();
        surface_->update();
    } else if (inSizingZone(pos)) {
        tracking_ = true;
        surface_->grabMouse();
        showTrackingLine(pos);
    }
}

void SideBar::moved(QPoint pos) {
    if (tracking_) {
        showTrackingLine(pos);
        return;
    }
    const bool hovered = closeButtonRect().contains(pos);
    if (hovered != closeHovered_) {
        closeHovered_ = hovered;
        surface_->update();
    }
    if (inSizingZone(pos))
        surface_->setCursor(Qt::SizeHorCursor);
    else
        surface_->unsetCursor();
}

void SideBar::released(QPoint pos) {
    if (closePressed_) {
        closePressed_ = false;
        surface_->releaseMouse();
        surface_->update();
        if (closeButtonRect().contains(pos)) hide();
    } else if (tracking_) {
        tracking_ = false;
        surface_->releaseMouse();
        if (trackingLine_) trackingLine_->hide();
        setBarWidth(sideBarWidthAfterDrag(dockedRight(), barWidth(), pos.x()));
    }
}

void SideBar::showTrackingLine(QPoint pos) {
    QWidget* top = window();
    if (!trackingLine_) trackingLine_ = new QRubberBand(QRubberBand::Line, top);
    const QPoint at = surface_->mapTo(top, QPoint(pos.x(), 0));
    trackingLine_->setGeometry(at.x() - 1, at.y(), 3, surface_->height());
    trackingLine_->show();
}

}  // namespace oscilane
