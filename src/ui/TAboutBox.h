#pragma once

#include <QDialog>

class QPushButton;

// The about box: product name and version over the splash picture, an OK button and the small
// "&Debug" switch, which only reports its press; the main window owns the mode it switches.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(const QString& caption, QWidget* parent = nullptr);

    QPushButton* debugButton() const { return m_debug; }

signals:
    void debugClicked();

private:
    QPushButton* m_debug;
};
