// The file-archive sites through "quillet --submit" against real FTP and SMTP servers: the files
// generated in files/, what each upload host received, the announcement mail and the log lines.
#include "ProgramBase.h"
#include "support/PeerProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

QByteArray expected(const char* name)
{
    QFile f(QStringLiteral(QUILLET_TEST_DATA_DIR "/archive-sites/") + s(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing data file");
}

// Lines as one text, so that a failure shows them readably.
std::string text(const QStringList& lines)
{
    return lines.join(QLatin1Char('\n')).toStdString();
}

QStringList zipNames(const QString& archive)
{
    QProcess unzip;
    unzip.start(s("unzip"), {s("-Z1"), archive});
    unzip.waitForFinished(30000);
    return QString::fromUtf8(unzip.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Every file below a folder, as relative paths.
QStringList filesUnder(const QString& root)
{
    QStringList found;
    QDir dir(root);
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& f : filesUnder(dir.filePath(sub)))
            found.append(sub + QLatin1Char('/') + f);
    }
    found.append(dir.entryList(QDir::Files));
    found.sort();
    return found;
}

ProgramRecord jotIt(const QString& platforms, const QString& localpath, const QStringList& ticked)
{
    ProgramRecord r;
    r.name = s("Jot It");
    for (const auto& [k, v] : std::initializer_list<std::pair<const char*, const char*>>{{"compname", "Inkwell Works"},
             {"conname", "Ann Author"}, {"conmail", "ann@inkwell.example"}, {"pubpage", "http://inkwell.example/"},
             {"conaddr", "1 Quill Lane"}, {"concity", "Penton"}, {"constate", "NY"}, {"conzip", "10001"},
             {"concountry", "USA"}, {"conphone", "555-0100"}, {"char8name", "jotit32"}, {"filename", "jotit32.zip"},
             {"version", "3.2"}, {"day", "7"}, {"month", "3"}, {"year", "99"}, {"bytesize", "123456"},
             {"status", "Shareware"}, {"diststatus", "Author"}, {"installer", "Setup program"},
             {"appurl", "http://inkwell.example/jotit.html"}, {"dl1", "ftp://ftp.inkwell.example/jotit32.zip"},
             {"screenshot", "http://inkwell.example/shot.gif"}, {"shortdesc", "Notes in a stack"},
             {"simtelpd", "win95/desktop"}, {"winsitepd", "desktop/notes"}})
        r.fields[s(k)] = s(v);
    r.fields[s("platforms")] = platforms;
    r.fields[s("localpath")] = localpath;
    // The second line is longer than 71 characters: the archive sites wrap it.
    r.longdesc = {s("Jot It keeps notes in a stack."),
        s("It prints them, sorts them by date and by colour, and files them away for later.")};
    r.ticked = ticked;
    return r;
}

// One FTP upload host of the run.
struct Host
{
    const char* site;
    const char* user;
    const char* password;
    QStringList folders; // made in its root before the run
};

const Host Hosts[] = {
    {"simtel", "incoming", "vantiple", {}},
    {"winsite", "Anonymous", "ann@inkwell.example", {s("uploads/win95"), s("uploads/winnt")}},
    {"papa", "Anonymous", "ann@inkwell.example", {s("incoming")}},
};

class BatchArchive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        base.write(s("prog/jot.exe"), QByteArray("MZ program bytes ").repeated(300));
        base.write(s("prog/readme.1st"), "Read me first.\r\n");
        QProcess::execute(s("zip"), {s("-qjX"), base.file(s("prog/jot.zip")), base.file(s("prog/readme.1st"))});
        base.write(s("prog/JOT.ZIP"), base.read(s("prog/jot.zip")));

        smtp = std::make_unique<PeerProcess>(
            s("smtp_peer.py"), QStringList{s("--record"), base.file(s("mail")), s("--lifetime"), s("150")});
        ASSERT_TRUE(smtp->started()) << smtp->errors().toStdString();
        base.write(s("cat/settings.dat"), mailSettingsFor(smtp->port(), "ann@inkwell.example", "Ann Author"));
        QByteArray catalogue;
        for (const Host& h : Hosts) {
            const QString root = base.file(s("ftp-") + s(h.site));
            for (const QString& folder : h.folders)
                QDir().mkpath(root + QLatin1Char('/') + folder);
            auto peer = std::make_unique<PeerProcess>(s("ftp_peer.py"),
                QStringList{s("--root"), root, s("--record"), root + s(".log"), s("--user"), s(h.user), s("--password"),
                    s(h.password), s("--lifetime"), s("150")});
            ASSERT_TRUE(peer->started()) << peer->errors().toStdString();
            catalogue
                += "[" + QByteArray(h.site) + "]\r\nFTPHOST=127.0.0.1:" + QByteArray::number(peer->port()) + "\r\n";
            if (QByteArray(h.site) == "simtel")
                catalogue += "MAILBOX=announce@simtel.test\r\n";
            ftp.push_back(std::move(peer));
        }
        base.write(s("cat/catalogue.dat"), catalogue);
    }

    BatchResult submit(const QString& platforms, const char* program, const QStringList& ticked,
        const QStringList& options = {}, const QString& executable = {})
    {
        writeProgram(base, jotIt(platforms, base.file(s("prog/") + s(program)), ticked));
        return runQuillet(base.path(), QStringList{s("--submit"), s("Jot It")} + options, executable);
    }

    QString files(const char* name) const { return base.file(s("files/") + s(name)); }
    QStringList uploaded(const char* site) const { return filesUnder(base.file(s("ftp-") + s(site))); }
    QByteArray upload(const char* site, const char* path) const
    {
        return base.read(s("ftp-") + s(site) + QLatin1Char('/') + s(path));
    }
    QStringList mails() const { return QDir(base.file(s("mail"))).entryList({s("*.req")}, QDir::Files, QDir::Name); }

    TempBase base;
    std::unique_ptr<PeerProcess> smtp;
    std::vector<std::unique_ptr<PeerProcess>> ftp;
};

// The log lines each site writes, with the generated files' paths filled in.
QStringList expand(const QStringList& lines, const TempBase& base)
{
    QStringList out;
    for (QString line : lines)
        out.append(line.replace(s("{files}"), base.file(s("files"))));
    return out;
}

const QStringList SimtelMade = {s("Simtel: Saved {files}/jotit32.txt"), s("Simtel: Zipped files\\jotit32.zip")};
const QStringList SimtelSent = {s("Simtel: Uploaded jotit32.zip to FTP"), s("Simtel: E-Mailed Upload Announcement")};

TEST_F(BatchArchive, SimtelForEachPlatformBranchAndProgramFile)
{
    struct Case
    {
        const char* platforms;
        const char* program;
        QStringList entries; // of the generated archive
        bool sent; // uploaded and announced
    };
    const Case cases[] = {
        {"Windows 95", "jot.exe", {s("jot.exe"), s("jotit32.txt")}, true},
        // A program zip is copied and gets the description; an upper-case ".ZIP" is not a zip here.
        {"Windows 95 and NT", "jot.zip", {s("readme.1st"), s("jotit32.txt")}, true},
        {"Windows 95", "JOT.ZIP", {s("JOT.ZIP"), s("jotit32.txt")}, true},
        {"Windows NT", "jot.exe", {s("jot.exe"), s("jotit32.txt")}, false},
    };
    int mailCount = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.platforms) + " " + c.program);
        QFile::remove(files("jotit32.zip"));
        QFile::remove(base.file(s("ftp-simtel/jotit32.zip")));
        const BatchResult r = submit(s(c.platforms), c.program, {s("simtelnewcb")});
        // A site that was sent nothing counts as refused.
        EXPECT_EQ(r.exitCode, c.sent ? 0 : 3) << r.err.toStdString();
        EXPECT_EQ(text(r.out), text(expand(c.sent ? SimtelMade + SimtelSent : SimtelMade, base)));
        EXPECT_EQ(zipNames(files("jotit32.zip")), c.entries);
        EXPECT_EQ(base.read(s("files/jotit32.txt")), expected("jotit32-simtel.txt"));
        if (c.sent) {
            ++mailCount;
            EXPECT_EQ(upload("simtel", "jotit32.zip"), base.read(s("files/jotit32.zip")));
        } else {
            EXPECT_EQ(uploaded("simtel"), QStringList());
        }
        EXPECT_EQ(mails().size(), mailCount);
    }

    // The announcement, its headers aside, byte for byte (specreq is no part of the record: its box
    // keeps "None"). The mail session ends every message with an empty line before its dot.
    QFile mail(base.file(s("mail/") + mails().first()));
    ASSERT_TRUE(mail.open(QIODevice::ReadOnly));
    const QByteArray message = mail.readAll();
    EXPECT_TRUE(message.startsWith("X-Envelope-From: ann@inkwell.example\r\nX-Envelope-To: announce@simtel.test\r\n"));
    EXPECT_TRUE(message.contains("\r\nSubject:  jotit32.zip     Notes in a stack\r\n")) << message.toStdString();
    const qsizetype body = message.indexOf("\r\n\r\n");
    EXPECT_EQ(message.mid(body + 4).toStdString(), (expected("announcement.txt") + "\r\n").toStdString());
}

TEST_F(BatchArchive, WinsiteForEachPlatformBranch)
{
    struct Case
    {
        const char* platforms;
        const char* folder; // where both files go, or none
    };
    const Case cases[] = {
        {"Windows 95", "uploads/win95"},
        {"Windows 95 and NT", "uploads/win95"},
        {"Windows NT", "uploads/winnt"},
        {"Windows 3.1", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platforms);
        QFile::remove(files("jotit32.zip"));
        for (const QString& f : uploaded("winsite"))
            QFile::remove(base.file(s("ftp-winsite/") + f));
        const BatchResult r = submit(s(c.platforms), "jot.zip", {s("winsitenewcb")});
        EXPECT_EQ(r.exitCode, c.folder ? 0 : 3) << r.err.toStdString();
        QStringList log = {s("Winsite: Saved {files}/jotit32.tml"), s("Winsite: Saved {files}/jotit32.txt")};
        if (c.folder)
            log << s("Winsite: Uploaded {files}/jotit32.tml to FTP") << s("Winsite: Uploaded jotit32.zip to FTP");
        EXPECT_EQ(text(r.out), text(expand(log, base)));
        // winsite's own archive holds the program's file as it is, zip or not.
        EXPECT_EQ(zipNames(files("jotit32.zip")), (QStringList{s("jot.zip"), s("jotit32.txt")}));
        EXPECT_EQ(base.read(s("files/jotit32.txt")), expected("jotit32-winsite.txt"));
        if (!c.folder) {
            EXPECT_EQ(uploaded("winsite"), QStringList());
            continue;
        }
        const QString folder = s(c.folder) + QLatin1Char('/');
        EXPECT_EQ(uploaded("winsite"), (QStringList{folder + s("jotit32.tml"), folder + s("jotit32.zip")}));
        EXPECT_EQ(base.read(s("ftp-winsite/") + folder + s("jotit32.tml")), base.read(s("files/jotit32.tml")));
        // The program's own file goes up, not the generated archive.
        EXPECT_EQ(base.read(s("ftp-winsite/") + folder + s("jotit32.zip")), base.read(s("prog/jot.zip")));
    }
    EXPECT_EQ(base.read(s("files/jotit32.tml")), expected("jotit32-win31.tml"));
}

TEST_F(BatchArchive, PapaForEachProgramFileAndAfterSimtel)
{
    struct Case
    {
        const char* program;
        QStringList ticked;
        QStringList entries;
    };
    const Case cases[] = {
        {"jot.exe", {s("papanew")}, {s("jot.exe"), s("jotit32.txt")}},
        {"jot.zip", {s("papaup")}, {s("readme.1st"), s("jotit32.txt")}},
        {"JOT.ZIP", {s("papanew")}, {s("JOT.ZIP"), s("jotit32.txt")}},
        // simtel's archive is uploaded here unchanged.
        {"jot.exe", {s("simtelnewcb"), s("papanew")}, {s("jot.exe"), s("jotit32.txt")}},
    };
    const QStringList papaLog = {s("Papa WinSock-L FTP Archive: Saved {files}/jotit32.txt"),
        s("Papa WinSock-L FTP Archive: Zipped files\\jotit32.zip"),
        s("Papa WinSock-L FTP Archive: Uploaded jotit32.zip to FTP"),
        s("Papa WinSock-L FTP Archive: Uploaded jotit32.txt to FTP")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ticked.join(QLatin1Char(' ')).toStdString() + " " + c.program);
        QFile::remove(files("jotit32.zip"));
        const BatchResult r = submit(s("Windows 95"), c.program, c.ticked);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const bool withSimtel = c.ticked.contains(s("simtelnewcb"));
        EXPECT_EQ(text(r.out), text(expand(withSimtel ? SimtelMade + SimtelSent + papaLog : papaLog, base)));
        EXPECT_EQ(zipNames(files("jotit32.zip")), c.entries);
        EXPECT_EQ(uploaded("papa"), (QStringList{s("incoming/jotit32.txt"), s("incoming/jotit32.zip")}));
        EXPECT_EQ(upload("papa", "incoming/jotit32.zip"), base.read(s("files/jotit32.zip")));
        EXPECT_EQ(upload("papa", "incoming/jotit32.txt"), expected("jotit32-simtel.txt"));
        if (withSimtel) {
            EXPECT_EQ(upload("simtel", "jotit32.zip"), upload("papa", "incoming/jotit32.zip"));
        }
    }
}

// An archive left damaged or empty in files/ is not uploaded: the site fails naming it and the file
// stays for the user to look at. A killed run's temporary archives are gone after the next start.
TEST_F(BatchArchive, DamagedArchiveIsNotSentAndStaleTemporariesGo)
{
    for (const QByteArray& archive : {QByteArray("PK\x03\x04 cut short"), QByteArray()}) {
        SCOPED_TRACE(archive.size());
        base.write(s("files/jotit32.zip"), archive);
        base.write(s("files/.partial-jotit32.zip"), "half a copy");
        base.write(s("files/jotit32.zip.Ab12Cd"), "half an archive");
        const BatchResult r = submit(s("Windows 95"), "jot.exe", {s("papanew")});
        EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
        const QString failure = s("Papa WinSock-L FTP Archive: There was an FTP error: The archive ")
            + files("jotit32.zip") + s(" is damaged");
        EXPECT_EQ(r.out.filter(failure).size(), 1) << text(r.out);
        EXPECT_EQ(uploaded("papa"), QStringList{s("incoming/jotit32.txt")});
        EXPECT_EQ(base.read(s("files/jotit32.zip")), archive);
        EXPECT_FALSE(QFile::exists(files(".partial-jotit32.zip")));
        EXPECT_FALSE(QFile::exists(files("jotit32.zip.Ab12Cd")));
    }
}

TEST_F(BatchArchive, SimtelAndWinsiteShareTheArchive)
{
    const BatchResult r = submit(s("Windows 95"), "jot.exe", {s("simtelnewcb"), s("winsitecb")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
        expand(SimtelMade + SimtelSent
                + QStringList{s("Winsite: Saved {files}/jotit32.tml"),
                    s("Winsite: Uploaded {files}/jotit32.tml to FTP"), s("Winsite: Uploaded jotit32.zip to FTP")},
            base));
    // winsite found simtel's archive and wrote no description of its own.
    EXPECT_EQ(base.read(s("files/jotit32.txt")), expected("jotit32-simtel.txt"));
    EXPECT_EQ(zipNames(files("jotit32.zip")), (QStringList{s("jot.exe"), s("jotit32.txt")}));
    EXPECT_EQ(upload("winsite", "uploads/win95/jotit32.zip"), base.read(s("prog/jot.exe")));
}

TEST_F(BatchArchive, FailuresBecomeLogLinesOrEndTheRun)
{
    // No FTP server for papa: both upload lines report the failure, and the run completes.
    base.write(s("cat/catalogue.dat"), "[papa]\r\nFTPHOST=127.0.0.1:1\r\n");
    BatchResult r = submit(s("Windows 95"), "jot.exe", {s("papanew")});
    // The run completes with the site failed.
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    ASSERT_EQ(r.out.size(), 4);
    EXPECT_TRUE(r.out[2].startsWith(s("Papa WinSock-L FTP Archive: There was an FTP error: ")))
        << r.out[2].toStdString();
    EXPECT_TRUE(r.out[3].startsWith(s("Papa WinSock-L FTP Archive: There may have been an error: ")))
        << r.out[3].toStdString();

    // No files folder: the description file cannot be written and the run ends with that error.
    base.write(s("cat/catalogue.dat"), "[simtel]\r\nFTPHOST=127.0.0.1:1\r\nMAILBOX=announce@simtel.test\r\n");
    QDir(base.file(s("files"))).removeRecursively();
    r = submit(s("Windows 95"), "jot.exe", {s("simtelnewcb")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(text(r.out), text(QStringList()));
    EXPECT_TRUE(r.err.contains(s("Cannot create file ") + base.file(s("files/jotit32.txt")))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(base.file(s("files"))));
}

TEST_F(BatchArchive, WithoutTheZipLibraryTheSiteFailsAndSendsNothing)
{
    // A copy of the program with no zip library beside it or on its library path.
    const QString lonely = base.file(s("bin/quillet"));
    QDir().mkpath(base.file(s("bin")));
    ASSERT_TRUE(QFile::copy(s(QUILLET_BINARY_DIR "/quillet"), lonely));
    QFile(lonely).setPermissions(QFile::permissions(lonely) | QFileDevice::ExeOwner);

    struct Case
    {
        QStringList ticked;
        QByteArray stale; // an archive an earlier run left, or none
        QStringList log;
    };
    const QString missing = s(": Error Zipping - libqzip.so not found");
    const Case cases[] = {
        {{s("simtelnewcb"), s("winsitenewcb"), s("papanew")}, {},
            {s("Simtel: Saved {files}/jotit32.txt"), s("Simtel") + missing, s("Winsite: Saved {files}/jotit32.tml"),
                s("Winsite: Saved {files}/jotit32.txt"), s("Winsite") + missing,
                s("Papa WinSock-L FTP Archive: Saved {files}/jotit32.txt"), s("Papa WinSock-L FTP Archive") + missing}},
        // simtel always builds afresh: the archive of an earlier run is neither uploaded nor announced.
        {{s("simtelnewcb")}, "an earlier run's archive",
            {s("Simtel: Saved {files}/jotit32.txt"), s("Simtel") + missing}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ticked.join(QLatin1Char(' ')).toStdString());
        QFile::remove(files("jotit32.zip"));
        if (!c.stale.isEmpty())
            base.write(s("files/jotit32.zip"), c.stale);
        const BatchResult r
            = submit(s("Windows 95"), "jot.exe", c.ticked, {s("--report"), base.file(s("report.json"))}, lonely);
        EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
        EXPECT_EQ(text(r.out), text(expand(c.log, base)));
        for (const Host& h : Hosts)
            EXPECT_EQ(uploaded(h.site), QStringList()) << h.site;
        EXPECT_EQ(mails(), QStringList());
        EXPECT_EQ(QFile::exists(files("jotit32.zip")), !c.stale.isEmpty());

        // The report names the zip step as each site's failure.
        const QJsonArray sites
            = QJsonDocument::fromJson(base.read(s("report.json"))).object().value(s("sites")).toArray();
        ASSERT_EQ(sites.size(), c.ticked.size());
        for (const QJsonValue& site : sites) {
            EXPECT_EQ(site[s("outcome")].toString(), s("failed"));
            EXPECT_EQ(site[s("step")].toString(), s("zip archive"));
            EXPECT_TRUE(site[s("detail")].toString().endsWith(missing));
        }
    }
}

} // namespace
