#include "shell/form_view.h"

#include <QFontMetrics>

namespace oscilane {

QSize dialogUnitsToPixels(const QWidget& widget, QSize dialogUnits) {
    const QFontMetrics metrics(widget.font());
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    // The average character width rounded as dialog layouts round it.
    const int baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    const int baseY = metrics.height();
    return QSize(dialogUnits.width() * baseX / 4, dialogUnits.height() * baseY / 8);
}

FormView::FormView(Document& document, int formId, QSize dialogUnits)
    : document_(document), formId_(formId) {
    auto* page = new QWidget;
    page->setFixedSize(dialogUnitsToPixels(*this, dialogUnits));
    setWidget(page);
    setFrameShape(QFrame::NoFrame);
}

}  // namespace oscilane
