#include "scope/acquire_progress_box.h"

#include <QKeyEvent>
#include <QPainter>
#include <QProgressBar>

#include "model/scope_texts.h"

namespace oscilane {

AcquireProgressBox::AcquireProgressBox(QWidget* parent)
    : QDialog(parent), bar_(new QProgressBar(this)) {
    setModal(false);
    // The box comes and goes with every upload over a slow line; it must not
    // take the keyboard from the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(240, 80);
    bar_->setRange(0, 100);
    bar_->setGeometry(12, 44, 216, 20);
    dotTimer_.setInterval(300);
    connect(&dotTimer_, &QTimer::timeout, this, [this] {
        dots_ = (dots_ + 1) % (kMaxDots + 1);
        update();
    });
}

void AcquireProgressBox::setPercent(int percent) { bar_->setValue(percent); }

QString AcquireProgressBox::caption() const {
    return QString::fromLatin1(scopetext::kAcquireData) + QString(dots_, QLatin1Char('.'));
}

void AcquireProgressBox::showEvent(QShowEvent* event) {
    dots_ = 0;
    dotTimer_.start();
    QDialog::showEvent(event);
}

void AcquireProgressBox::hideEvent(QHideEvent* event) {
    dotTimer_.stop();
    QDialog::hideEvent(event);
}

void AcquireProgressBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(16);
    p.setFont(font);
    p.drawText(QRect(12, 10, 216, 24), Qt::AlignLeft | Qt::AlignVCenter, caption());
}

void AcquireProgressBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

}  // namespace oscilane
