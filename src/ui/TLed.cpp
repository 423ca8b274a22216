#include "ui/TLed.h"

#include <QEvent>
#include <QPainter>
#include <QRadialGradient>

TLed::TLed(QWidget* parent)
    : QWidget(parent)
{
    setEnabled(false);
}

QSize TLed::sizeHint() const
{
    return {17, 17};
}

void TLed::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

void TLed::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 2;
    const QRectF body((width() - side) / 2, (height() - side) / 2, side, side);

    // The rim is drawn the same way lit or dark, so the lamp keeps its place on the page.
    p.setPen(QPen(QColor(0x00, 0x3c, 0x3c), 1));
    QRadialGradient light(body.center() - QPointF(side / 5, side / 5), side * 0.7);
    if (isLit()) {
        light.setColorAt(0.0, QColor(0xe0, 0xff, 0xff));
        light.setColorAt(0.35, QColor(0x00, 0xff, 0xff));
        light.setColorAt(1.0, QColor(0x00, 0x9a, 0x9a));
    } else {
        light.setColorAt(0.0, QColor(0x3a, 0x80, 0x80));
        light.setColorAt(0.4, QColor(0x00, 0x52, 0x52));
        light.setColorAt(1.0, QColor(0x00, 0x30, 0x30));
    }
    p.setBrush(light);
    p.drawEllipse(body);
}
