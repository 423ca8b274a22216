#include "pad/PadExport.h"

#include "pad/PadMapping.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <vector>

namespace {

// The PAD 4.0 layout: every element in the format's order; a name ending in "/" opens a section,
// a lone "/" closes the last one opened.
const char* const kLayout[] = {
    "MASTER_PAD_VERSION_INFO/",
    "MASTER_PAD_VERSION",
    "MASTER_PAD_EDITOR",
    "MASTER_PAD_INFO",
    "/",
    "Company_Info/",
    "Company_Name",
    "Address_1",
    "Address_2",
    "City_Town",
    "State_Province",
    "Zip_Postal_Code",
    "Country",
    "Company_WebSite_URL",
    "Contact_Info/",
    "Author_First_Name",
    "Author_Last_Name",
    "Author_Email",
    "Contact_First_Name",
    "Contact_Last_Name",
    "Contact_Email",
    "/",
    "Support_Info/",
    "Sales_Email",
    "Support_Email",
    "General_Email",
    "Sales_Phone",
    "Support_Phone",
    "General_Phone",
    "Fax_Phone",
    "/",
    "/",
    "Program_Info/",
    "Program_Name",
    "Program_Version",
    "Program_Release_Month",
    "Program_Release_Day",
    "Program_Release_Year",
    "Program_Cost_Dollars",
    "Program_Cost_Other_Code",
    "Program_Cost_Other",
    "Program_Type",
    "Program_Release_Status",
    "Program_Install_Support",
    "Program_OS_Support",
    "Program_Language",
    "Program_Change_Info",
    "Program_Specific_Category",
    "Program_Category_Class",
    "Program_System_Requirements",
    "File_Info/",
    "Filename_Versioned",
    "Filename_Previous",
    "Filename_Generic",
    "Filename_Long",
    "File_Size_Bytes",
    "File_Size_K",
    "File_Size_MB",
    "/",
    "Expire_Info/",
    "Has_Expire_Info",
    "Expire_Count",
    "Expire_Based_On",
    "Expire_Other_Info",
    "Expire_Month",
    "Expire_Day",
    "Expire_Year",
    "/",
    "/",
    "Program_Descriptions/",
    "English/",
    "Keywords",
    "Char_Desc_45",
    "Char_Desc_80",
    "Char_Desc_250",
    "Char_Desc_450",
    "Char_Desc_2000",
    "/",
    "/",
    "Web_Info/",
    "Application_URLS/",
    "Application_Info_URL",
    "Application_Order_URL",
    "Application_Screenshot_URL",
    "Application_Icon_URL",
    "Application_XML_File_URL",
    "/",
    "Download_URLS/",
    "Primary_Download_URL",
    "Secondary_Download_URL",
    "Additional_Download_URL_1",
    "Additional_Download_URL_2",
    "/",
    "/",
    "Permissions/",
    "Distribution_Permissions",
    "EULA",
    "/",
};

class Builder
{
public:
    explicit Builder(const ListingValues& values)
        : m_values(values)
    {
    }

    QHash<QString, QString> elements;
    QStringList leftOut;

    QString value(const char* control) const
    {
        QString v = m_values.value(QString::fromLatin1(control)).trimmed();
        v.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        return PadRules::isHintText(v) ? QString() : v;
    }

    void put(const QString& path, const QString& text) { elements.insert(path, text); }

    // Puts text when it fits the element, otherwise says so and leaves the element empty.
    void putFitting(const QString& path, const QString& text, int limit, const char* label)
    {
        if (limit > 0 && text.size() > limit) {
            leftOut.append(QStringLiteral("%1: %2 characters do not fit %3 (%4 at most)")
                               .arg(QString::fromLatin1(label))
                               .arg(text.size())
                               .arg(path.section(QLatin1Char('/'), -1))
                               .arg(limit));
            return;
        }
        put(path, text);
    }

    void add(const FieldRule& rule)
    {
        const QString path = QString::fromLatin1(rule.padPath);
        const QString v = value(rule.control);
        switch (rule.conversion) {
        case PadConversion::None:
            return;
        case PadConversion::Same:
        case PadConversion::EvalText:
        case PadConversion::ExpireCount:
            putFitting(path, v, rule.padLimit, rule.label);
            if (rule.conversion == PadConversion::ExpireCount && !v.isEmpty())
                put(QStringLiteral("Program_Info/Expire_Info/Expire_Based_On"), QStringLiteral("Days"));
            if (path.endsWith(QLatin1String("Contact_Email")))
                put(QStringLiteral("Company_Info/Contact_Info/Author_Email"), v);
            return;
        case PadConversion::FullName: {
            const qsizetype cut = v.lastIndexOf(QLatin1Char(' '));
            const QString first = cut < 0 ? v : v.left(cut);
            const QString last = cut < 0 ? QString() : v.mid(cut + 1);
            for (const char* who : {"Author", "Contact"}) {
                put(QStringLiteral("Company_Info/Contact_Info/%1_First_Name").arg(QLatin1String(who)), first);
                put(QStringLiteral("Company_Info/Contact_Info/%1_Last_Name").arg(QLatin1String(who)), last);
            }
            return;
        }
        case PadConversion::DayOrMonth:
            put(path, v.isEmpty() ? v : QStringLiteral("%1").arg(v.toInt(), 2, 10, QLatin1Char('0')));
            return;
        case PadConversion::Year:
            put(path, v.isEmpty() ? v : QString::number(PadRules::fullYear(v.toInt())));
            return;
        case PadConversion::OsList:
            put(path, mapped(v, PadMapping::osFromPlatform(v), rule.label));
            return;
        case PadConversion::ProgramType:
            put(path, mapped(v, PadMapping::typeFromStatus(v, value("price")), rule.label));
            put(QStringLiteral("Program_Info/Program_Release_Status"), PadMapping::releaseStatusFromStatus(v));
            return;
        case PadConversion::InstallSupport:
            put(path, mapped(v, PadMapping::supportFromInstaller(v), rule.label));
            return;
        case PadConversion::SizeBytes: {
            bool ok = false;
            const qint64 bytes = v.toLongLong(&ok);
            if (!ok) {
                if (!v.isEmpty())
                    leftOut.append(QStringLiteral("File Size: \"%1\" is not a number of bytes").arg(v));
                return;
            }
            put(path, QString::number(bytes));
            put(QStringLiteral("Program_Info/File_Info/File_Size_K"), QString::number((bytes + 512) / 1024));
            put(QStringLiteral("Program_Info/File_Info/File_Size_MB"),
                QString::number(double(bytes) / (1024 * 1024), 'f', 2));
            return;
        }
        case PadConversion::FileStem: {
            if (v.isEmpty())
                return;
            const QString name = value("filename");
            const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
            put(path, v + (dot > 0 ? name.mid(dot) : QStringLiteral(".zip")));
            return;
        }
        case PadConversion::FileName:
            put(path, v);
            return;
        case PadConversion::ShortText:
            putFitting(path, v, 45, rule.label);
            put(QStringLiteral("Program_Descriptions/English/Char_Desc_80"), v);
            return;
        case PadConversion::LongText: {
            putFitting(path, v, 2000, rule.label);
            // The shorter descriptions are one paragraph.
            QString oneLine = v;
            oneLine.replace(QRegularExpression(QStringLiteral("\\s*\\n\\s*")), QStringLiteral(" "));
            putFitting(QStringLiteral("Program_Descriptions/English/Char_Desc_450"), oneLine, 450, rule.label);
            putFitting(QStringLiteral("Program_Descriptions/English/Char_Desc_250"), oneLine, 250, rule.label);
            return;
        }
        case PadConversion::ExpireDate: {
            if (v.isEmpty())
                return;
            static const QRegularExpression date(
                QStringLiteral("^(\\d{1,2})[-./]([A-Za-z]{3}|\\d{1,2})[-./](\\d{4})$"));
            const QRegularExpressionMatch m = date.match(v);
            if (!PadRules::matches(FieldPattern::DayMonthYear, v) || !m.hasMatch()) {
                leftOut.append(QStringLiteral("Expiration Date: \"%1\" is not a day-month-year date").arg(v));
                return;
            }
            const int monthNumber = PadRules::monthNumber(m.captured(2));
            const QString info = QStringLiteral("Program_Info/Expire_Info/");
            put(info + QLatin1String("Expire_Day"),
                QStringLiteral("%1").arg(m.captured(1).toInt(), 2, 10, QLatin1Char('0')));
            put(info + QLatin1String("Expire_Month"), QStringLiteral("%1").arg(monthNumber, 2, 10, QLatin1Char('0')));
            put(info + QLatin1String("Expire_Year"), m.captured(3));
            return;
        }
        }
    }

private:
    QString mapped(const QString& v, const QString& pad, const char* label)
    {
        if (!v.isEmpty() && pad.isEmpty())
            leftOut.append(
                QStringLiteral("%1: \"%2\" has no value in the format's list").arg(QString::fromLatin1(label), v));
        return pad;
    }

    const ListingValues& m_values;
};

} // namespace

PadExport PadExport::from(const ListingValues& values)
{
    Builder b(values);
    b.put(QStringLiteral("MASTER_PAD_VERSION_INFO/MASTER_PAD_VERSION"), QStringLiteral("4.0"));
    b.put(QStringLiteral("MASTER_PAD_VERSION_INFO/MASTER_PAD_EDITOR"), QStringLiteral("Quillet 1.20b"));
    b.put(QStringLiteral("MASTER_PAD_VERSION_INFO/MASTER_PAD_INFO"),
        QStringLiteral("Portable Application Description, or PAD for short, is a data set that is used by "
                       "shareware authors to disseminate information to anyone interested in their software "
                       "products."));
    for (const FieldRule& rule : PadRules::fields())
        b.add(rule);
    const QString status = b.value("status");
    const bool expires = status == QLatin1String("Time Limit Demo")
        || (status != QLatin1String("Feature Limit Demo")
            && !(b.value("expireafter") + b.value("expiredate") + b.value("eval")).isEmpty());
    b.put(QStringLiteral("Program_Info/Expire_Info/Has_Expire_Info"),
        expires ? QStringLiteral("Y") : QStringLiteral("N"));
    b.put(QStringLiteral("Program_Info/Program_Language"), QStringLiteral("English"));

    PadExport out;
    QXmlStreamWriter w(&out.xml);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("XML_DIZ_INFO"));
    QStringList open;
    for (const char* entry : kLayout) {
        const QString name = QString::fromLatin1(entry);
        if (name == QLatin1String("/")) {
            w.writeEndElement();
            open.removeLast();
        } else if (name.endsWith(QLatin1Char('/'))) {
            open.append(name.chopped(1));
            w.writeStartElement(open.last());
        } else {
            const QString path = (open + QStringList{name}).join(QLatin1Char('/'));
            w.writeTextElement(name, b.elements.value(path));
        }
    }
    w.writeEndElement();
    w.writeEndDocument();
    out.leftOut = b.leftOut;
    return out;
}
