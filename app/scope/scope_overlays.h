// Saved traces drawn over a live scope window: up to four capture files,
// each a dashed line in a colour of its own at the live channel's volts/div,
// lever and time base, with a legend naming the file.  "Overlay..." adds
// one, "Clear Overlays" removes them all.  Overlays are the window's own:
// nothing of them is sent to the instrument.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "display/grid_geometry.h"
#include "model/capture_file.h"
#include "model/scope_settings.h"

class QPainter;
class QWidget;

namespace oscilane {

class CommandMap;
class MeasureSet;
class ScopeScreen;

struct Overlay {
    QString name;  // the file's name, for the legend
    Capture capture;
};

inline constexpr int kMaxOverlays = 4;

// Draws the overlays over the grid (the legend in its top-left corner),
// overlay k in its palette colour.
void drawOverlays(QPainter& p, const GridRect& grid, const ScopeSettings& live,
                  const std::vector<Overlay>& overlays);

class ScopeOverlays : public QObject {
    Q_OBJECT
  public:
    // Asks for the file to overlay; empty when cancelled.
    using AskFile = std::function<QString(QWidget* parent)>;

    // Draws on the screen from now on, and hands the first overlay to the
    // measurements (the measure bar's "Overlay" source).
    ScopeOverlays(QWidget* view, ScopeScreen& screen, MeasureSet& measurements);

    const std::vector<Overlay>& overlays() const { return overlays_; }
    // Reads the file and adds its traces; a file that cannot be read is
    // refused with "Cann't open file: NAME: ..." and the line, a fifth
    // overlay with a message saying so.  Whether it was added.
    bool add(const QString& path);
    void clear();
    // Asks for a file and adds it.
    void run();

    AskFile askFile;

  private:
    void changed();

    QWidget* view_;
    ScopeScreen& screen_;
    MeasureSet& measurements_;
    std::vector<Overlay> overlays_;
};

// Puts "Overlay..." (while fewer than four are shown) and "Clear Overlays"
// (while any is) into a scope view's commands.
ScopeOverlays* installScopeOverlays(QWidget* view, CommandMap& commands, ScopeScreen& screen,
                                    MeasureSet& measurements);

}  // namespace oscilane
