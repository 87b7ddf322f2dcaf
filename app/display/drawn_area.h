// The rectangles one frame drew into the display's image, recorded as they
// are drawn so that the next frame restores only those from the kept layer,
// and a few rectangles over them all (each run of rectangles side by side,
// such as a trace's column spans, becomes its bounding rectangle), which
// the repaint copies to the screen.
#pragma once

#include <QRect>
#include <QRegion>
#include <algorithm>
#include <span>
#include <vector>

namespace oscilane {

class DrawnArea {
  public:
    void add(const QRect& rect) {
        rects_.push_back(rect);
        if (run_.active && rect.left() <= run_.right + 1 && rect.right() >= run_.left - 1) {
            run_.left = std::min(run_.left, rect.left());
            run_.right = std::max(run_.right, rect.right());
            run_.top = std::min(run_.top, rect.top());
            run_.bottom = std::max(run_.bottom, rect.bottom());
            return;
        }
        endRun();
        run_ = {true, rect.left(), rect.right(), rect.top(), rect.bottom()};
    }

    // A rectangle recorded without a cover of its own: the caller gives
    // one for all of its rectangles with cover().
    void addCovered(const QRect& rect) { rects_.push_back(rect); }
    void cover(const QRect& rect) {
        endRun();
        cover_ += rect;
    }

    std::span<const QRect> rects() const { return rects_; }

    // Adds the cover of everything recorded to `region`.
    void addCoverTo(QRegion& region) {
        endRun();
        region += cover_;
    }

    void clear() {
        rects_.clear();
        cover_ = QRegion();
        run_.active = false;
    }

  private:
    void endRun() {
        if (!run_.active) return;
        cover_ += QRect(QPoint(run_.left, run_.top), QPoint(run_.right, run_.bottom));
        run_.active = false;
    }

    struct Run {
        bool active = false;
        int left = 0, right = 0, top = 0, bottom = 0;
    };
    std::vector<QRect> rects_;
    QRegion cover_;
    Run run_;
};

}  // namespace oscilane
