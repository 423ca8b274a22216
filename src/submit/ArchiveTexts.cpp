#include "submit/ArchiveTexts.h"

#include "core/LineFile.h"

namespace {

// The placeholder the download location field starts with: no location at all.
const char* const LocationPlaceholder = "ftp://... or http://...";

QString str(const char* text)
{
    return QString::fromLatin1(text);
}

// Adds label + value when the value is not empty.
void addIf(QStringList& lines, const char* label, const QString& value, const QString& suffix = {})
{
    if (!value.isEmpty())
        lines.append(str(label) + value + suffix);
}

QString stars()
{
    return QString(70, QLatin1Char('*'));
}

} // namespace

ArchiveTexts::ArchiveTexts(ControlText text)
    : m_text(std::move(text))
{
}

QString ArchiveTexts::value(const char* control) const
{
    return m_text(str(control));
}

QStringList ArchiveTexts::memoLines(const char* control) const
{
    return textToLines(value(control));
}

bool ArchiveTexts::isWin95(const QString& platforms)
{
    return platforms == QLatin1String("Windows 95") || platforms == QLatin1String("Windows 95 and NT");
}

bool ArchiveTexts::isWinNT(const QString& platforms)
{
    return platforms == QLatin1String("Windows NT");
}

QStringList ArchiveTexts::description(Layout layout) const
{
    const QString zipName = value("char8name") + str(".zip");
    const QString longdesc = value("longdesc");
    QStringList lines;
    if (layout == Layout::Winsite) {
        lines << str("Name                : ") + value("appname") << str("Version             : ") + value("version")
              << str("Filename            : ") + zipName << str("FileDate            : ") + value("ldatel")
              << str("File Size           : ") + value("bytesize") + str(" Bytes")
              << str("Status              : ") + value("status") << str("Submitted By        : ") + value("diststatus")
              << str("Installation Type   : ") + value("installer") << str("Company/Author      : ") + value("compname")
              << str("E-Mail              : ") + value("conmail") << str("Homepage            : ") + value("appurl")
              << str("File Location       : ") + value("dl1") << str("ScreenShot          : ") + value("screenshot")
              << QString() << str("Description         :");
        // The description's lines, or one empty line for an empty description.
        const QStringList text = memoLines("longdesc");
        lines << (text.isEmpty() ? QStringList{QString()} : text);
        return lines;
    }
    addIf(lines, "Name                : ", value("appname"));
    addIf(lines, "Version             : ", value("version"));
    if (!value("char8name").isEmpty())
        lines.append(str("Filename            : ") + zipName);
    if (!value("month").isEmpty())
        lines.append(str("FileDate            : ") + value("ldatel"));
    addIf(lines, "File Size           : ", value("bytesize"), str(" Bytes"));
    addIf(lines, "Status              : ", value("status"));
    addIf(lines, "Submitted By:       : ", value("diststatus"));
    addIf(lines, "Installation Type   : ", value("installer"));
    addIf(lines, "Company/Author      : ", value("compname"));
    addIf(lines, "E-Mail              : ", value("conmail"));
    addIf(lines, "Homepage            : ", value("appurl"));
    if (value("dl1") != QLatin1String(LocationPlaceholder))
        addIf(lines, "File Location       : ", value("dl1"));
    addIf(lines, "ScreenShot          : ", value("screenshot"));
    lines.append(QString());
    if (!longdesc.isEmpty())
        lines << str("Description         :") << memoLines("longdesc");
    return lines;
}

QStringList ArchiveTexts::tmlForm() const
{
    const QString platforms = value("platforms");
    const bool win95 = isWin95(platforms);
    const bool winNT = isWinNT(platforms);
    const QString status = value("status");
    const bool demo = status == QLatin1String("Feature Limit Demo") || status == QLatin1String("Time Limit Demo");

    QStringList lines{stars()};
    if (win95)
        lines << str("              FILL-IN FORM FOR WINDOWS95 APPLICATIONS");
    if (winNT)
        lines << str("              FILL-IN FORM FOR WINDOWS NT APPLICATIONS");
    lines << str("                    THIS INFORMATION IS REQUIRED") << stars()
          << str("Program Archive Name (e.g. xyz23.zip): ") + value("char8name") + str(".zip")
          << str("Program Name/Title, 25 characters or less (e.g. Super PacNerd): ") + value("appname")
          << str("Program Version, 12 characters or less (e.g. 2.01C): ") + value("version")
          << str("Program Description (55 chars or less): ") + value("shortdesc")
          << str("Does this archive include a version compiled for Win 3.x? (yes/no): No")
          << str("Does this archive include a version compiled for Win32s? (yes/no): No");
    if (win95)
        lines << str("Does this archive include a version compiled for Win95? (yes/no): Yes")
              << str("Does this archive include a version compiled for WinNT? (yes/no): Yes");
    if (winNT)
        lines << str("Does this archive include a version compiled for Win95? (yes/no): No")
              << str("Does this archive include a version compiled for WinNT? (yes/no): Yes");
    lines << str(demo ? "Is this a demo version? (yes/no): Yes" : "Is this a demo version? (yes/no): No")
          << str("List all binaries included in this archive (Alpha, MIPS, Intel, PowerPC): Intel")
          << str("Suggested directory for placement (e.g. programr/vbasic): ") + value("winsitepd")
          << str("If this replaces an older version, name of the old program (e.g. xyz21.zip):") << stars()
          << str("     INFORMATION FOR SHAREWARE AUTHORS AND SOFTWARE COMPANIES")
          << str("                    THIS INFORMATION IS MANDATORY") << str("\t\t\t    AND CONFIDENTIAL") << stars()
          << str("Fill out the information below if you are the author, or represent the")
          << str("author or company.  This section is especially important for shareware")
          << str("authors.  This information will provide users a way to find more")
          << str("information about the program or company, and search for particular")
          << str("authors, companies, addresses, etc.") << stars()
          << str("Program Author, 30 characters or less (e.g. John Smith): ") + value("conname")
          << str("Company Name (e.g. NetTechies Inc.): ") + value("compname")
          << str("Contact Email Address: ") + value("conmail") << str("Contact WWW URL: ") + value("pubpage")
          << str("Contact Postal Address:") << str("  Line1: ") + value("conaddr")
          << str("  Line2: ") + value("concity") + str(", ") + value("constate") + str("  ") + value("conzip")
          << str("  Line3: ") + value("concountry") << str("  Line4:")
          << str("Contact Telephone Number: ") + value("conphone") << stars()
          << str("      NOTES: In the space below, please put any special notes to the")
          << str("archive maintainers (not the program users) about this upload.") << stars();
    const QStringList notes = memoLines("Memo2");
    lines << (notes.isEmpty() ? QStringList{QString()} : notes);
    return lines;
}

QString ArchiveTexts::announcementFileLine() const
{
    return (value("char8name") + str(".zip")).leftJustified(16, QLatin1Char(' ')) + value("shortdesc");
}

QStringList ArchiveTexts::announcement() const
{
    const QString status = value("status");
    const QString specreq = value("specreq");
    QStringList lines{
        str("I have uploaded:"), QString(), value("simtelpd") + str("/"), announcementFileLine(), QString()};
    if (!value("longdesc").isEmpty())
        lines << memoLines("longdesc");
    lines << QString();
    if (specreq.isEmpty())
        lines << status + str(".  Special Requirements: None");
    lines << QString();
    if (!specreq.isEmpty())
        lines << status + str(".  Special Requirements: ") + specreq;
    lines << QString() << QString();
    if (!value("diststatus").isEmpty())
        lines << status + str(".  Uploaded by: ") + value("diststatus");
    lines << QString();
    if (!value("conname").isEmpty())
        lines << value("conname") + str(", ") + value("compname");
    if (!value("conmail").isEmpty())
        lines << value("conmail");
    if (!value("pubpage").isEmpty())
        lines << value("pubpage");
    lines << QString();
    if (!value("Memo2").isEmpty())
        lines << str("Special Notes - Please Read before placement:") << memoLines("Memo2");
    return lines;
}
