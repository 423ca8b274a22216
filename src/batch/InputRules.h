#pragma once

#include <QChar>
#include <QString>

#include "core/TextWrap.h" // wrapLines, one of the rules of the long texts

// The input rules of the listing fields, as pure functions.

// The 8-character name may not hold a blank, ".", "/", "(" or ")"; nothing else is tested.
bool isAcceptable8CharName(const QString& text);

// The digit filter: a typed character passes when it is backspace or a digit 0 to 9.
bool passesDigitFilter(QChar typed);

// Builds the release date text ("7-Mar-1999") into out, step by step: the day as typed and "-";
// the month's short name and "-" for months 1 to 12; "20" or "19" and the year as typed for years
// below 80 or from 80 to 99. A month or year that is not a whole number raises EConvertError, and
// out keeps what was built before that step.
void buildLongDate(const QString& day, const QString& month, const QString& year, QString& out);
// The year field as a loaded record shows it: a four-digit year the two-digit field stands for
// (1980 to 2079) is taken as that year; any other text stays as it is.
QString loadedYear(const QString& year);
