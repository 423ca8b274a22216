#include "ui/TSplash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

TSplash::TSplash(const QString& line, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_line(line)
{
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(360, 220);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    m_timer.setSingleShot(true);
    m_timer.setInterval(MinimumMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_showing = false; });
    m_timer.start();
}

QPixmap TSplash::picture(const QSize& size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0.0, QColor(0x00, 0x00, 0x80));
    sky.setColorAt(1.0, QColor(0x10, 0x84, 0xd0));
    p.fillRect(pixmap.rect(), sky);

    // A quill: a curved vane with its shaft, drawn across the left part of the picture.
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath vane;
    vane.moveTo(w * 0.10, h * 0.92);
    vane.cubicTo(w * 0.14, h * 0.55, w * 0.30, h * 0.20, w * 0.42, h * 0.06);
    vane.cubicTo(w * 0.38, h * 0.35, w * 0.28, h * 0.62, w * 0.10, h * 0.92);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf4, 0xf0));
    p.drawPath(vane);
    p.setPen(QPen(QColor(0x90, 0x90, 0x88), 2));
    p.drawLine(QPointF(w * 0.08, h * 0.97), QPointF(w * 0.36, h * 0.18));

    QFont title(QStringLiteral("Nimbus Sans"), 1);
    title.setPixelSize(qMax(12, int(h * 0.2)));
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(w * 0.40, 0, w * 0.58, h * 0.62), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillet"));
    return pixmap;
}

void TSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int textHeight = fontMetrics().height() + 12;
    p.drawPixmap(0, 0, picture(QSize(width(), height() - textHeight)));
    p.fillRect(QRect(0, height() - textHeight, width(), textHeight), palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRect(0, height() - textHeight, width(), textHeight), Qt::AlignCenter, m_line);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
