#pragma once

#include <QString>

#include <optional>
#include <span>

// The number File Mine files a listing under, for each text of its category pick list. Several
// texts share one number.
struct FileMineCategory
{
    const char* text; // exact pick-list text: section, " - ", item
    int code;
};

std::span<const FileMineCategory> fileMineCategoryCodes();
// The code of a pick-list text (exact, case-sensitive), or nothing.
std::optional<int> fileMineCategoryCode(const QString& text);
