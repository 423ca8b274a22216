#include "ui/TGradientCaption.h"

#include <QLinearGradient>
#include <QPainter>

TGradientCaption::TGradientCaption(const QString& caption, QWidget* parent)
    : QWidget(parent)
    , m_caption(caption)
{
}

void TGradientCaption::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

QSize TGradientCaption::sizeHint() const
{
    return {200, fontMetrics().height() + 8};
}

void TGradientCaption::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient gradient(rect().topLeft(), rect().topRight());
    gradient.setColorAt(0.0, m_from);
    gradient.setColorAt(1.0, m_to);
    p.fillRect(rect(), gradient);
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::white);
    p.drawText(rect().adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, m_caption);
}
