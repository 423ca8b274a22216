// Definitions of sites of one's own: each fault refused with its line, and what a good one holds.
#include "submit/UserSites.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

const char* const Form = "[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=form\nURL=http://h.example/a\n[fields]\na={appname}\n";

struct Broken
{
    const char* text;
    const char* problem; // "line: message"
};

} // namespace

TEST(UserSiteParser, EachFaultIsRefusedWithItsLine)
{
    const Broken cases[] = {
        {"KEY=Mine\n", "1: a line outside any section"},
        {"[site]\nKEY=My site\n", "2: KEY must be 1 to 32 letters and digits"},
        {"[site]\nKEY=tucows\n", "2: KEY tucows is taken: tucows is already a site or a control"},
        {"[site]\nKEY=Essen\n", "2: KEY Essen is taken: Essennew is already a site or a control"},
        {"[site]\nKEY=Mine\nLABEL=Mine\n", "1: [site] needs CHANNEL"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=fax\n", "4: CHANNEL must be form, get, mail or ftp, not fax"},
        {"[site]\nKEY=Mine\nCOLOR=red\n", "3: unknown key COLOR in [site]"},
        {"[site]\nKEY=Mine\n[extra]\n", "3: unknown section [extra]"},
        {"[site]\nKEY=Mine\nKEY=Other\n", "3: KEY given twice in [site]"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=form\nURL=ftp://h.example/\n[fields]\na=b\n",
            "5: URL must be an http:// or https:// address, not ftp://h.example/"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=form\nURL=http://h.example/\n",
            "0: a form site needs at least one "
            "line in [fields]"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=form\nURL=http://h.example/\n[fields]\na={appname}\nb={cost}\n",
            "8: unknown field {cost}"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=get\nURL=http://h.example/\n[fields]\na={appname\n",
            "7: a { without its }"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=form\nURL=http://h.example/\n[fields]\na={status|Beta}\n",
            "7: a mapping row needs text=value: Beta"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=form\nURL=http://h.example/\nENCODING=latin9\n[fields]\na=b\n",
            "6: ENCODING must be utf-8 or windows-1252, not latin9"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=form\nURL=http://h.example/\n[fields]\na=b\n[update]\n"
         "URL=http://other.example/\n",
            "9: the update's URL must name the same scheme, host and port"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=mail\n[mail]\nTO=not an address\nSUBJECT=s\n",
            "6: TO is not a mail address: not an address"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=mail\n[mail]\nTO=a@b.example\n", "5: [mail] needs SUBJECT"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=mail\n[fields]\na=b\n", "5: section [fields] is not for mail sites"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=mail\nURL=http://h.example/\n[mail]\nTO=a@b.example\nSUBJECT=s\n",
            "5: URL is not for mail sites"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=ftp\n[ftp]\nHOST=h.example:99999\nFILES=program\n",
            "6: HOST must be host or host:port, not h.example:99999"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=ftp\n[ftp]\nHOST=h.example\nFILES=program, readme\n",
            "7: FILES takes program, description and archive, not readme"},
        {"[site]\nKEY=Mine\nLABEL=Mine\nCHANNEL=ftp\n[ftp]\nHOST=h.example\nFILES=program\n[update]\nSUBJECT=x\n",
            "9: SUBJECT in [update] is not for ftp sites"},
    };
    const UserSites none;
    for (const Broken& c : cases) {
        SCOPED_TRACE(c.text);
        UserSiteProblem problem;
        const QSet<QString> taken{s("tucows"), s("essennew")};
        EXPECT_EQ(parseUserSite(s("x.site"), c.text, taken, &problem), nullptr);
        EXPECT_EQ((QString::number(problem.line) + s(": ") + problem.message).toStdString(), c.problem);
    }
}

// Files in name order; a later file with a KEY taken is refused, the rest still load.
TEST(UserSiteParser, AFolderLoadsInNameOrderAndAKeyTwiceIsRefused)
{
    QTemporaryDir base;
    ASSERT_TRUE(QDir(base.path()).mkpath(s("cat/sites")));
    auto write = [&](const char* name, const QByteArray& text) {
        QFile f(base.path() + s("/cat/sites/") + s(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write("b.site", QByteArray(Form).replace("Mine", "Bee"));
    write("a.site", Form);
    write("c.site", QByteArray(Form).replace("KEY=Mine", "KEY=MINE"));
    write("notes.txt", "not a definition");
    const UserSites sites = UserSites::load(base.path());
    ASSERT_EQ(sites.sites.size(), 2u);
    EXPECT_EQ(sites.sites[0]->entry.id, s("Mine"));
    EXPECT_EQ(sites.sites[0]->entry.newBox, s("Minenew"));
    EXPECT_EQ(sites.sites[0]->entry.updateBox, s("Mineup"));
    EXPECT_EQ(sites.sites[1]->entry.id, s("Bee"));
    ASSERT_EQ(sites.refused.size(), 1u);
    EXPECT_EQ(sites.refused[0].text(), s("cat/sites/c.site:2: KEY MINE is taken: MINE is already a site or a control"));
}
