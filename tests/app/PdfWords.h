#pragma once

#include <QList>
#include <QString>

// The words of a PDF as poppler's `pdftotext -bbox` reads them back, in points from the top left.
struct PdfWord
{
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
};

struct PdfPage
{
    double width = 0;
    double height = 0;
    QList<PdfWord> words;
};

// One printed line: the words that share a baseline, left to right.
struct PdfLine
{
    double yMin = 0;
    QList<PdfWord> words;
    QString text() const; // the words joined by single blanks
};

// Runs pdftotext on the file; an empty list when it fails (error set to what went wrong).
QList<PdfPage> readPdfWords(const QString& pdfPath, QString* error);
// Groups a page's words into lines, top to bottom.
QList<PdfLine> pdfLines(const PdfPage& page);
