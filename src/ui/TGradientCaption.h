#pragma once

#include <QColor>
#include <QWidget>

// A caption bar filled with a horizontal colour gradient and a bold white title.
class TGradientCaption : public QWidget
{
    Q_OBJECT

public:
    explicit TGradientCaption(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    QColor m_from{0x00, 0x00, 0x80};
    QColor m_to{0x10, 0x84, 0xd0};
};
