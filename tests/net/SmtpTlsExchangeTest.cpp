#include "net/MailErrors.h"
#include "net/NetworkWait.h"
#include "net/TmsMessage.h"
#include "net/TmsSMTP.h"

#include "support/AuthorityFixture.h"
#include "support/NetworkWatchdog.h"
#include "support/PeerProcess.h"
#include "support/TempBase.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString Password = QStringLiteral("s3cret pa\u00DFword");

struct SecureCase
{
    const char* name;
    QStringList peerOptions; // "{auth}" stands for the accepted log-in
    SmtpSecurity security;
    const char* user;
    bool rightPassword;
    bool trustAuthority;
    const char* error; // "" for a delivered message; "{server}" stands for host:port
    const char* commands; // "{H}" stands for the EHLO/HELO name
};

// Sessions against aiosmtpd with STARTTLS, implicit TLS and log-ins, certificates from a test
// authority. Whatever happens, the password never reaches the transcript, and after a refusal of
// TLS nothing but QUIT goes out.
class SmtpTls : public WithTestAuthority<::testing::TestWithParam<SecureCase>>
{
};

TEST_P(SmtpTls, Session)
{
    const SecureCase& c = GetParam();
    ASSERT_TRUE(s_authority->ready()) << s_authority->errors().toStdString();
    const NetworkWatchdog watchdog(60000);
    TempBase base;

    QStringList args{QStringLiteral("--record"), base.file(QStringLiteral("mail")), QStringLiteral("--lifetime"),
        QStringLiteral("60")};
    for (const QString& option : c.peerOptions) {
        if (option == QLatin1String("{tls}"))
            args << QStringLiteral("--tls") << s_authority->certFile(QStringLiteral("good"))
                 << s_authority->keyFile(QStringLiteral("good"));
        else
            args << (option == QLatin1String("{auth}") ? QStringLiteral("ann:") + Password : option);
    }
    PeerProcess peer(QStringLiteral("smtp_peer.py"), args);
    ASSERT_TRUE(peer.started()) << peer.errors().toStdString();

    TmsMessage message;
    message.Sender = {QStringLiteral("Ann Author"), QStringLiteral("ann@author.example")};
    message.Recipients.Add(QStringLiteral("submit@site.example"));
    message.setSubject(QStringLiteral("Submit Widget"));
    message.Body = QStringList{QStringLiteral("Hello"), QStringLiteral(".x")};
    TmsSMTP smtp;
    smtp.setWinsockLoaded(true);
    smtp.MailMessage = &message;
    smtp.Server = QStringLiteral("127.0.0.1:%1").arg(peer.port());
    smtp.Security = c.security;
    smtp.User = QString::fromLatin1(c.user);
    smtp.Password = c.rightPassword ? Password : QStringLiteral("wrong");
    smtp.CAFile = c.trustAuthority ? s_authority->caFile() : QString();
    smtp.LogFileName = base.file(QStringLiteral("transcript.log"));

    QString error;
    try {
        smtp.Send();
    } catch (const QuilletError& e) {
        error = e.message();
    }
    EXPECT_EQ(error, QString::fromUtf8(c.error).replace(QStringLiteral("{server}"), smtp.Server));
    const QByteArray commands = base.read(QStringLiteral("mail/commands.log"));
    EXPECT_EQ(commands, QByteArray(c.commands).replace("{H}", smtp.LocalHostName.toLatin1()));
    const bool delivered = QFile::exists(base.file(QStringLiteral("mail/0001.req")));
    EXPECT_EQ(delivered, *c.error == 0);
    if (delivered) {
        EXPECT_TRUE(base.read(QStringLiteral("mail/0001.req")).contains("\r\nHello\r\n.x\r\n"));
    }

    for (const QStringList& texts :
        {smtp.Transcript, QStringList{QString::fromLocal8Bit(base.read(QStringLiteral("transcript.log")))}}) {
        const QString all = texts.join(QLatin1Char('\n'));
        EXPECT_FALSE(all.contains(Password));
        EXPECT_FALSE(all.contains(QString::fromLatin1(Password.toUtf8().toBase64())));
        EXPECT_FALSE(all.contains(QString::fromLatin1((QByteArray("\0ann\0", 5) + Password.toUtf8()).toBase64())));
    }
}

#define LOGGED_IN(MECH) "EHLO {H}\r\nAUTH " MECH "\r\nLOGIN " MECH " accepted\r\n"

INSTANTIATE_TEST_SUITE_P(Secure, SmtpTls,
    ::testing::Values(
        SecureCase{"StartTlsThenPlainLogIn",
            {QStringLiteral("{tls}"), QStringLiteral("--require-starttls"), QStringLiteral("--auth"),
                QStringLiteral("{auth}")},
            SmtpSecurity::StartTls, "ann", true, true, "",
            "EHLO {H}\r\nSTARTTLS\r\n" LOGGED_IN("PLAIN") "MAIL FROM:<ann@author.example>\r\n"
                                                          "RCPT TO:<submit@site.example>\r\nDATA\r\nQUIT\r\n"},
        SecureCase{"OfferedStartTlsIsTakenAndLoginWorks",
            {QStringLiteral("{tls}"), QStringLiteral("--auth"), QStringLiteral("{auth}"),
                QStringLiteral("--no-auth-plain")},
            SmtpSecurity::None, "ann", true, true, "",
            "EHLO {H}\r\nSTARTTLS\r\n" LOGGED_IN("LOGIN") "MAIL FROM:<ann@author.example>\r\n"
                                                          "RCPT TO:<submit@site.example>\r\nDATA\r\nQUIT\r\n"},
        SecureCase{"RefusedLogInSendsNoMail",
            {QStringLiteral("{tls}"), QStringLiteral("--require-starttls"), QStringLiteral("--auth"),
                QStringLiteral("{auth}")},
            SmtpSecurity::StartTls, "ann", false, true, "535 5.7.8 Authentication credentials invalid",
            "EHLO {H}\r\nSTARTTLS\r\nEHLO {H}\r\nAUTH PLAIN\r\nLOGIN PLAIN refused\r\nQUIT\r\n"},
        SecureCase{"DemandedStartTlsMissingSendsNoPassword", {QStringLiteral("--auth"), QStringLiteral("{auth}")},
            SmtpSecurity::StartTls, "ann", true, true, "The server {server} does not offer STARTTLS; nothing was sent.",
            "EHLO {H}\r\nQUIT\r\n"},
        SecureCase{"UnknownAuthorityEndsTheSessionAtTheHandshake",
            {QStringLiteral("{tls}"), QStringLiteral("--auth"), QStringLiteral("{auth}")}, SmtpSecurity::StartTls,
            "ann", true, false,
            "Secure connection to 127.0.0.1 failed: the server's certificate comes from an unknown issuer.",
            "EHLO {H}\r\nSTARTTLS\r\n"},
        SecureCase{"ImplicitTls",
            {QStringLiteral("{tls}"), QStringLiteral("--implicit-tls"), QStringLiteral("--auth"),
                QStringLiteral("{auth}")},
            SmtpSecurity::Tls, "ann", true, true, "",
            LOGGED_IN("PLAIN") "MAIL FROM:<ann@author.example>\r\nRCPT TO:<submit@site.example>\r\nDATA\r\nQUIT\r\n"},
        SecureCase{"PlainServerAndNoSecurityKeepTheHeloExchange", {}, SmtpSecurity::None, "", true, true, "",
            "HELO {H}\r\nMAIL FROM:<ann@author.example>\r\nRCPT TO:<submit@site.example>\r\nDATA\r\nQUIT\r\n"}),
    [](const ::testing::TestParamInfo<SecureCase>& info) { return std::string(info.param.name); });

} // namespace
