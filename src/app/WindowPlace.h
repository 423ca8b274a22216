#pragma once

#include <QRect>
#include <QString>

class QWidget;

// Where the main window was and how large, and the program it showed, kept between starts in section WINDOW of the base
// folder's cat/settings.dat: the base folder is what a user moves between machines, and the
// settings file is already read at every start, written whole and kept in its own encoding.
namespace WindowPlace {

struct Place
{
    QRect normal; // the window's geometry when not maximised, frame excluded
    bool maximized = false;
    QString program; // the program shown when the window closed, if it has a record
};

// The place stored in basedir, or an empty rectangle when none is.
Place read(const QString& basedir);
void write(const QString& basedir, const Place& place);

// The place of a window as it is now.
Place of(const QWidget& window);
// Puts a window not yet shown at a stored place, when the place is on a screen and at least
// minimum large; false when it was left where it was.
bool restore(QWidget& window, const Place& place);

} // namespace WindowPlace
