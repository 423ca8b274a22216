#include "pad/PadImport.h"

#include "pad/PadMapping.h"

#include <QUrl>

namespace {

struct Reading
{
    QString value; // what goes into the control
    QString from; // the element it came from
    QString problem = {}; // why it was left out; empty when it fits
};

QString afterLastSlash(const QString& text)
{
    const QString path = text.contains(QLatin1String("://")) ? QUrl(text).path() : text;
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString stem(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

QString withoutLeadingZero(const QString& number)
{
    bool ok = false;
    const int n = number.toInt(&ok);
    return ok ? QString::number(n) : number;
}

QString expireBase(const PadDocument& pad)
{
    return pad.value(QStringLiteral("Program_Info/Expire_Info/Expire_Based_On"));
}

// The first non-empty element of the rule's path and fallbacks.
Reading firstOf(const PadDocument& pad, const FieldRule& rule)
{
    QStringList paths{QString::fromLatin1(rule.padPath)};
    paths += QString::fromLatin1(rule.fallbacks).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString& path : paths) {
        const QString v = pad.value(path);
        if (!v.isEmpty())
            return {v, path.section(QLatin1Char('/'), -1)};
    }
    return {};
}

Reading read(const PadDocument& pad, const FieldRule& rule)
{
    const QString element = QString::fromLatin1(rule.padPath).section(QLatin1Char('/'), -1);
    Reading r;
    switch (rule.conversion) {
    case PadConversion::None:
        return {};
    case PadConversion::Same:
    case PadConversion::ShortText:
    case PadConversion::LongText:
        return firstOf(pad, rule);
    case PadConversion::FullName: {
        const QString first = QString::fromLatin1(rule.padPath);
        const QString last = QString(first).replace(QLatin1String("First_Name"), QLatin1String("Last_Name"));
        r = {(pad.value(first) + QLatin1Char(' ') + pad.value(last)).trimmed(), element};
        if (r.value.isEmpty()) {
            const QString author = QString::fromLatin1(rule.fallbacks);
            const QString authorLast = QString(author).replace(QLatin1String("First_Name"), QLatin1String("Last_Name"));
            r = {(pad.value(author) + QLatin1Char(' ') + pad.value(authorLast)).trimmed(),
                author.section(QLatin1Char('/'), -1)};
        }
        return r;
    }
    case PadConversion::DayOrMonth:
        r = firstOf(pad, rule);
        r.value = withoutLeadingZero(r.value);
        return r;
    case PadConversion::Year: {
        r = firstOf(pad, rule);
        bool ok = false;
        const int year = r.value.toInt(&ok);
        if (r.value.isEmpty())
            return r;
        if (!ok || year < 1980 || year > 2079)
            r.problem = QStringLiteral("%1 is not a year from 1980 to 2079, which a two-digit year holds").arg(r.value);
        else
            r.value = QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0'));
        return r;
    }
    case PadConversion::OsList: {
        r = firstOf(pad, rule);
        if (r.value.isEmpty())
            return r;
        QString dropped;
        const std::optional<QString> platform = PadMapping::platformFromOs(r.value, &dropped);
        if (!platform)
            r.problem = QStringLiteral("\"%1\" names no system of the pick list (Windows 95, Windows NT)").arg(r.value);
        else
            r.value = *platform;
        return r;
    }
    case PadConversion::ProgramType: {
        r = firstOf(pad, rule);
        const QString release = pad.value(QStringLiteral("Program_Info/Program_Release_Status"));
        if (r.value.isEmpty() && release.isEmpty())
            return r;
        const bool expires
            = pad.value(QStringLiteral("Program_Info/Expire_Info/Has_Expire_Info")).startsWith(QLatin1Char('Y'));
        const std::optional<QString> status = PadMapping::statusFromType(r.value, release, expires);
        if (!status)
            r.problem = QStringLiteral("program type \"%1\" has no item in the pick list").arg(r.value);
        else
            r.value = *status;
        return r;
    }
    case PadConversion::InstallSupport: {
        r = firstOf(pad, rule);
        if (r.value.isEmpty())
            return r;
        if (const std::optional<QString> installer = PadMapping::installerFromSupport(r.value))
            r.value = *installer;
        else
            r.problem = QStringLiteral("\"%1\" has no item in the pick list").arg(r.value);
        return r;
    }
    case PadConversion::SizeBytes: {
        const QString info = QStringLiteral("Program_Info/File_Info/");
        const std::pair<const char*, double> sizes[]
            = {{"File_Size_Bytes", 1}, {"File_Size_K", 1024}, {"File_Size_MB", 1024 * 1024}};
        for (const auto& [name, factor] : sizes) {
            const QString text = pad.value(info + QLatin1String(name));
            if (text.isEmpty())
                continue;
            bool ok = false;
            const double n = QString(text).remove(QLatin1Char(',')).toDouble(&ok);
            if (!ok || n < 0 || n * factor > 2147483647.0)
                return {text, QString::fromLatin1(name), QStringLiteral("\"%1\" is not a size").arg(text)};
            return {QString::number(qint64(n * factor + 0.5)), QString::fromLatin1(name)};
        }
        return {};
    }
    case PadConversion::FileStem:
        r = firstOf(pad, rule);
        r.value = stem(afterLastSlash(r.value)).toLower();
        return r;
    case PadConversion::FileName:
        r = firstOf(pad, rule);
        r.value = afterLastSlash(r.value);
        return r;
    case PadConversion::ExpireDate: {
        const QString info = QStringLiteral("Program_Info/Expire_Info/");
        const QString d = pad.value(info + QLatin1String("Expire_Day"));
        const QString m = pad.value(info + QLatin1String("Expire_Month"));
        const QString y = pad.value(info + QLatin1String("Expire_Year"));
        if (d.isEmpty() && m.isEmpty() && y.isEmpty())
            return {};
        r = {withoutLeadingZero(d) + QLatin1Char('-') + withoutLeadingZero(m) + QLatin1Char('-') + y,
            QStringLiteral("Expire_Day/Month/Year")};
        if (!PadRules::matches(FieldPattern::DayMonthYear, r.value))
            r.problem = QStringLiteral("%1 is not a valid date").arg(r.value);
        return r;
    }
    case PadConversion::ExpireCount:
        r = firstOf(pad, rule);
        if (!r.value.isEmpty() && expireBase(pad).compare(QLatin1String("Uses"), Qt::CaseInsensitive) == 0)
            r.problem = QStringLiteral("the file counts %1 uses; this field counts days").arg(r.value);
        return r;
    case PadConversion::EvalText: {
        r = firstOf(pad, rule);
        const QString count = pad.value(QStringLiteral("Program_Info/Expire_Info/Expire_Count"));
        if (r.value.isEmpty() && !count.isEmpty()) {
            const bool uses = expireBase(pad).compare(QLatin1String("Uses"), Qt::CaseInsensitive) == 0;
            r = {count + (uses ? QStringLiteral(" uses") : QStringLiteral(" days")), QStringLiteral("Expire_Count")};
        }
        return r;
    }
    }
    return {};
}

} // namespace

PadImport PadImport::from(const PadDocument& pad, const QHash<QString, QStringList>& categoryLists)
{
    PadImport result;
    for (const FieldRule& rule : PadRules::fields()) {
        Reading r = read(pad, rule);
        if (r.value.isEmpty() && r.problem.isEmpty())
            continue;
        const QString label = QString::fromLatin1(rule.label);
        if (r.problem.isEmpty() && rule.limit > 0 && r.value.size() > rule.limit)
            r.problem = QStringLiteral("%1 characters (\"%2\"), the field takes %3")
                            .arg(r.value.size())
                            .arg(r.value)
                            .arg(rule.limit);
        if (r.problem.isEmpty() && !PadRules::matches(rule.pattern, r.value))
            r.problem = QStringLiteral("\"%1\" %2").arg(r.value, PadRules::patternProblem(rule.pattern));
        if (!r.problem.isEmpty()) {
            result.leftOut.append(QStringLiteral("%1 (%2): %3").arg(label, r.from, r.problem));
            continue;
        }
        result.values.insert(QString::fromLatin1(rule.control), r.value);
        result.filled.append(QStringLiteral("%1 (%2)").arg(label, r.from));
        if (rule.conversion == PadConversion::OsList) {
            QString dropped;
            PadMapping::platformFromOs(pad.value(QString::fromLatin1(rule.padPath)), &dropped);
            if (!dropped.isEmpty())
                result.leftOut.append(QStringLiteral("%1: the pick list has no item for %2").arg(label, dropped));
        }
    }

    // Categories: the window keeps one per site, so a PAD category fills every site list that
    // has it as an item.
    const QString cls = pad.value(QStringLiteral("Program_Info/Program_Category_Class"));
    const QString specific = pad.value(QStringLiteral("Program_Info/Program_Specific_Category"));
    QStringList wanted;
    for (const QString& c : {cls, cls.section(QStringLiteral("::"), -1), specific}) {
        if (!c.isEmpty() && !wanted.contains(c, Qt::CaseInsensitive))
            wanted.append(c);
    }
    if (wanted.isEmpty())
        return result;
    int matched = 0;
    for (auto it = categoryLists.cbegin(); it != categoryLists.cend(); ++it) {
        for (const QString& item : it.value()) {
            if (wanted.contains(item.trimmed(), Qt::CaseInsensitive)) {
                result.values.insert(it.key(), item);
                result.filled.append(QStringLiteral("Category of %1 (Program_Category_Class): %2").arg(it.key(), item));
                ++matched;
                break;
            }
        }
    }
    if (matched == 0)
        result.leftOut.append(
            QStringLiteral("Category (Program_Category_Class): \"%1\" is an item of no site's category list; pick "
                           "the sites' categories on the Sites page")
                .arg(wanted.join(QStringLiteral("\", \""))));
    return result;
}
