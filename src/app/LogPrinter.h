#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QFont;
class QPrinter;

// Prints the run log as plain text within margins of 15 mm, each page headed by a title (the
// program), the date and "Page n of N" over a rule; a line wider than the page continues on the
// next printed line; tabs advance to multiples of eight average character widths.
class LogPrinter
{
public:
    // What the layout needs to know about the font, in device pixels.
    struct Metrics
    {
        std::function<int(const QString&)> width;
        int height = 0; // the font's character height
        int averageCharWidth = 0; // the unit of the tab stops
    };

    // A piece of text drawn at x; tabs split a printed line into runs.
    struct Run
    {
        int x = 0;
        QString text;
        bool operator==(const Run&) const = default;
    };

    // One printed line: its top edge on its page and its runs (none for an empty line).
    struct Line
    {
        int y = 0;
        QList<Run> runs;
    };

    using Page = QList<Line>;

    // Lays the lines out on pages of the given size.
    static QList<Page> layout(const QStringList& lines, const Metrics& metrics, int pageWidth, int pageHeight);

    // Prints the lines as one job on printer, in font, headed by title. False when the printer could
    // not be started.
    static bool print(QPrinter& printer, const QStringList& lines, const QFont& font, const QString& title = {});

    static constexpr double MarginMillimetres = 15;

private:
    static QList<QList<Run>> breakLine(const QString& line, const Metrics& metrics, int pageWidth);
};
