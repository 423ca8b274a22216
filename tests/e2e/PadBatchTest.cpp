// PAD import and export and the listing check, through the program's command line: records are
// written the way the window writes them, a damaged or unwanted import changes nothing, a PAD
// file is fetched over HTTP and HTTPS through a redirect, and an export is well-formed XML that
// imports back into the same record.
#include "ProgramBase.h"
#include "support/AuthorityFixture.h"
#include "support/PeerProcess.h"
#include "support/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

QString padFile(const char* name)
{
    return s(QUILLET_TEST_DATA_DIR "/pad/") + s(name);
}

// The stored files of the data folder, by name.
QMap<QString, QByteArray> dataFiles(const TempBase& base)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(base.file(s("data"))).entryList(QDir::Files))
        files.insert(name, base.read(s("data/") + name));
    return files;
}

BatchResult importPad(const TempBase& base, const QString& source, bool force = false)
{
    QStringList args{s("--import-pad"), source};
    if (force)
        args.append(s("--force"));
    return runQuillet(base.path(), args);
}

TEST(PadBatch, ImportWritesTheRecordsAndAnExportImportsBackIntoTheSameRecord)
{
    TempBase base;
    const BatchResult imported = importPad(base, padFile("v4.xml"));
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.first().startsWith(s("Created \"Zip Go\"")))
        << imported.out.join(QLatin1Char('\n')).toStdString();
    const QByteArray record = base.read(s("data/Zip Go.dat"));
    for (const char* line : {"VERSION=2.1\r\n", "8CHAR=zipgo21\r\n", "YEAR=99\r\n", "PLATFORM=Windows 95 and NT\r\n",
             "STATUS=Shareware\r\n", "CONAME=Brightfen Software\r\n", "DL3=ftp://... or http://...\r\n"})
        EXPECT_TRUE(record.contains(line)) << line;
    EXPECT_EQ(base.read(s("data/Zip Go.lds")), "Zip Go packs files fast.\r\nIt unpacks them too.\r\n");
    EXPECT_TRUE(base.read(s("data/Brightfen Software.dat")).contains("CCMAIL=info@brightfen.example\r\n"));

    const BatchResult exported = runQuillet(base.path(), {s("--export-pad"), s("Zip Go"), base.file(s("out.xml"))});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QString xmllint = QStandardPaths::findExecutable(s("xmllint"));
    ASSERT_FALSE(xmllint.isEmpty()) << "xmllint (libxml2-utils) is missing";
    EXPECT_EQ(QProcess::execute(xmllint, {s("--noout"), base.file(s("out.xml"))}), 0);

    TempBase again;
    ASSERT_EQ(importPad(again, base.file(s("out.xml"))).exitCode, 0);
    EXPECT_EQ(dataFiles(again), dataFiles(base));
}

TEST(PadBatch, AnExistingRecordChangesOnlyWithForceAndADamagedFileChangesNothing)
{
    TempBase base;
    ASSERT_EQ(importPad(base, padFile("v4.xml")).exitCode, 0);
    // A field the format does not hold, set by the author.
    QByteArray record = base.read(s("data/Zip Go.dat"));
    record.replace("INSTSIZE=\r\n", "INSTSIZE=2400000\r\n");
    base.write(s("data/Zip Go.dat"), record);
    QFile v4(padFile("v4.xml"));
    ASSERT_TRUE(v4.open(QIODevice::ReadOnly));
    const QByteArray newer = v4.readAll().replace("<Program_Version>2.1<", "<Program_Version>2.2<");
    base.write(s("newer.xml"), newer);
    const QMap<QString, QByteArray> before = dataFiles(base);

    for (const char* damaged : {"damaged.xml", "not-pad.xml"}) {
        const BatchResult r = importPad(base, padFile(damaged), true);
        EXPECT_EQ(r.exitCode, 1) << damaged;
        EXPECT_EQ(r.err.trimmed().count(QLatin1Char('\n')), 0) << r.err.toStdString();
    }
    EXPECT_EQ(importPad(base, padFile("v4.xml")).exitCode, 0) << "the same values change nothing";
    const BatchResult refused = importPad(base, base.file(s("newer.xml")));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(s("--force"))) << refused.err.toStdString();
    EXPECT_EQ(dataFiles(base), before);

    ASSERT_EQ(importPad(base, base.file(s("newer.xml")), true).exitCode, 0);
    record = base.read(s("data/Zip Go.dat"));
    EXPECT_TRUE(record.contains("VERSION=2.2\r\n"));
    EXPECT_TRUE(record.contains("INSTSIZE=2400000\r\n"));
}

class PadOverHttp : public WithTestAuthority<>
{
};

TEST_F(PadOverHttp, ImportFollowsARedirectOverHttpAndHttps)
{
    ASSERT_TRUE(s_authority->ready()) << s_authority->errors().toStdString();
    for (const bool secure : {false, true}) {
        SCOPED_TRACE(secure ? "https" : "http");
        TempBase base;
        QStringList args{s("--record"), base.file(s("received")), s("--lifetime"), s("60"), s("--serve"),
            s("/pad/zipgo.xml=") + padFile("v4.xml"), s("--redirect"), s("/zipgo.xml=/pad/zipgo.xml")};
        if (secure)
            args << s("--tls") << s_authority->certFile(s("good")) << s_authority->keyFile(s("good"));
        PeerProcess peer(s("http_peer.py"), args);
        ASSERT_TRUE(peer.started()) << peer.errors().toStdString();
        base.write(s("cat/catalogue.dat"), "[ALL]\r\nCAFILE=" + s_authority->caFile().toUtf8() + "\r\n");
        const QString url = (secure ? s("https") : s("http")) + s("://127.0.0.1:%1/zipgo.xml").arg(peer.port());
        const BatchResult r = importPad(base, url);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(base.read(s("data/Zip Go.dat")).contains("VERSION=2.1\r\n"));
    }
}

// The demo program of sample/, copied: its e-mail sites need the mail settings it lacks.
TEST(ListingCheckBatch, ExitStatusSaysWhetherTheListingHasErrorsAndSubmitStopsOnThem)
{
    TempBase base;
    for (const char* folder : {"data", "cat", "demo"}) {
        const QDir from(s(QUILLET_SOURCE_DIR "/sample/") + s(folder));
        QDir().mkpath(base.file(s(folder)));
        for (const QString& name : from.entryList(QDir::Files))
            QFile::copy(from.filePath(name), base.file(s(folder) + QLatin1Char('/') + name));
    }
    const BatchResult errors = runQuillet(base.path(), {s("--check"), s("NoteStack")});
    EXPECT_EQ(errors.exitCode, 5);
    EXPECT_TRUE(errors.err.contains(s("error: smtpedit: no mail server"))) << errors.err.toStdString();
    EXPECT_TRUE(errors.err.contains(s("warning: dl3: still holds the hint text")));

    const BatchResult refused
        = runQuilletAsTyped(base.path(), {s("--submit"), s("NoteStack"), s("--dry-run"), s("preview")});
    EXPECT_EQ(refused.exitCode, 5);
    EXPECT_FALSE(QFileInfo::exists(base.file(s("preview/http"))));

    base.write(s("cat/settings.dat"), mailSettingsFor(2525, "dana@larkspur.example", "Dana"));
    const BatchResult warnings = runQuillet(base.path(), {s("--check"), s("NoteStack")});
    EXPECT_EQ(warnings.exitCode, 4) << warnings.err.toStdString();
    EXPECT_EQ(runQuillet(base.path(), {s("--check"), s("Nobody")}).exitCode, 2);
}

} // namespace
