#pragma once

#include <QLatin1StringView>
#include <span>

// The layout of a program record file: its sections, and per key the control that holds the value
// and the value a missing key loads as. The order of each table is the order in which keys are
// written to a new file.
struct RecordKey
{
    QLatin1StringView key;
    QLatin1StringView control;
    QLatin1StringView defaultValue;
};

namespace RecordLayout {

inline constexpr QLatin1StringView Company{"COMPANY"};
inline constexpr QLatin1StringView AppInfo{"APPINFO"};
inline constexpr QLatin1StringView Sites{"SITES"};
// Written with the program's name, never read back: the file name is the name.
inline constexpr QLatin1StringView NameKey{"NAME"};

// The 13 company keys, shared with the company's own record file.
std::span<const RecordKey> companyKeys();
// The 27 listing keys, NAME included (its control is appname).
std::span<const RecordKey> appInfoKeys();
// The 22 category values of the Sites section, from the site catalogue.
std::span<const RecordKey> categoryKeys();
// The 114 tick boxes of the Sites section, each stored under its own name, from the site catalogue.
std::span<const QLatin1StringView> tickBoxes();

} // namespace RecordLayout
