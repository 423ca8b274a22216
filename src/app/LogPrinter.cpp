#include "app/LogPrinter.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

QList<QList<LogPrinter::Run>> LogPrinter::breakLine(const QString& line, const Metrics& metrics, int pageWidth)
{
    const int tabWidth = 8 * std::max(1, metrics.averageCharWidth);
    QList<QList<Run>> pieces;
    QList<Run> runs;
    Run run;
    bool pieceHasText = false; // every printed line takes at least one character, so the loop always advances
    int x = 0; // where the current run starts

    auto finishRun = [&] {
        if (!run.text.isEmpty())
            runs.append(run);
        run = Run{};
    };
    auto finishPiece = [&] {
        finishRun();
        pieces.append(runs);
        runs.clear();
        pieceHasText = false;
        x = 0;
    };

    for (qsizetype i = 0; i < line.size(); ++i) {
        QString ch(line[i]);
        if (line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate())
            ch += line[++i];
        if (ch == QLatin1String("\t")) {
            const int end = run.text.isEmpty() ? x : x + metrics.width(run.text);
            int stop = (end / tabWidth + 1) * tabWidth;
            if (stop > pageWidth && pieceHasText) {
                finishPiece();
                stop = tabWidth;
            }
            finishRun();
            x = stop;
            pieceHasText = true;
            continue;
        }
        if (run.text.isEmpty())
            run.x = x;
        if (pieceHasText && run.x + metrics.width(run.text + ch) > pageWidth) {
            finishPiece();
            run.x = 0;
        }
        run.text += ch;
        pieceHasText = true;
    }
    finishRun();
    if (pieceHasText || pieces.isEmpty())
        pieces.append(runs);
    return pieces;
}

QList<LogPrinter::Page> LogPrinter::layout(
    const QStringList& lines, const Metrics& metrics, int pageWidth, int pageHeight)
{
    QList<Page> pages;
    int y = 0;
    bool newPage = true;
    for (const QString& line : lines) {
        // An empty line advances by the character height, a printed one by its text height plus 2.
        const int height = line.isEmpty() ? metrics.height : metrics.height + 2;
        for (const QList<Run>& runs : breakLine(line, metrics, pageWidth)) {
            // A page is started only when there is a line to put on it: no blank page at the end.
            if (newPage) {
                pages.append(Page{});
                y = 0;
                newPage = false;
            }
            pages.last().append(Line{y, runs});
            y += height;
            // Empty lines use the same bottom reserve as printed ones, so the line after an empty
            // line never runs past the bottom of the page.
            if (y > pageHeight - 2 * height)
                newPage = true;
        }
    }
    return pages;
}

bool LogPrinter::print(QPrinter& printer, const QStringList& lines, const QFont& font, const QString& title)
{
    const double m = MarginMillimetres;
    printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setFont(QFont(font, &printer));
    const QFontMetrics fm = painter.fontMetrics();
    Metrics metrics;
    metrics.width = [&fm](const QString& text) { return fm.horizontalAdvance(text); };
    metrics.height = fm.height();
    metrics.averageCharWidth = fm.averageCharWidth();
    // The header: one line of text, a rule under it, and a line's height of room before the log.
    const int headerHeight = 2 * fm.height() + 2;
    const int width = printer.width();
    const QList<Page> pages = layout(lines, metrics, width, printer.height() - headerHeight);
    const QString date = QLocale::c().toString(QDateTime::currentDateTime(), QStringLiteral("d MMM yyyy hh:mm"));
    const QString heading = title.isEmpty() ? date : title + QStringLiteral("   ") + date;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0)
            printer.newPage();
        const QString number = QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size());
        painter.drawText(QPoint(0, fm.ascent()),
            fm.elidedText(heading, Qt::ElideRight, width - fm.horizontalAdvance(number) - fm.averageCharWidth() * 2));
        painter.drawText(QPoint(width - fm.horizontalAdvance(number), fm.ascent()), number);
        painter.drawLine(0, fm.height() + 1, width, fm.height() + 1);
        for (const Line& line : pages[p]) {
            for (const Run& run : line.runs)
                painter.drawText(QPoint(run.x, headerHeight + line.y + fm.ascent()), run.text);
        }
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}
