#pragma once

#include <QString>

#include <optional>

// The pick-list translations between the window's lists and the PAD format's lists. Each is a
// pure function of texts; a value the other side has no item for comes back empty.
namespace PadMapping {

// Program_OS_Support (a comma-separated list) -> "Windows 95", "Windows NT", "Windows 95 and NT".
// dropped receives the systems the platform list has no item for.
std::optional<QString> platformFromOs(const QString& osList, QString* dropped);
QString osFromPlatform(const QString& platform);

// Program_Type, Program_Release_Status and Has_Expire_Info -> the status pick list.
std::optional<QString> statusFromType(const QString& type, const QString& releaseStatus, bool expires);
// The status pick list -> Program_Type; price decides whether a beta is shareware or freeware.
QString typeFromStatus(const QString& status, const QString& price);
QString releaseStatusFromStatus(const QString& status);

std::optional<QString> installerFromSupport(const QString& support);
QString supportFromInstaller(const QString& installer);

} // namespace PadMapping
