#pragma once

#include <QHash>
#include <QString>

#include <span>

// The one table of listing field rules. Import, export and the listing check all read it: which
// control holds a value, how long it may be, what it must look like, and which element of a PAD
// file (Portable Application Description) carries it and how the value crosses over.

// Values by control name, as the window's controls hold them.
using ListingValues = QHash<QString, QString>;

// What a value must look like.
enum class FieldPattern {
    Text, // anything
    RecordName, // a name that can be a record's file name
    EightChar, // the 8-character file name: no blank, ".", "/", "(", ")"; lower case
    Version, // digits and dots, an optional letter
    Day, // 1..31
    Month, // 1..12
    Year, // two digits
    Integer, // a whole number
    Number, // an amount: digits with up to two decimals
    Email,
    WebAddress, // http://, https:// or ftp:// with a host
    PickList, // one of the control's items; a site's mapping may need more
    DayMonthYear, // day-month-year with a four-digit year
};

// How a value crosses between the control and the PAD file.
enum class PadConversion {
    None, // not in a PAD file
    Same, // the element's text as it is
    FullName, // first and last name elements <-> "First Last"
    DayOrMonth, // "07" <-> "7"
    Year, // four digits <-> two (1980-2079)
    OsList, // PAD's operating system list <-> the platform pick list
    ProgramType, // PAD's program type (and release status) <-> the status pick list
    InstallSupport, // PAD's install support <-> the installer pick list
    SizeBytes, // bytes, or kilobytes / megabytes when bytes are missing
    FileStem, // a file name (or a download address) <-> its stem, the 8-character name
    FileName, // a file name, or the last part of a download address
    ShortText, // the shortest description that fits
    LongText, // the longest description there is
    ExpireDate, // day, month and year elements <-> "d-m-yyyy"
    ExpireCount, // the expiry count, when it counts days
    EvalText, // other expiry information, or "N days" / "N uses"
};

struct FieldRule
{
    const char* control;
    const char* label; // as the window labels the field
    int limit; // characters the control takes; 0: no limit
    FieldPattern pattern;
    PadConversion conversion;
    const char* padPath; // element under XML_DIZ_INFO; nullptr: the format has none
    const char* fallbacks = ""; // further elements read when padPath is empty, '|' between
    int padLimit = 0; // characters the PAD element takes; 0: no limit
    bool required = false; // the listing is incomplete without it
};

namespace PadRules {

// Every listing field of the program and company records, in the window's order.
std::span<const FieldRule> fields();
const FieldRule* find(const QString& control);

// The texts a new record shows in an address field, standing for "not filled in".
bool isHintText(const QString& text);

// Whether text matches pattern (an empty text always does: required fields are a separate rule).
bool matches(FieldPattern pattern, const QString& text);
// Why text does not match pattern, in words, e.g. "is not a whole number".
QString patternProblem(FieldPattern pattern);

// The year a two-digit year stands for (the release date's rule: below 80 is 20xx).
int fullYear(int twoDigits);
// The month of a date's month part: a number, or an English month's first three letters in any
// case; 0 for neither.
int monthNumber(const QString& month);

} // namespace PadRules
