#pragma once

#include <QString>

// Breaks every line longer than 71 characters: at the 72nd character when it is a blank (which
// then begins the next line), else at the nearest blank before it on the same line (replaced by
// the break), else right before the 72nd character. Counting starts again after each break.
// Line breaks are CR LF when the text holds any, else LF (a memo's text); inserted ones match.
// The notes and the long description are wrapped so before the archive text files are written.
QString wrapLines(const QString& text);
