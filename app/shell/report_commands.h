// Print, Print Preview, Print Setup and "Export PDF..." of an instrument
// window's test report.  Each window says how its page is drawn; the
// printer, its dialogs and the PDF file (written whole or not at all) are
// handled here once.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QPrinter;
class QWidget;

namespace oscilane {

class CommandMap;

// Draws one report page of the given size in device pixels.
using ReportDrawer = std::function<void(QPainter&, QSize page, const QDateTime& when)>;

// Writes the report as a one-page landscape A4 PDF, whole or not at all;
// false with the reason on failure.
bool writeReportPdf(const QString& path, const ReportDrawer& draw, const QDateTime& when,
                    QString* reason = nullptr);

class ReportCommands : public QObject {
    Q_OBJECT
  public:
    ReportCommands(QWidget* view, ReportDrawer draw);
    ~ReportCommands() override;

    void print();
    void preview();
    void pageSetup();
    void exportPdf();

    // Where "Export PDF..." writes; replaceable so tests answer without a dialog.
    std::function<std::optional<QString>(QWidget* parent)> askPdfFile;
    // The date and time printed; the local clock unless a test sets it.
    std::function<QDateTime()> clock;
    // The printer Print and Print Preview use: A4 landscape, as the PDF, until
    // the user picks another page in Print Setup.
    QPrinter& printer() { return *printer_; }
    // Draws the report on the printer's page: what Print sends and Print Preview shows.
    void paint(QPrinter& printer);

  private:
    QWidget* view_;
    ReportDrawer draw_;
    std::unique_ptr<QPrinter> printer_;
};

// Puts the four report commands into a view's commands.
ReportCommands* installReportCommands(QWidget* view, CommandMap& commands, ReportDrawer draw);

}  // namespace oscilane
