#pragma once

#include <QPushButton>

// A push button drawn flat on its page: a thin raised frame, lit with a stronger edge while the
// mouse is over it, sunken while it is held down.
class TFlatButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TFlatButton(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

public:
    bool isHovered() const { return m_hover; }

private:
    bool m_hover = false;
};
