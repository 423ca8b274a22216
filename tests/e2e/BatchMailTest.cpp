// E-mail sites through "quillet --submit" against the recording SMTP server.
#include "ProgramBase.h"
#include "support/GivenMailboxes.h"
#include "support/PeerProcess.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

ProgramRecord mailer()
{
    ProgramRecord r;
    r.name = s("Mailer");
    for (const auto& [k, v] : std::initializer_list<std::pair<const char*, const char*>>{{"compname", "Demo Soft"},
             {"conname", "Ann Author"}, {"conmail", "ann@demo.example"}, {"char8name", "mailer10"},
             {"filename", "mailer10.zip"}, {"version", "1.0"}, {"day", "4"}, {"month", "7"}, {"year", "99"},
             {"bytesize", "1500000"}, {"shortdesc", "Sends mail"}, {"wattackpd", "Misc.Non Web related Tools"}})
        r.fields[s(k)] = s(v);
    r.longdesc = {s("First line."), s(".hidden? no: kept"), s(".")};
    r.ticked = {s("galtnew"), s("wattacknew"), s("gwsup")};
    return r;
}

} // namespace

TEST(BatchMail, EMailSitesReachTheServerAndNoServerIsSaid)
{
    TempBase base;
    writeProgram(base, mailer());
    PeerProcess peer(s("smtp_peer.py"), {s("--record"), base.file(s("mail")), s("--lifetime"), s("90")});
    ASSERT_TRUE(peer.started()) << peer.errors().toStdString();
    base.write(s("cat/settings.dat"), mailSettingsFor(peer.port(), "ann@demo.example", "Ann"));
    base.write(s("cat/catalogue.dat"), givenMailboxes());

    BatchResult r = runQuillet(base.path(), {s("--submit"), s("Mailer")});
    // Web Attack turns the category down: the run completes with a site not sent.
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    EXPECT_EQ(r.out,
        (QStringList{s("Galt Shareware Zone: E-Mailed"), s("Great Windows Software: E-Mailed"),
            s("Web Attack only allows web-releated apps.  Not Sent.")}));
    QDir dir(base.file(s("mail")));
    const QStringList files = dir.entryList({s("*.req")}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 2);
    QFile first(dir.filePath(files[0]));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray message = first.readAll();
    EXPECT_TRUE(message.startsWith("X-Envelope-From: ann@demo.example\r\nX-Envelope-To: submit@galt.example\r\n"));
    // Lines beginning with "." arrive as written.
    EXPECT_TRUE(message.contains("\r\nLong Description:\r\nFirst line.\r\n.hidden? no: kept\r\n.\r\n\r\nNotes"))
        << message.toStdString();

    // No server: batch mode cannot ask and says so; each mail site fails with the client's error
    // and the run completes.
    base.write(s("cat/settings.dat"), "[SETTINGS]\r\nEMAIL=ann@demo.example\r\n");
    r = runQuillet(base.path(), {s("--submit"), s("Mailer")});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.out,
        (QStringList{s("Galt Shareware Zone: Error sending mail - Server property is required"),
            s("Great Windows Software: Error sending mail - Server property is required"),
            s("Web Attack only allows web-releated apps.  Not Sent.")}));
    EXPECT_TRUE(r.err.contains(s("No SMTP server is set"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(s("Mailer: 0 sent, 2 failed, 0 skipped, 1 refused"))) << r.err.toStdString();
}
