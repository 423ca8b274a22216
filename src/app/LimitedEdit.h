#pragma once

#include <QLineEdit>

// An edit with a limit on what the user types or pastes. Unlike QLineEdit's maxLength it leaves
// text put in by the program whole, so a record holding a longer value loads and saves it
// unchanged. What the user pastes is kept as far as it fits and the edit says what was cut;
// while it has the focus it shows how many characters are left.
class LimitedEdit : public QLineEdit
{
    Q_OBJECT

public:
    LimitedEdit(const QString& text, int limit, QWidget* parent);

    int limit() const { return m_limit; }
    // Characters of the user's last insertion that did not fit (0: all did).
    int lastCut() const { return m_lastCut; }
    // "12 left", or "" when the program put in more than the limit.
    QString roomText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The user's edits arrive through these; text the program sets never does.
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class Limit;
    friend class Limit;
    void reportCut(int cut);

    int m_limit;
    int m_lastCut = 0;
    bool m_userEditing = false;
    QString m_accepted; // the text before the edit being validated
};
