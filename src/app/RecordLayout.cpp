#include "app/RecordLayout.h"

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

    constexpr RecordKey CategoryTable[] = {
        {QLatin1StringView("CTUCOWS"), QLatin1StringView("tucowspd"), QLatin1StringView("")},
        {QLatin1StringView("CWINDOWS95COM"), QLatin1StringView("win95pd"), QLatin1StringView("http://")},
        {QLatin1StringView("CKELLS"), QLatin1StringView("kcpd"), QLatin1StringView("")},
        {QLatin1StringView("CWINCENT"), QLatin1StringView("wincentpd"), QLatin1StringView("")},
        {QLatin1StringView("SWINCENT"), QLatin1StringView("wcsubcat"), QLatin1StringView("")},
        {QLatin1StringView("CDLOADCOM"), QLatin1StringView("dlcat"), QLatin1StringView("")},
        {QLatin1StringView("CSIMTEL"), QLatin1StringView("simtelpd"), QLatin1StringView("")},
        {QLatin1StringView("CWINSITE"), QLatin1StringView("winsitepd"), QLatin1StringView("")},
        {QLatin1StringView("CFILEMINE"), QLatin1StringView("fileminepd"), QLatin1StringView("")},
        {QLatin1StringView("CSW95COM"), QLatin1StringView("shareware95pd"), QLatin1StringView("http://")},
        {QLatin1StringView("CMSPAGE"), QLatin1StringView("myswcbpd"), QLatin1StringView("")},
        {QLatin1StringView("CPASSSW"), QLatin1StringView("ptspd"), QLatin1StringView("")},
        {QLatin1StringView("CFKING"), QLatin1StringView("fkingpd"), QLatin1StringView("")},
        {QLatin1StringView("swjunkiepd"), QLatin1StringView("swjunkiepd"), QLatin1StringView("")},
        {QLatin1StringView("sharedirpd1"), QLatin1StringView("sharedirpd1"), QLatin1StringView("")},
        {QLatin1StringView("sharedirpd2"), QLatin1StringView("sharedirpd2"), QLatin1StringView("")},
        {QLatin1StringView("CSTB"), QLatin1StringView("simpbestpd"), QLatin1StringView("")},
        {QLatin1StringView("cswpd"), QLatin1StringView("cswpd"), QLatin1StringView("")},
        {QLatin1StringView("sshakpd"), QLatin1StringView("sshakpd"), QLatin1StringView("")},
        {QLatin1StringView("snetpd"), QLatin1StringView("snetpd"), QLatin1StringView("")},
        {QLatin1StringView("winswpd"), QLatin1StringView("winswpd"), QLatin1StringView("")},
        {QLatin1StringView("wattackpd"), QLatin1StringView("wattackpd"), QLatin1StringView("")},
    };

    constexpr QLatin1StringView TickTable[] = {
        QLatin1StringView("tucowsnewcb"),
        QLatin1StringView("tucowscb"),
        QLatin1StringView("win95newcb"),
        QLatin1StringView("win95cb"),
        QLatin1StringView("new32bit"),
        QLatin1StringView("bit32cb"),
        QLatin1StringView("kellcentnewcb"),
        QLatin1StringView("kccb"),
        QLatin1StringView("cwsnewcb"),
        QLatin1StringView("treskcb"),
        QLatin1StringView("wincentnewcb"),
        QLatin1StringView("wincentcb"),
        QLatin1StringView("downloadnewcb"),
        QLatin1StringView("downloadcb"),
        QLatin1StringView("simtelnewcb"),
        QLatin1StringView("simtelcb"),
        QLatin1StringView("winsitenewcb"),
        QLatin1StringView("winsitecb"),
        QLatin1StringView("fileminenewcb"),
        QLatin1StringView("fileminecb"),
        QLatin1StringView("sharewarenewcb"),
        QLatin1StringView("shareware95cb"),
        QLatin1StringView("warehousenewcb"),
        QLatin1StringView("wsockwhcb"),
        QLatin1StringView("marnelsnewcb"),
        QLatin1StringView("marnelscb"),
        QLatin1StringView("vosknewcb"),
        QLatin1StringView("voskcb"),
        QLatin1StringView("keyscreennewcb"),
        QLatin1StringView("keyscreencb"),
        QLatin1StringView("swpagenewcb"),
        QLatin1StringView("myswcb"),
        QLatin1StringView("otbanewcb"),
        QLatin1StringView("otbacb"),
        QLatin1StringView("slaughnewcb"),
        QLatin1StringView("Slaughterhousecb"),
        QLatin1StringView("pow95new"),
        QLatin1StringView("powin95up"),
        QLatin1StringView("dlnetnew"),
        QLatin1StringView("dlnetup"),
        QLatin1StringView("essennew"),
        QLatin1StringView("essenup"),
        QLatin1StringView("capfishnew"),
        QLatin1StringView("capfishup"),
        QLatin1StringView("digisafarinew"),
        QLatin1StringView("digisafariup"),
        QLatin1StringView("fwfavnew"),
        QLatin1StringView("fwfavup"),
        QLatin1StringView("f32comnew"),
        QLatin1StringView("f32comup"),
        QLatin1StringView("galtnew"),
        QLatin1StringView("galtup"),
        QLatin1StringView("gwsnew"),
        QLatin1StringView("gwsup"),
        QLatin1StringView("jaydenew"),
        QLatin1StringView("jaydeup"),
        QLatin1StringView("ptsnew"),
        QLatin1StringView("ptsup"),
        QLatin1StringView("rocketnew"),
        QLatin1StringView("rocketup"),
        QLatin1StringView("sharepapernew"),
        QLatin1StringView("sharepaperup"),
        QLatin1StringView("swrnew"),
        QLatin1StringView("swrup"),
        QLatin1StringView("swshopnew"),
        QLatin1StringView("swshopup"),
        QLatin1StringView("c2cnew"),
        QLatin1StringView("c2cup"),
        QLatin1StringView("gratisnew"),
        QLatin1StringView("gratisup"),
        QLatin1StringView("swspnew"),
        QLatin1StringView("swspup"),
        QLatin1StringView("ssnew"),
        QLatin1StringView("ssup"),
        QLatin1StringView("swronew"),
        QLatin1StringView("swroup"),
        QLatin1StringView("fenworldnew"),
        QLatin1StringView("fenworldup"),
        QLatin1StringView("wpipenew"),
        QLatin1StringView("wpipeup"),
        QLatin1StringView("wugnetnew"),
        QLatin1StringView("wugnetup"),
        QLatin1StringView("tudogsnew"),
        QLatin1StringView("tudogsup"),
        QLatin1StringView("shareinnew"),
        QLatin1StringView("shareinup"),
        QLatin1StringView("simpbestnew"),
        QLatin1StringView("simpbestup"),
        QLatin1StringView("fkingnew"),
        QLatin1StringView("fkingup"),
        QLatin1StringView("lgnew"),
        QLatin1StringView("lgup"),
        QLatin1StringView("swjunkienew"),
        QLatin1StringView("swjunkieup"),
        QLatin1StringView("papanew"),
        QLatin1StringView("papaup"),
        QLatin1StringView("sharedirnew"),
        QLatin1StringView("sharedirup"),
        QLatin1StringView("pcwinnew"),
        QLatin1StringView("pcwinup"),
        QLatin1StringView("win95empnew"),
        QLatin1StringView("win95empup"),
        QLatin1StringView("cswnew"),
        QLatin1StringView("cswup"),
        QLatin1StringView("sshaknew"),
        QLatin1StringView("sshakup"),
        QLatin1StringView("swarecentnew"),
        QLatin1StringView("swarecentup"),
        QLatin1StringView("snetnew"),
        QLatin1StringView("snetup"),
        QLatin1StringView("winswnew"),
        QLatin1StringView("winswup"),
        QLatin1StringView("wattacknew"),
        QLatin1StringView("wattackup"),
    };

    static_assert(std::size(CompanyTable) == 13);
    static_assert(std::size(AppInfoTable) == 27);
    static_assert(std::size(CategoryTable) == 22);
    static_assert(std::size(TickTable) == 114);

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
    return CategoryTable;
}

std::span<const QLatin1StringView> tickBoxes()
{
    return TickTable;
}

} // namespace RecordLayout
