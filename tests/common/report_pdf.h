// Reads a printed report back for tests: its text through pdftotext and its
// look through pdftoppm (poppler-utils; tests skip themselves without them).
#pragma once

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace reporttest {

inline bool havePoppler() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
           !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

inline QByteArray runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(20000)) return {};
    return p.readAllStandardOutput();
}

// The page's text with runs of blanks and line ends as one blank.
inline QString pdfText(const QString& pdf) {
    return QString::fromUtf8(runTool("pdftotext", {"-layout", pdf, "-"})).simplified();
}

// The first page at a low resolution, written beside the PDF.
inline QImage pdfPage(const QString& pdf) {
    const QString root = pdf + QStringLiteral("-page");
    runTool("pdftoppm", {"-r", "30", "-png", "-singlefile", pdf, root});
    return QImage(root + QStringLiteral(".png"));
}

// The share of pixels darker than mid-grey in the rectangle given in
// fractions of the page (a drawn display or plot is dark, paper is white).
inline double darkShare(const QImage& page, double left, double top, double right, double bottom) {
    int dark = 0, all = 0;
    for (int y = int(page.height() * top); y < int(page.height() * bottom); ++y)
        for (int x = int(page.width() * left); x < int(page.width() * right); ++x, ++all)
            if (qGray(page.pixel(x, y)) < 128) ++dark;
    return all ? double(dark) / all : 0.0;
}

// True when every text appears in order in the page's text.
inline bool inOrder(const QString& text, const QStringList& wanted, QString* missing) {
    qsizetype from = 0;
    for (const QString& w : wanted) {
        const qsizetype at = text.indexOf(w, from);
        if (at < 0) {
            *missing = w;
            return false;
        }
        from = at + w.size();
    }
    return true;
}

}  // namespace reporttest
