#include "PdfWords.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <algorithm>
#include <cmath>

QString PdfLine::text() const
{
    QStringList parts;
    for (const PdfWord& w : words)
        parts.append(w.text);
    return parts.join(QLatin1Char(' '));
}

QList<PdfPage> readPdfWords(const QString& pdfPath, QString* error)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        *error = QStringLiteral("pdftotext failed: ") + process.errorString() + QLatin1Char(' ')
            + QString::fromLocal8Bit(process.readAllStandardError());
        return {};
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression pageRe(QString::fromLatin1(R"re(<page width="(-?[\d.]+)" height="(-?[\d.]+)">)re"));
    static const QRegularExpression wordRe(QString::fromLatin1(
        R"re(<word xMin="(-?[\d.]+)" yMin="(-?[\d.]+)" xMax="(-?[\d.]+)" yMax="(-?[\d.]+)">(.*?)</word>)re"));
    QList<PdfPage> pages;
    for (const QString& chunk : html.split(QStringLiteral("</page>"))) {
        const auto page = pageRe.match(chunk);
        if (!page.hasMatch())
            continue;
        PdfPage p;
        p.width = page.captured(1).toDouble();
        p.height = page.captured(2).toDouble();
        auto it = wordRe.globalMatch(chunk);
        while (it.hasNext()) {
            const auto m = it.next();
            PdfWord w;
            w.text = QTextDocumentFragment::fromHtml(m.captured(5)).toPlainText();
            w.xMin = m.captured(1).toDouble();
            w.yMin = m.captured(2).toDouble();
            w.xMax = m.captured(3).toDouble();
            w.yMax = m.captured(4).toDouble();
            p.words.append(w);
        }
        pages.append(p);
    }
    if (pages.isEmpty())
        *error = QStringLiteral("no pages in pdftotext output");
    return pages;
}

QList<PdfLine> pdfLines(const PdfPage& page)
{
    QList<PdfWord> words = page.words;
    std::stable_sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) { return a.yMin < b.yMin; });
    QList<PdfLine> lines;
    for (const PdfWord& w : words) {
        if (lines.isEmpty() || std::abs(lines.last().yMin - w.yMin) > 1.0) {
            PdfLine line;
            line.yMin = w.yMin;
            lines.append(line);
        }
        lines.last().words.append(w);
    }
    for (PdfLine& line : lines)
        std::sort(
            line.words.begin(), line.words.end(), [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
    return lines;
}
