#include "app/CategoryFiles.h"

#include "core/LineFile.h"

#include <QList>
#include <QPair>

namespace {

const QList<QPair<QString, QString>>& controlFiles()
{
    static const QList<QPair<QString, QString>> files{
        {QStringLiteral("tucowspd"), QStringLiteral("tucows.cat")},
        {QStringLiteral("kcpd"), QStringLiteral("kellcent.cat")},
        {QStringLiteral("wincentpd"), QStringLiteral("wincent.cat")},
        {QStringLiteral("dlcat"), QStringLiteral("downloadcom.cat")},
        {QStringLiteral("simtelpd"), QStringLiteral("simtel.cat")},
        {QStringLiteral("winsitepd"), QStringLiteral("winsite.cat")},
        {QStringLiteral("fileminepd"), QStringLiteral("filemine.cat")},
        {QStringLiteral("simpbestpd"), QStringLiteral("simpbest.cat")},
        {QStringLiteral("myswcbpd"), QStringLiteral("myswp.cat")},
        {QStringLiteral("ptspd"), QStringLiteral("pts.cat")},
        {QStringLiteral("fkingpd"), QStringLiteral("fileking.cat")},
        {QStringLiteral("swjunkiepd"), QStringLiteral("swjunkie.cat")},
        {QStringLiteral("sharedirpd1"), QStringLiteral("sharedir.cat")},
        {QStringLiteral("sharedirpd2"), QStringLiteral("sharedir.cat")},
        {QStringLiteral("cswpd"), QStringLiteral("csw.cat")},
        {QStringLiteral("sshakpd"), QStringLiteral("sshak.cat")},
        {QStringLiteral("snetpd"), QStringLiteral("snet.cat")},
        {QStringLiteral("winswpd"), QStringLiteral("winsw.cat")},
        {QStringLiteral("wattackpd"), QStringLiteral("wattack.cat")},
    };
    return files;
}

} // namespace

QString CategoryFiles::fileFor(const QString& control)
{
    for (const auto& [name, file] : controlFiles()) {
        if (name == control)
            return file;
    }
    return {};
}

QStringList CategoryFiles::controls()
{
    QStringList names;
    for (const auto& entry : controlFiles())
        names.append(entry.first);
    return names;
}

const QStringList& CategoryFiles::wincentCategories()
{
    static const QStringList names{
        QStringLiteral("desktop"),
        QStringLiteral("internet"),
        QStringLiteral("multimedia"),
        QStringLiteral("productivity"),
        QStringLiteral("programming"),
        QStringLiteral("updates"),
        QStringLiteral("utilities"),
        QStringLiteral("world_wide_web"),
    };
    return names;
}

QString CategoryFiles::wincentSubcategoryFile(const QString& category)
{
    if (!wincentCategories().contains(category, Qt::CaseSensitive))
        return {};
    // The web category's file has a short name of its own.
    if (category == QLatin1String("world_wide_web"))
        return QStringLiteral("wcwww.cat");
    return QLatin1String("wc") + category + QLatin1String(".cat");
}

std::optional<QStringList> CategoryFiles::read(const QString& catFolder, const QString& fileName)
{
    return readLineFile(catFolder + QLatin1Char('/') + fileName);
}
