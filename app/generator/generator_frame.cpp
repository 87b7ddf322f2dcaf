#include "generator/generator_frame.h"

#include <QAction>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>

#include "generator/dds_controller.h"
#include "generator/generator_ids.h"
#include "generator/generator_view.h"
#include "generator/generator_window_texts.h"
#include "shell/document.h"
#include "shell/palette.h"
#include "shell/side_bar.h"

namespace oscilane {
namespace {

constexpr int kIconSize = 32;

// A wave-type button shows its own shape, drawn by the same evaluation the
// display uses.
QIcon shapeIcon(WaveType type) {
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(colour::kBackground);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour::kGeneratorTrace, 2));
    GeneratorWave wave;
    wave.waveType = type;
    wave.amplitude = 3.0f;
    if (type == WaveType::Dc) wave.offset = 2.0;
    if (type == WaveType::Arbitrary) wave.baseType = WaveType::Square;
    QPolygonF trace;
    for (int x = 2; x < kIconSize - 2; ++x) {
        const double level = WaveValue(wave, (x - 2) / double(kIconSize - 4));
        trace.append(QPointF(x, kIconSize / 2.0 - level * (kIconSize / 2.0 - 3)));
    }
    p.drawPolyline(trace);
    if (type == WaveType::Arbitrary) {
        p.setPen(colour::kGeneratorText);
        p.drawText(QRect(0, 0, kIconSize, kIconSize / 2), Qt::AlignCenter, QStringLiteral("Arb"));
    }
    return QIcon(picture);
}

QIcon textIcon(const QString& text) {
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(text.size() > 2 ? 10 : 16);
    p.setFont(font);
    p.drawText(picture.rect(), Qt::AlignCenter, text);
    return QIcon(picture);
}

struct Button {
    int command;
    const char* tip;    // tool tip; the type's name for a type without one
    const char* glyph;  // drawn on the button when it shows no shape
};
constexpr Button kOtherButtons[] = {
    {gencmd::kGrid, gentext::kTipGrid, "#"},     {gencmd::kBestFit, gentext::kTipBestFit, "Fit"},
    {gencmd::kZoomIn, gentext::kTipZoomIn, "+"}, {gencmd::kZoomOut, gentext::kTipZoomOut, "-"},
    {gencmd::kSave, gentext::kTipSave, "Save"},  {gencmd::kOpenCsv, gentext::kTipOpenCsv, "Open"},
};

}  // namespace

GeneratorFrame::GeneratorFrame(Document& document, GeneratorView* view)
    : InstrumentFrame(document, view, *view),
      view_(view),
      controllerBar_(new SideBar(QString::fromLatin1(gentext::kControllerCaption), body())) {
    QToolBar* bar = body()->addToolBar(QStringLiteral("Generator"));
    bar->setIconSize(QSize(kIconSize, kIconSize));
    const auto add = [this, bar](int id, const QString& tip, const QIcon& icon) {
        bar->addAction(commandAction(id, tip, bar, icon));
    };
    for (const gencmd::TypeCommand& c : gencmd::kTypeCommands) {
        const std::string_view name = WaveTypeName(c.type);
        const QString tip = c.type == WaveType::Arbitrary
                                ? QString::fromLatin1(gentext::kTipArbitrary)
                                : QString::fromLatin1(name.data(), qsizetype(name.size()));
        add(c.id, tip, shapeIcon(c.type));
    }
    bar->addSeparator();
    for (const Button& b : kOtherButtons) {
        if (b.command == gencmd::kSave) bar->addSeparator();
        add(b.command, QString::fromLatin1(b.tip), textIcon(QString::fromLatin1(b.glyph)));
    }

    dockControls(*controllerBar_, view->controller());

    startActionUpdates();
}

}  // namespace oscilane
