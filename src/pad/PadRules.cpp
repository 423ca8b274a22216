#include "pad/PadRules.h"

#include "core/RecordName.h"

#include <QDate>
#include <QRegularExpression>

namespace PadRules {

namespace {

    using P = FieldPattern;
    using C = PadConversion;

    // Paths are relative to the root element XML_DIZ_INFO.
    const FieldRule kFields[] = {
        // Company
        {"compname", "Company Name", 0, P::RecordName, C::Same, "Company_Info/Company_Name", "", 40, true},
        {"conname", "Contact Name", 0, P::Text, C::FullName, "Company_Info/Contact_Info/Contact_First_Name",
            "Company_Info/Contact_Info/Author_First_Name", 61},
        {"contitle", "Contact Title", 0, P::Text, C::None, nullptr},
        {"conmail", "Contact E-Mail", 0, P::Email, C::Same, "Company_Info/Contact_Info/Contact_Email",
            "Company_Info/Contact_Info/Author_Email", 100, true},
        {"conphone", "Contact Phone", 0, P::Text, C::Same, "Company_Info/Support_Info/General_Phone",
            "Company_Info/Support_Info/Sales_Phone|Company_Info/Support_Info/Support_Phone", 40},
        {"confax", "Contact Fax", 0, P::Text, C::Same, "Company_Info/Support_Info/Fax_Phone", "", 40},
        {"conaddr", "Contact Address", 0, P::Text, C::Same, "Company_Info/Address_1", "", 40},
        {"concity", "Contact City", 0, P::Text, C::Same, "Company_Info/City_Town", "", 40},
        {"constate", "Contact State/Province", 0, P::Text, C::Same, "Company_Info/State_Province", "", 30},
        {"conzip", "Contact Postal", 0, P::Text, C::Same, "Company_Info/Zip_Postal_Code", "", 20},
        {"concountry", "Contact Country", 0, P::Text, C::Same, "Company_Info/Country", "", 40},
        {"pubpage", "Company Home Page", 0, P::WebAddress, C::Same, "Company_Info/Company_WebSite_URL", "", 120},
        {"pubmail", "Company E-Mail", 0, P::Email, C::Same, "Company_Info/Support_Info/General_Email",
            "Company_Info/Support_Info/Sales_Email|Company_Info/Support_Info/Support_Email", 100},
        // General
        {"appname", "Application Name", 0, P::RecordName, C::Same, "Program_Info/Program_Name", "", 64, true},
        {"char8name", "8 Character Name", 8, P::EightChar, C::FileStem, "Program_Info/File_Info/Filename_Generic",
            "Program_Info/File_Info/Filename_Versioned|Program_Info/File_Info/Filename_Long|"
            "Web_Info/Download_URLS/Primary_Download_URL",
            0, true},
        {"filename", "Application Filename", 16, P::Text, C::FileName, "Program_Info/File_Info/Filename_Versioned",
            "Program_Info/File_Info/Filename_Long|Web_Info/Download_URLS/Primary_Download_URL"},
        {"version", "Version", 0, P::Version, C::Same, "Program_Info/Program_Version", "", 15, true},
        {"month", "Release Month", 2, P::Month, C::DayOrMonth, "Program_Info/Program_Release_Month", "", 0, true},
        {"day", "Day", 2, P::Day, C::DayOrMonth, "Program_Info/Program_Release_Day", "", 0, true},
        {"year", "Year", 2, P::Year, C::Year, "Program_Info/Program_Release_Year", "", 0, true},
        {"platforms", "Platform(s)", 0, P::PickList, C::OsList, "Program_Info/Program_OS_Support", "", 0, true},
        {"diststatus", "Submitted By", 0, P::PickList, C::None, nullptr},
        {"bytesize", "File Size", 0, P::Integer, C::SizeBytes, "Program_Info/File_Info/File_Size_Bytes", "", 0, true},
        {"instsize", "Installed Size", 0, P::Integer, C::None, nullptr},
        {"price", "Price", 0, P::Number, C::Same, "Program_Info/Program_Cost_Dollars", "", 10},
        {"status", "Status", 0, P::PickList, C::ProgramType, "Program_Info/Program_Type", "", 0, true},
        {"eval", "Evaluation Period", 0, P::Text, C::EvalText, "Program_Info/Expire_Info/Expire_Other_Info", "", 100},
        {"expiredate", "Expiration Date", 0, P::DayMonthYear, C::ExpireDate, "Program_Info/Expire_Info/Expire_Day"},
        {"expireafter", "Expires After", 0, P::Integer, C::ExpireCount, "Program_Info/Expire_Info/Expire_Count"},
        {"installer", "Install/Uninstall", 0, P::PickList, C::InstallSupport, "Program_Info/Program_Install_Support"},
        // Locations
        {"appurl", "Application Info URL", 0, P::WebAddress, C::Same, "Web_Info/Application_URLS/Application_Info_URL",
            "", 120, true},
        {"dl1", "Download URL #1", 0, P::WebAddress, C::Same, "Web_Info/Download_URLS/Primary_Download_URL", "", 120,
            true},
        {"dl2", "Download URL #2", 0, P::WebAddress, C::Same, "Web_Info/Download_URLS/Secondary_Download_URL", "", 120},
        {"dl3", "Download URL #3", 0, P::WebAddress, C::Same, "Web_Info/Download_URLS/Additional_Download_URL_1", "",
            120},
        {"dl4", "Download URL #4", 0, P::WebAddress, C::Same, "Web_Info/Download_URLS/Additional_Download_URL_2", "",
            120},
        {"dl5", "Download URL #5", 0, P::WebAddress, C::None, nullptr},
        {"dl6", "Download URL #6", 0, P::WebAddress, C::None, nullptr},
        {"screenshot", "URL Location of ScreenShot", 0, P::WebAddress, C::Same,
            "Web_Info/Application_URLS/Application_Screenshot_URL", "", 120},
        {"localpath", "Full Local Path to File Archive", 0, P::Text, C::None, nullptr, "", 0, true},
        // Description
        {"shortdesc", "Short Description", 46, P::Text, C::ShortText, "Program_Descriptions/English/Char_Desc_45",
            "Program_Descriptions/English/Char_Desc_80", 45, true},
        {"longdesc", "Long Description", 0, P::Text, C::LongText, "Program_Descriptions/English/Char_Desc_2000",
            "Program_Descriptions/English/Char_Desc_450|Program_Descriptions/English/Char_Desc_250|"
            "Program_Descriptions/English/Char_Desc_80",
            2000, true},
        {"Memo2", "Notes to reviewer", 0, P::Text, C::Same, "Program_Info/Program_Change_Info", "", 300},
    };

    const QRegularExpression& regex(FieldPattern pattern)
    {
        static const QHash<FieldPattern, QRegularExpression> expressions{
            {P::EightChar, QRegularExpression(QStringLiteral("^[^ ./()]{1,8}$"))},
            {P::Version, QRegularExpression(QStringLiteral("^\\d+(\\.\\d+)*[A-Za-z]?\\d*$"))},
            {P::Day, QRegularExpression(QStringLiteral("^(0?[1-9]|[12]\\d|3[01])$"))},
            {P::Month, QRegularExpression(QStringLiteral("^(0?[1-9]|1[0-2])$"))},
            {P::Year, QRegularExpression(QStringLiteral("^\\d\\d$"))},
            {P::Integer, QRegularExpression(QStringLiteral("^\\d{1,9}$"))},
            {P::Number, QRegularExpression(QStringLiteral("^\\d{1,7}(\\.\\d{1,2})?$"))},
            {P::Email,
                QRegularExpression(
                    QStringLiteral("^[^@\\s<>,;\"()]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*\\.[A-Za-z]{2,}$"))},
            {P::WebAddress,
                QRegularExpression(
                    QStringLiteral("^(https?|ftp)://[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)+(:\\d{1,5})?(/\\S*)?$"),
                    QRegularExpression::CaseInsensitiveOption)},
            {P::DayMonthYear,
                QRegularExpression(QStringLiteral("^(\\d{1,2})[-./]([A-Za-z]{3}|\\d{1,2})[-./](\\d{4})$"))},
        };
        static const QRegularExpression any(QStringLiteral(".*"));
        const auto it = expressions.constFind(pattern);
        return it == expressions.constEnd() ? any : it.value();
    }

} // namespace

std::span<const FieldRule> fields()
{
    return kFields;
}

const FieldRule* find(const QString& control)
{
    for (const FieldRule& rule : kFields) {
        if (control == QLatin1String(rule.control))
            return &rule;
    }
    return nullptr;
}

bool isHintText(const QString& text)
{
    // An address field's starting text: a scheme alone, or an address with an ellipsis where its
    // rest should be ("ftp://... or http://..."). Any other text is the author's, ellipsis or not.
    const QStringView t = QStringView(text).trimmed();
    for (const QLatin1String scheme : {QLatin1String("http://"), QLatin1String("https://"), QLatin1String("ftp://")}) {
        if (t.startsWith(scheme))
            return t.size() == scheme.size() || t.contains(QLatin1String("..."));
    }
    return false;
}

int fullYear(int twoDigits)
{
    return twoDigits < 80 ? 2000 + twoDigits : 1900 + twoDigits;
}

bool matches(FieldPattern pattern, const QString& text)
{
    if (text.isEmpty())
        return true;
    switch (pattern) {
    case P::Text:
    case P::PickList:
        return true;
    case P::RecordName:
        return isSafeRecordName(text);
    case P::DayMonthYear: {
        const QRegularExpressionMatch m = regex(pattern).match(text);
        if (!m.hasMatch())
            return false;
        return QDate(m.captured(3).toInt(), monthNumber(m.captured(2)), m.captured(1).toInt()).isValid();
    }
    default:
        return regex(pattern).match(text).hasMatch();
    }
}

QString patternProblem(FieldPattern pattern)
{
    switch (pattern) {
    case P::RecordName:
        return QStringLiteral("cannot be a record's file name");
    case P::EightChar:
        return QStringLiteral("must be at most 8 characters without blank, \".\", \"/\", \"(\" or \")\"");
    case P::Version:
        return QStringLiteral("is not a version number (digits and dots)");
    case P::Day:
        return QStringLiteral("is not a day of the month (1-31)");
    case P::Month:
        return QStringLiteral("is not a month (1-12)");
    case P::Year:
        return QStringLiteral("is not a two-digit year (the release date needs a four-digit year)");
    case P::Integer:
        return QStringLiteral("is not a whole number");
    case P::Number:
        return QStringLiteral("is not an amount (digits, up to two decimals)");
    case P::Email:
        return QStringLiteral("is not an e-mail address");
    case P::WebAddress:
        return QStringLiteral("is not a web address (http://, https:// or ftp:// and a host)");
    case P::DayMonthYear:
        return QStringLiteral("is not a valid day-month-year date with a four-digit year");
    default:
        return QStringLiteral("is not valid");
    }
}

int monthNumber(const QString& month)
{
    static const QStringList months{QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"),
        QStringLiteral("apr"), QStringLiteral("may"), QStringLiteral("jun"), QStringLiteral("jul"),
        QStringLiteral("aug"), QStringLiteral("sep"), QStringLiteral("oct"), QStringLiteral("nov"),
        QStringLiteral("dec")};
    if (month.isEmpty())
        return 0;
    return month.at(0).isDigit() ? month.toInt() : int(months.indexOf(month.toLower())) + 1;
}

} // namespace PadRules
