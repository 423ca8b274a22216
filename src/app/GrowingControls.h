#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

// The controls that take the room a window larger than its designed size gives. Each keeps the
// geometry it was placed at and moves and grows by shares of the extra room; controls not added
// keep their places.
class GrowingControls
{
public:
    // Shares (0 to 1) of the extra width and height by which the control moves and grows.
    struct Share
    {
        double moveX = 0;
        double moveY = 0;
        double growX = 0;
        double growY = 0;
    };
    static constexpr Share Both{0, 0, 1, 1};
    static constexpr Share Wider{0, 0, 1, 0};

    // Adds a control as it stands now.
    void add(QWidget* control, Share share);
    // Places every added control for a window that is extra larger than its designed size.
    void apply(QSize extra) const;

private:
    struct Entry
    {
        QPointer<QWidget> control;
        QRect designed;
        Share share;
    };
    QList<Entry> m_entries;
};
