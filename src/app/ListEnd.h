#pragma once

class QListWidget;
class QString;

// Keeps a growing list scrolled to its newest line. A hidden list (its page not the current one,
// or a batch run's window that is never shown) is scrolled once when it shows: scrolling lays out
// every line, so doing it for each line added to a hidden list made a long run quadratic.
void addLineAtEnd(QListWidget* list, const QString& line);
