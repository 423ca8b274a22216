#pragma once

// What every page of the main window builds with: the field height, the help contexts, a placer
// that lays controls out along rows, and the window's kinds of edit, drop-down list and memo.
// Positions are fixed at the designed window size; GrowingControls gives a larger window's room
// to the lists and memos.
#include <QLabel>
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace PageLayout {

inline constexpr int FieldHeight = 21;

enum HelpContext {
    HelpDescription = 1001,
    HelpGeneral = 1002,
    HelpLocations = 1003,
    HelpOptions = 1004,
    HelpCompany = 1005,
    HelpSites = 1014,
    HelpRunLists = 1016,
};

// Lays controls out left to right along rows of a page.
class Placer
{
public:
    Placer(QWidget* page, int left, int top, int pitch)
        : m_page(page)
        , m_left(left)
        , m_x(left)
        , m_y(top)
        , m_pitch(pitch)
    {
    }

    QWidget* page() const { return m_page; }
    int x() const { return m_x; }
    int y() const { return m_y; }

    void nextRow(int pitch = -1)
    {
        m_y += pitch < 0 ? m_pitch : pitch;
        m_x = m_left;
    }
    void at(int x) { m_x = x; }
    void skip(int dx) { m_x += dx; }

    // A label vertically centred on the row's fields.
    QLabel* label(const QString& text, int gap = 5);

    template <typename T>
    T* field(T* widget, int width, int height = FieldHeight, int gap = 12)
    {
        widget->setGeometry(m_x, m_y, width, height);
        m_x += width + gap;
        return widget;
    }

private:
    QWidget* m_page;
    int m_left;
    int m_x;
    int m_y;
    int m_pitch;
};

// An editable drop-down list whose typed text is the value, items in their given order. The
// drop-downs of one parent (there must be one) share what they need only while being made.
QComboBox* dropDown(QWidget* parent, const QStringList& items = {});
// An edit with an optional limit on what the user types or pastes.
QLineEdit* edit(QWidget* parent, const QString& text = {}, int maxLength = 0);
// A memo whose Tab key moves on to the next field.
QPlainTextEdit* memo(QWidget* parent);

} // namespace PageLayout
