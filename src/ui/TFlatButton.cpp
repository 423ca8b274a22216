#include "ui/TFlatButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

TFlatButton::TFlatButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    setFlat(true);
    setAttribute(Qt::WA_Hover);
}

void TFlatButton::enterEvent(QEnterEvent* event)
{
    m_hover = true;
    update();
    QPushButton::enterEvent(event);
}

void TFlatButton::leaveEvent(QEvent* event)
{
    m_hover = false;
    update();
    QPushButton::leaveEvent(event);
}

void TFlatButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    const QPalette pal = palette();
    const bool down = isDown();
    const bool hover = m_hover && isEnabled();
    // Always a frame, so the button reads as one; under the mouse it lights up and stands out.
    p.fillRect(r, hover ? pal.color(QPalette::Midlight) : pal.color(QPalette::Button));
    const QColor light = pal.color(QPalette::Light);
    const QColor dark = pal.color(hover || down ? QPalette::Shadow : QPalette::Dark);
    // Light edge top-left and dark edge bottom-right for raised; swapped for sunken.
    p.setPen(down ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(down ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    QStyleOptionButton option;
    initStyleOption(&option);
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    if (down)
        option.rect.translate(1, 1);
    style()->drawControl(QStyle::CE_PushButtonLabel, &option, &p, this);
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::WindowText), 1, Qt::DotLine));
        p.drawRect(r.adjusted(3, 3, -3, -3));
    }
}
