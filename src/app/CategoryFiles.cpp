#include "app/CategoryFiles.h"

#include "core/LineFile.h"
#include "submit/SiteCatalogue.h"

QString CategoryFiles::fileFor(const QString& control)
{
    for (const Site& site : SiteCatalogue::sites()) {
        for (const SiteCategory& c : site.category.controls) {
            if (control == QLatin1String(c.control))
                return QString::fromLatin1(c.catFile);
        }
    }
    return {};
}

QStringList CategoryFiles::controls()
{
    QStringList names;
    for (const Site& site : SiteCatalogue::sites()) {
        for (const SiteCategory& c : site.category.controls) {
            if (*c.catFile)
                names.append(QString::fromLatin1(c.control));
        }
    }
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
