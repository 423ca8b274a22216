// "quillet --submit NAME --dry-run DIR": what the preview writes is what the peers receive in a
// real run of the same record, and nothing reaches them during the preview.
#include "ProgramBase.h"
#include "submit/RecipeBook.h"
#include "submit/RunReport.h"
#include "support/PeerProcess.h"
#include "support/Text.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

ProgramRecord manySites()
{
    ProgramRecord r;
    r.name = s("Preview Pad");
    for (const auto& [k, v] :
        std::initializer_list<std::pair<const char*, const char*>>{{"compname", "Pad Works"}, {"conname", "Bob & Co"},
            {"conmail", "bob@pad.example"}, {"char8name", "padprev"}, {"filename", "padprev.zip"}, {"version", "1.0"},
            {"day", "4"}, {"month", "12"}, {"year", "05"}, {"platforms", "Windows 95 and NT"}, {"bytesize", "2048"},
            {"status", "Shareware"}, {"appurl", "http://pad.example/"}, {"dl1", "http://pad.example/padprev.zip"},
            {"win95pd", "http://win95.example/utilities/"}, {"kcpd", "Utilities"}, {"wincentpd", "Utilities"},
            {"wcsubcat", "Compression"}, {"dlcat", "Utilities"}, {"fileminepd", "Utilities - Text Editors"},
            {"shareware95pd", "http://shareware95.example/utils/"}, {"simpbestpd", "Editors"},
            {"wattackpd", "Misc.Non Web related Tools"}, {"fkingpd", "Utilities"}, {"cswpd", "Archivers"},
            {"shortdesc", "Tiny pad"}})
        r.fields[s(k)] = s(v);
    r.longdesc = {s("Tiny pad."), s(".a line with a dot"), s("Third & last = 100%")};
    r.ticked = {s("tucowsnewcb"), s("win95newcb"), s("new32bit"), s("kellcentnewcb"), s("wincentnewcb"),
        s("downloadnewcb"), s("fileminenewcb"), s("sharewarenewcb"), s("slaughnewcb"), s("cwsnewcb"), s("simpbestnew"),
        s("marnelsnewcb"), s("vosknewcb"), s("keyscreennewcb"), s("swpagenewcb"), s("otbanewcb"), s("essennew"),
        s("galtnew"), s("shareinnew"), s("fkingnew"), s("lgnew"), s("cswnew"), s("wattacknew"), s("gwsup")};
    return r;
}

// The files of a folder by name, with what carries the time of day blanked out.
QMap<QString, QByteArray> readFolder(const QString& folder, const QString& pattern, bool envelope)
{
    static const QRegularExpression time(QStringLiteral("\\d{1,2}(:|%3A)\\d\\d(:|%3A)\\d\\d( ?[AaPp][Mm])?"));
    static const QRegularExpression dateLine(
        QStringLiteral("(?m)^(Date|Message-ID): [^\\r]*"), QRegularExpression::CaseInsensitiveOption);
    QMap<QString, QByteArray> out;
    const QDir dir(folder);
    int number = 0;
    for (const QString& name : dir.entryList({pattern}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QString text = QString::fromLatin1(f.readAll());
        // The recording SMTP peer puts the envelope in front of the message.
        if (envelope)
            text.remove(QRegularExpression(QStringLiteral("^(X-Envelope-[^\\r]*\\r\\n)+")));
        text.replace(time, QStringLiteral("{time}")).replace(dateLine, QStringLiteral("\\1: {date}"));
        out.insert(QStringLiteral("%1").arg(++number, 4, 10, QLatin1Char('0')), text.toLatin1());
    }
    return out;
}

// Every file under folder by its path inside it.
QMap<QString, QByteArray> tree(const QString& folder)
{
    QMap<QString, QByteArray> out;
    const QDir dir(folder);
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        out.insert(dir.relativeFilePath(f.fileName()), f.readAll());
    }
    return out;
}

} // namespace

TEST(BatchDryRun, ThePreviewHoldsWhatTheSitesReceiveAndNothingIsSent)
{
    TempBase base;
    writeProgram(base, manySites());
    PeerProcess http(s("http_peer.py"), {s("--record"), base.file(s("received")), s("--lifetime"), s("120")});
    ASSERT_TRUE(http.started()) << http.errors().toStdString();
    PeerProcess smtp(s("smtp_peer.py"), {s("--record"), base.file(s("mail")), s("--lifetime"), s("120")});
    ASSERT_TRUE(smtp.started()) << smtp.errors().toStdString();
    QDir().mkpath(base.file(s("ftp/uploads")));
    PeerProcess ftp(s("ftp_peer.py"),
        {s("--root"), base.file(s("ftp")), s("--record"), base.file(s("ftp-commands")), s("--user"), s("Anonymous"),
            s("--password"), s("bob@pad.example"), s("--lifetime"), s("120")});
    ASSERT_TRUE(ftp.started()) << ftp.errors().toStdString();
    base.write(s("cat/catalogue.dat"), catalogueForPeers(http.port(), ftp.port()));
    base.write(s("cat/settings.dat"), mailSettingsFor(smtp.port(), "author@quillet.example", "Author"));
    const QMap<QString, QByteArray> before = tree(base.file(s("data")));

    const BatchResult preview = runQuillet(base.path(),
        {s("--submit"), s("Preview Pad"), s("--dry-run"), base.file(s("preview")), s("--report"),
            base.file(s("preview.json"))});
    EXPECT_TRUE(preview.exitCode == 0 || preview.exitCode == 3) << preview.err.toStdString();
    // It says it previewed: no "sent" and no completion wording in what it sums up.
    EXPECT_TRUE(preview.err.contains(s("Preview Pad: ")) && preview.err.contains(s(" previewed, ")))
        << preview.err.toStdString();
    EXPECT_FALSE(preview.err.contains(s(" sent, ")) || preview.err.contains(s("Submission is complete")))
        << preview.err.toStdString();
    // The report names every item written, each once, with the site it was written for.
    const std::optional<RunRecord> report = RunReport::fromJson(base.read(s("preview.json")));
    ASSERT_TRUE(report.has_value());
    QStringList named;
    for (const SiteResult& site : report->sites)
        named += site.previewItems;
    const QStringList written = tree(base.file(s("preview"))).keys();
    named.sort();
    EXPECT_EQ(named, written);
    // The peers saw nothing, and the record is as it was.
    EXPECT_TRUE(QDir(base.file(s("received"))).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(base.file(s("mail"))).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(tree(base.file(s("data"))), before);
    EXPECT_TRUE(tree(base.file(s("ftp"))).isEmpty());
    EXPECT_TRUE(base.read(s("ftp-commands")).isEmpty());

    const BatchResult real = runQuillet(base.path(), {s("--submit"), s("Preview Pad")});
    EXPECT_EQ(real.exitCode, preview.exitCode) << real.err.toStdString();
    // The same log, site by site.
    EXPECT_EQ(preview.out, real.out);

    // The requests and the mails, numbered alike, file by file.
    auto expectSame = [](const QMap<QString, QByteArray>& previewed, const QMap<QString, QByteArray>& received,
                          qsizetype atLeast, const char* kind) {
        EXPECT_GE(received.size(), atLeast) << kind;
        EXPECT_EQ(previewed.keys(), received.keys()) << kind;
        for (const QString& key : received.keys())
            EXPECT_EQ(previewed.value(key).toStdString(), received.value(key).toStdString())
                << kind << " " << key.toStdString();
    };
    expectSame(readFolder(base.file(s("preview/http")), s("*.req"), false),
        readFolder(base.file(s("received")), s("*.req"), false), 10, "http");
    expectSame(readFolder(base.file(s("preview/mail")), s("*.eml"), false),
        readFolder(base.file(s("mail")), s("*.req"), true), 5, "mail");

    // The uploads, folder by folder, under the host's name.
    const auto uploaded = tree(base.file(s("ftp")));
    EXPECT_FALSE(uploaded.isEmpty());
    EXPECT_EQ(tree(base.file(s("preview/ftp/127.0.0.1"))), uploaded);
}

// The endpoints each catalogue row declares (what must be set up before it is sent to) are the
// ones its previews write to: a preview of every new box and one of every update box, on the
// built-in placeholders, read site by site.
TEST(BatchDryRun, EachRowDeclaresTheEndpointsItsPreviewUses)
{
    TempBase base;
    // The archive sites add to the program's zip.
    base.write(s("prog/readme.1st"), "Tiny pad.\r\n");
    QProcess::execute(s("zip"), {s("-qjX"), base.file(s("prog/padprev.zip")), base.file(s("prog/readme.1st"))});
    base.write(s("cat/settings.dat"), mailSettingsFor(25, "author@quillet.example", "Author"));
    QMap<QString, unsigned> found; // entry id -> endpoints written to
    QMap<QString, int> previewed; // entry id -> previews that wrote its whole listing
    for (const QString SiteEntry::*box : {&SiteEntry::newBox, &SiteEntry::updateBox}) {
        ProgramRecord record = manySites();
        record.fields[s("localpath")] = base.file(s("prog/padprev.zip"));
        record.ticked.clear();
        for (const SiteEntry& e : SiteCatalogue::entries()) {
            if (!(e.*box).isEmpty())
                record.ticked.append(e.*box);
        }
        writeProgram(base, record);
        QDir(base.file(s("preview"))).removeRecursively();
        const BatchResult preview = runQuillet(base.path(),
            {s("--submit"), s("Preview Pad"), s("--dry-run"), base.file(s("preview")), s("--report"),
                base.file(s("preview.json"))});
        const std::optional<RunRecord> report = RunReport::fromJson(base.read(s("preview.json")));
        ASSERT_TRUE(report.has_value()) << preview.err.toStdString();
        for (const SiteResult& site : report->sites) {
            const QString domain = site.siteKey + s(".example");
            unsigned& uses = found[site.entry];
            for (const QString& item : site.previewItems) {
                const QString text = QString::fromLatin1(base.read(s("preview/") + item));
                if (item.startsWith(s("http/")) && text.contains(s("\r\nHost: ") + domain + s("\r\n")))
                    uses |= UsesWebHost;
                if (item.startsWith(s("ftp/ftp.") + domain + s("/")))
                    uses |= UsesFtpHost;
                for (const QString& at : {s("@"), s("%40")}) {
                    if (text.contains(s("submit") + at + domain))
                        uses |= UsesMailbox;
                    if (text.contains(s("listings") + at + domain))
                        uses |= UsesMailbox2;
                }
            }
            previewed[site.entry] += site.outcome == SiteResult::Outcome::Sent ? 1 : 0;
        }
    }
    int whole = 0;
    for (const RecipeBook::Row& row : RecipeBook::rows()) {
        SCOPED_TRACE(row.entry.id.toStdString());
        const unsigned wrote = found.value(row.entry.id);
        // What it wrote it declares; a row whose listing went whole declares nothing more.
        EXPECT_EQ(wrote & ~row.uses, 0u) << "undeclared " << (wrote & ~row.uses);
        if (previewed.value(row.entry.id) > 0) {
            ++whole;
            EXPECT_EQ(wrote, row.uses);
        }
    }
    EXPECT_GE(whole, 55);
}
