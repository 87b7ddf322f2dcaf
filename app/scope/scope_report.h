// The scope's printed test report: the shared report frame with "Pirla - DSO"
// and the legend of the shown channels, the date, the acquisition settings
// and the four traces on a printed graticule.  Printing, the preview, the
// page setup and "Export PDF..." all draw the page here.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QSize>
#include <functional>
#include <memory>
#include <optional>

#include "model/setting_block.h"

class QPainter;
class QPrinter;
class QWidget;

namespace oscilane {

class CommandMap;
struct ScopeData;

// Draws the report page of the block on a page of the given size in device pixels.
void drawScopeReport(QPainter& painter, QSize page, const SettingBlock& block,
                     const QDateTime& when);

// Writes the report of the block as a one-page PDF, whole or not at all;
// false with the reason on failure.
bool writeScopeReportPdf(const QString& path, const SettingBlock& block, const QDateTime& when,
                         QString* reason = nullptr);

// Print, Print Preview, Print Setup and Export PDF of one scope window.
class ScopeReportCommands : public QObject {
    Q_OBJECT
  public:
    ScopeReportCommands(QWidget* view, const ScopeData& data);
    ~ScopeReportCommands() override;

    void print();
    void preview();
    void pageSetup();
    void exportPdf();

    // Where "Export PDF..." writes; replaceable so tests answer without a dialog.
    std::function<std::optional<QString>(QWidget* parent)> askPdfFile;
    // The date and time printed; the local clock unless a test sets it.
    std::function<QDateTime()> clock;
    QPrinter& printer() { return *printer_; }

  private:
    void paint(QPrinter& printer);

    QWidget* view_;
    const ScopeData& data_;
    std::unique_ptr<QPrinter> printer_;
};

// Puts the four report commands into a scope view's commands.
ScopeReportCommands* installScopeReport(QWidget* view, CommandMap& commands, const ScopeData& data);

}  // namespace oscilane
