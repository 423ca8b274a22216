#pragma once

#include <QPushButton>

// A push button drawn flat on its page; it shows a raised frame only while the mouse is over it
// and a sunken one while it is held down.
class TFlatButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TFlatButton(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hover = false;
};
