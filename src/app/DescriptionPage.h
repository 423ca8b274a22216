#pragma once

#include <QWidget>

class ControlRegistry;
class GrowingControls;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// App Info / Description: the short and the long description and the notes to the reviewer.
class DescriptionPage : public QWidget
{
    Q_OBJECT

public:
    DescriptionPage(ControlRegistry& controls, QWidget* parent);

    QLineEdit* shortdesc() const { return m_shortdesc; }
    QPlainTextEdit* longdesc() const { return m_longdesc; }
    QPlainTextEdit* Memo2() const { return m_notes; }
    // The two memos share the room of a grown window.
    void addGrowing(GrowingControls& growing) const;

    // Wraps the long description's, or the notes', long lines.
    void longdescwrap();
    void memo2wrap();

private:
    QLineEdit* m_shortdesc;
    QPlainTextEdit* m_longdesc;
    QPlainTextEdit* m_notes;
    QLabel* m_notesLabel;
};
