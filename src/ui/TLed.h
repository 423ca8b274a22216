#pragma once

#include <QWidget>

// A round status lamp: a dark teal body whose aqua light is on while the lamp is enabled and off
// while it is disabled, so callers switch it with setEnabled().
class TLed : public QWidget
{
    Q_OBJECT

public:
    explicit TLed(QWidget* parent = nullptr);

    bool isLit() const { return isEnabled(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
};
