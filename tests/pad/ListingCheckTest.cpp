// The listing check as one table: a clean record with a form site, a pick-list site and an e-mail
// site ticked, each case changing a few values and naming the finding it must give.
#include "pad/ListingCheck.h"
#include "support/Text.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ListingValues cleanRecord()
{
    ListingValues v;
    const char* pairs[][2] = {{"compname", "Brightfen Software"}, {"conmail", "ann@brightfen.example"},
        {"pubpage", "http://brightfen.example/"}, {"pubmail", "info@brightfen.example"}, {"appname", "Zip Go"},
        {"char8name", "zipgo21"}, {"filename", "zipgo21.zip"}, {"version", "2.1"}, {"day", "29"}, {"month", "2"},
        {"year", "00"}, {"platforms", "Windows 95"}, {"bytesize", "1500"}, {"price", "15.00"}, {"status", "Shareware"},
        {"expiredate", "31-Jan-2030"}, {"appurl", "http://brightfen.example/zipgo.html"},
        {"dl1", "https://brightfen.example:8443/zipgo21.zip"}, {"dl2", ""}, {"localpath", "files/zipgo21.zip"},
        {"shortdesc", "Zip files on the go"}, {"longdesc", "Packs files."}, {"fkingpd", "Utilities"},
        {"smtpedit", "mail.brightfen.example"}, {"emailedit", "ann@brightfen.example"}};
    for (const auto& [control, value] : pairs)
        v.insert(s(control), s(value));
    return v;
}

struct Case
{
    const char* name;
    std::vector<std::pair<const char*, const char*>> changes; // control -> new value
    std::vector<const char*> untick; // tick boxes cleared
    const char* catalogueExtra; // appended to the catalogue
    qint64 fileSize; // the program file's size; -1: no such file
    Finding::Severity severity;
    const char* field;
    const char* site;
    const char* words; // the message holds them
};

using S = Finding::Severity;

const Case kCases[] = {
    {"eight-character name too long", {{"char8name", "zipgo2100"}}, {}, "", 1500, S::Error, "char8name", "",
        "8 characters"},
    {"eight-character name with a dot", {{"char8name", "zip.go"}}, {}, "", 1500, S::Error, "char8name", "", "\".\""},
    {"upper-case eight-character name", {{"char8name", "ZipGo"}}, {}, "", 1500, S::Warning, "char8name", "",
        "lower case"},
    {"short description over its limit", {{"shortdesc", "This short description runs past forty-six chars"}}, {}, "",
        1500, S::Error, "shortdesc", "", "takes 46"},
    {"version with words", {{"version", "two"}}, {}, "", 1500, S::Warning, "version", "", "version"},
    {"no version", {{"version", ""}}, {}, "", 1500, S::Error, "version", "", "empty"},
    {"no date of that day", {{"day", "30"}}, {}, "", 1500, S::Error, "day", "", "2000"},
    {"one-digit year", {{"year", "5"}}, {}, "", 1500, S::Error, "year", "", "four-digit"},
    {"month 13", {{"month", "13"}}, {}, "", 1500, S::Error, "month", "", "1-12"},
    {"expiry date with a two-digit year", {{"expiredate", "1-1-30"}}, {}, "", 1500, S::Error, "expiredate", "",
        "four-digit"},
    {"price in words", {{"price", "$15"}}, {}, "", 1500, S::Error, "price", "", "amount"},
    {"size in words", {{"bytesize", "1.5 MB"}}, {}, "", 1500, S::Error, "bytesize", "", "whole number"},
    {"size disagrees with the file", {}, {}, "", 1499, S::Warning, "bytesize", "", "1499"},
    {"program file missing", {}, {}, "", -1, S::Error, "localpath", "", "does not exist"},
    {"e-mail without a domain", {{"conmail", "ann@brightfen"}}, {}, "", 1500, S::Error, "conmail", "", "e-mail"},
    {"web address without a scheme", {{"appurl", "brightfen.example/zipgo.html"}}, {}, "", 1500, S::Error, "appurl", "",
        "web address"},
    {"download hint left", {{"dl2", "ftp://... or http://..."}}, {}, "", 1500, S::Warning, "dl2", "", "hint"},
    {"bare http:// left", {{"screenshot", "http://"}}, {}, "", 1500, S::Warning, "screenshot", "", "hint"},
    {"address with an ellipsis left", {{"dl2", " http://... "}}, {}, "", 1500, S::Warning, "dl2", "", "hint"},
    {"no mail server for an e-mail site", {{"smtpedit", ""}}, {}, "", 1500, S::Error, "smtpedit", "", "marnels"},
    {"no sender for an e-mail site", {{"emailedit", ""}}, {}, "", 1500, S::Error, "emailedit", "", "sender"},
    {"no category where the site sends one", {{"fkingpd", ""}}, {}, "", 1500, S::Error, "fkingpd", "fking", "category"},
    {"platform the site's mapping lacks", {{"platforms", "Windows 3.1"}}, {}, "", 1500, S::Warning, "platforms",
        "kellcent", "Windows 95 and NT"},
    {"status the site's mapping lacks", {{"status", "Nagware"}}, {}, "", 1500, S::Warning, "status", "kellcent",
        "Nagware"},
    {"placeholder web host", {}, {}, "[fking]\r\nHOST=fking.example\r\n", 1500, S::Warning, "", "fking", "placeholder"},
    {"placeholder mailbox", {}, {}, "[marnels]\r\nMAILBOX=\r\n", 1500, S::Warning, "", "marnels", "placeholder"},
};

TEST(ListingCheck, EachRuleGivesItsFinding)
{
    QTemporaryDir dir;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ListingInput input;
        input.values = cleanRecord();
        for (const auto& [control, value] : c.changes)
            input.values.insert(s(control), s(value));
        input.ticked = {s("fkingnew"), s("kellcentnewcb"), s("marnelsnewcb")};
        for (const char* box : c.untick)
            input.ticked.removeAll(s(box));
        const QString path = dir.filePath(s("catalogue.dat"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // The first section of a name counts: a case's own sections come before the common ones.
        file.write(QByteArray("[ALL]\r\nHOST=127.0.0.1:8080\r\n") + c.catalogueExtra
            + "[marnels]\r\nMAILBOX=list@marnels.test\r\n");
        file.close();
        const SiteCatalogue catalogue(path);
        input.catalogue = &catalogue;
        input.programFile = c.fileSize < 0 ? ProgramFile{} : ProgramFile{true, true, c.fileSize};
        input.values.insert(s("kcpd"), s("Utilities"));

        const std::vector<Finding> findings = ListingCheck::run(input);
        bool found = false;
        QStringList all;
        for (const Finding& f : findings) {
            all.append(f.text());
            found = found
                || (f.severity == c.severity && f.field == s(c.field) && f.site == s(c.site)
                    && f.message.contains(s(c.words)));
        }
        EXPECT_TRUE(found) << all.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(ListingCheck::hasErrors(findings), c.severity == S::Error || c.fileSize < 0);
    }
}

TEST(ListingCheck, CleanRecordHasNoFindings)
{
    ListingInput input;
    input.values = cleanRecord();
    input.values.insert(s("longdesc"), s("Takes notes... and keeps them."));
    input.programFile = ProgramFile{true, true, 1500};
    const std::vector<Finding> findings = ListingCheck::run(input);
    QStringList all;
    for (const Finding& f : findings)
        all.append(f.text());
    EXPECT_TRUE(findings.empty()) << all.join(QLatin1Char('\n')).toStdString();
}

// A ticked site of one's own: a mail site needs the mail settings, and an empty field a template
// names is worth a warning; an unticked one asks for nothing.
TEST(ListingCheck, SitesOfOnesOwnNeedWhatTheyUse)
{
    UserSites own;
    for (const char* text : {"[site]\nKEY=Ownmail\nLABEL=M\nCHANNEL=mail\n[mail]\nTO=a@b.example\nSUBJECT=s\n",
             "[site]\nKEY=Ownform\nLABEL=F\nCHANNEL=form\nURL=http://h.example/\n[fields]\na={dl2}\n"}) {
        UserSiteProblem problem;
        own.sites.push_back(parseUserSite(s("x.site"), text, {}, &problem));
        ASSERT_NE(own.sites.back(), nullptr) << problem.text().toStdString();
    }
    ListingInput input;
    input.values = cleanRecord();
    input.values.insert(s("smtpedit"), QString());
    input.programFile = ProgramFile{true, true, 1500};
    input.userSites = &own;
    EXPECT_TRUE(ListingCheck::run(input).empty());

    input.ticked = {s("Ownmailnew"), s("Ownformup")};
    QStringList all;
    for (const Finding& f : ListingCheck::run(input))
        all.append(f.text());
    ASSERT_EQ(all.size(), 2) << all.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(all[0].contains(s("Ownform/dl2"))) << all[0].toStdString();
    EXPECT_TRUE(all[1].contains(s("e-mail sites need one (Ownmail)"))) << all[1].toStdString();
}

} // namespace
