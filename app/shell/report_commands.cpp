#include "shell/report_commands.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>

#include "shell/command_ids.h"
#include "shell/command_map.h"
#include "shell/message_service.h"
#include "shell/message_texts.h"
#include "shell/save_texts.h"

namespace oscilane {
namespace {

constexpr int kPdfResolution = 300;
constexpr qsizetype kReasonLimit = 1024;

// Every report page is laid out on A4 landscape, in the PDF file and on the
// printer alike: at a fortieth of the page height the longest report lines
// (the scope's ALT mode) run past the edge of a portrait page, and the left
// text column into the right one.
constexpr QPageSize::PageSizeId kReportPageSize = QPageSize::A4;
constexpr QPageLayout::Orientation kReportOrientation = QPageLayout::Landscape;

}  // namespace

bool writeReportPdf(const QString& path, const ReportDrawer& draw, const QDateTime& when,
                    QString* reason) {
    QSaveFile file(path);
    auto fail = [&] {
        if (reason) *reason = file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly)) return fail();
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(QPageSize(kReportPageSize));
        writer.setPageOrientation(kReportOrientation);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) return fail();
        draw(painter, QSize(writer.width(), writer.height()), when);
        painter.end();
    }
    if (file.error() != QFileDevice::NoError) return fail();
    if (!file.commit()) {
        if (reason) *reason = file.errorString();
        return false;
    }
    return true;
}

ReportCommands::ReportCommands(QWidget* view, ReportDrawer draw)
    : QObject(view),
      clock([] { return QDateTime::currentDateTime(); }),
      view_(view),
      draw_(std::move(draw)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    askPdfFile = [](QWidget* parent) -> std::optional<QString> {
        QFileDialog dialog(parent, QString::fromLatin1(savetext::kPdfTitle));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QString::fromLatin1(savetext::kPdfFilter));
        dialog.setDefaultSuffix(QString::fromLatin1(savetext::kPdfSuffix));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    };
    printer_->setPageSize(QPageSize(kReportPageSize));
    printer_->setPageOrientation(kReportOrientation);
}

ReportCommands::~ReportCommands() = default;

void ReportCommands::paint(QPrinter& printer) {
    QPainter painter(&printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    draw_(painter, page.size(), clock());
}

void ReportCommands::print() {
    QPrintDialog dialog(printer_.get(), view_);
    if (dialog.exec() == QDialog::Accepted) paint(*printer_);
}

void ReportCommands::preview() {
    QPrintPreviewDialog dialog(printer_.get(), view_);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { paint(*printer); });
    dialog.exec();
}

void ReportCommands::pageSetup() {
    QPageSetupDialog dialog(printer_.get(), view_);
    dialog.exec();
}

void ReportCommands::exportPdf() {
    const std::optional<QString> path = askPdfFile(view_);
    if (!path) return;
    QString reason;
    if (!writeReportPdf(*path, draw_, clock(), &reason))
        showMessage(QString::fromLatin1(msg::kCannotSaveFile).arg(reason.left(kReasonLimit)),
                    MessageKind::Error);
}

ReportCommands* installReportCommands(QWidget* view, CommandMap& commands, ReportDrawer draw) {
    auto* report = new ReportCommands(view, std::move(draw));
    commands.on(cmd::kPrint, [report] { report->print(); });
    commands.on(cmd::kPrintPreview, [report] { report->preview(); });
    commands.on(cmd::kPrintSetup, [report] { report->pageSetup(); });
    commands.on(cmd::kExportPdf, [report] { report->exportPdf(); });
    return report;
}

}  // namespace oscilane
