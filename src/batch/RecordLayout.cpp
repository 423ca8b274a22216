#include "batch/RecordLayout.h"

#include "submit/SiteCatalogue.h"

#include <vector>

namespace RecordLayout {

namespace {

    constexpr RecordKey CompanyTable[] = {
        {QLatin1StringView("CONAME"), QLatin1StringView("compname"), QLatin1StringView("")},
        {QLatin1StringView("CONTACT"), QLatin1StringView("conname"), QLatin1StringView("")},
        {QLatin1StringView("CTITLE"), QLatin1StringView("contitle"), QLatin1StringView("")},
        {QLatin1StringView("CEMAIL"), QLatin1StringView("conmail"), QLatin1StringView("")},
        {QLatin1StringView("CPHONE"), QLatin1StringView("conphone"), QLatin1StringView("")},
        {QLatin1StringView("CFAX"), QLatin1StringView("confax"), QLatin1StringView("")},
        {QLatin1StringView("CADDR"), QLatin1StringView("conaddr"), QLatin1StringView("")},
        {QLatin1StringView("CCITY"), QLatin1StringView("concity"), QLatin1StringView("")},
        {QLatin1StringView("CSTATE"), QLatin1StringView("constate"), QLatin1StringView("")},
        {QLatin1StringView("CZIP"), QLatin1StringView("conzip"), QLatin1StringView("")},
        {QLatin1StringView("CCOUNTRY"), QLatin1StringView("concountry"), QLatin1StringView("")},
        {QLatin1StringView("CURL"), QLatin1StringView("pubpage"), QLatin1StringView("")},
        {QLatin1StringView("CCMAIL"), QLatin1StringView("pubmail"), QLatin1StringView("")},
    };

    constexpr RecordKey AppInfoTable[] = {
        {QLatin1StringView("FILENAME"), QLatin1StringView("filename"), QLatin1StringView("")},
        {QLatin1StringView("NAME"), QLatin1StringView("appname"), QLatin1StringView("")},
        {QLatin1StringView("8CHAR"), QLatin1StringView("char8name"), QLatin1StringView("")},
        {QLatin1StringView("VERSION"), QLatin1StringView("version"), QLatin1StringView("")},
        {QLatin1StringView("DAY"), QLatin1StringView("day"), QLatin1StringView("")},
        {QLatin1StringView("MONTH"), QLatin1StringView("month"), QLatin1StringView("")},
        {QLatin1StringView("YEAR"), QLatin1StringView("year"), QLatin1StringView("")},
        {QLatin1StringView("PLATFORM"), QLatin1StringView("platforms"), QLatin1StringView("")},
        {QLatin1StringView("DSTATUS"), QLatin1StringView("diststatus"), QLatin1StringView("")},
        {QLatin1StringView("SIZE"), QLatin1StringView("bytesize"), QLatin1StringView("")},
        {QLatin1StringView("INSTSIZE"), QLatin1StringView("instsize"), QLatin1StringView("")},
        {QLatin1StringView("PRICE"), QLatin1StringView("price"), QLatin1StringView("")},
        {QLatin1StringView("STATUS"), QLatin1StringView("status"), QLatin1StringView("")},
        {QLatin1StringView("EVAL"), QLatin1StringView("eval"), QLatin1StringView("")},
        {QLatin1StringView("XDATE"), QLatin1StringView("expiredate"), QLatin1StringView("")},
        {QLatin1StringView("XDAYS"), QLatin1StringView("expireafter"), QLatin1StringView("")},
        {QLatin1StringView("installer"), QLatin1StringView("installer"), QLatin1StringView("")},
        {QLatin1StringView("APPURL"), QLatin1StringView("appurl"), QLatin1StringView("http://")},
        {QLatin1StringView("DL1"), QLatin1StringView("dl1"), QLatin1StringView("ftp://... or http://...")},
        {QLatin1StringView("DL2"), QLatin1StringView("dl2"), QLatin1StringView("ftp://... or http://...")},
        {QLatin1StringView("DL3"), QLatin1StringView("dl3"), QLatin1StringView("ftp://... or http://...")},
        {QLatin1StringView("DL4"), QLatin1StringView("dl4"), QLatin1StringView("ftp://... or http://...")},
        {QLatin1StringView("DL5"), QLatin1StringView("dl5"), QLatin1StringView("ftp://... or http://...")},
        {QLatin1StringView("DL6"), QLatin1StringView("dl6"), QLatin1StringView("ftp://... or http://...")},
        {QLatin1StringView("SHOT"), QLatin1StringView("screenshot"), QLatin1StringView("http://")},
        {QLatin1StringView("PATH"), QLatin1StringView("localpath"), QLatin1StringView("")},
        {QLatin1StringView("SHORTDESC"), QLatin1StringView("shortdesc"), QLatin1StringView("")},
    };

    static_assert(std::size(CompanyTable) == 13);
    static_assert(std::size(AppInfoTable) == 27);

} // namespace

std::span<const RecordKey> companyKeys()
{
    return CompanyTable;
}

std::span<const RecordKey> appInfoKeys()
{
    return AppInfoTable;
}

std::span<const RecordKey> categoryKeys()
{
    static const std::vector<RecordKey> keys = [] {
        std::vector<RecordKey> list;
        for (const Site* site : SiteCatalogue::recordOrder(&Site::categoriesAfter)) {
            for (const SiteCategory& c : site->category.controls) {
                if (*c.control)
                    list.push_back(
                        {QLatin1StringView(c.recordKey), QLatin1StringView(c.control), QLatin1StringView(c.absent)});
            }
        }
        return list;
    }();
    return keys;
}

std::span<const QLatin1StringView> tickBoxes()
{
    static const std::vector<QLatin1StringView> boxes = [] {
        std::vector<QLatin1StringView> list;
        for (const Site* site : SiteCatalogue::recordOrder(&Site::ticksAfter)) {
            list.emplace_back(site->newBox);
            list.emplace_back(site->updateBox);
        }
        return list;
    }();
    return boxes;
}

} // namespace RecordLayout
