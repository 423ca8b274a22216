#pragma once

#include <QWidget>

class QPlainTextEdit;

// "String View": a small window with one multi-line text box in which the run shows each request
// body in debug mode.
class TStringView : public QWidget
{
    Q_OBJECT

public:
    explicit TStringView(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
};
