#include "net/MailBodyLines.h"
#include "net/TmsMessage.h"

#include "support/TempBase.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray dataFile(const QString& name)
{
    QFile file(QStringLiteral(QUILLET_TEST_DATA_DIR "/mail/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing ") + name.toUtf8();
}

// The encoded message with every boundary (eight digits 0-8) replaced by B1, B2 ... in order.
QByteArray encoded(const TmsMessage& message)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    message.Encode(buffer);
    QString text = QString::fromLatin1(buffer.data());
    static const QRegularExpression boundary(QStringLiteral("\\b[0-8]{8}\\b"));
    QStringList seen;
    for (const auto& match : boundary.globalMatch(text))
        if (!seen.contains(match.captured()))
            seen << match.captured();
    for (int i = 0; i < seen.size(); ++i)
        text.replace(seen[i], QStringLiteral("B%1").arg(i + 1));
    return text.toLatin1();
}

// A message that says when it was written and which it is, so its bytes can be compared.
void fixDateAndId(TmsMessage& m)
{
    m.Date = QDateTime(QDate(2026, 12, 7), QTime(11, 58, 2), QTimeZone(3600));
    m.MessageId = QStringLiteral("<20261207115802.1@author.example>");
}

} // namespace

// Each body form against its expected bytes (tests/data/mail).
TEST(MessageEncoder, BodyFormsAsExpectedBytes)
{
    TempBase base;
    base.write(QStringLiteral("notes.txt"), "line one\r\n.\r\nline=two\r\n");
    base.write(QStringLiteral("blob.qqq"), QByteArray(60, '\x01'));
    base.write(QStringLiteral("_alt.txt"), "plain\r\n");
    base.write(QStringLiteral("_alt.htm"), "<p>html</p>\r\n");

    auto basic = [] {
        TmsMessage m;
        m.Sender = {QStringLiteral("A. Author"), QStringLiteral("a@author.example")};
        m.Recipients.Add(QStringLiteral("one@site.example"), QStringLiteral("Site One"));
        m.setSubject(QStringLiteral("Submit Widget"));
        m.Body = QStringList{QStringLiteral("Hello"), QStringLiteral("two\r\nlines")};
        fixDateAndId(m);
        return m;
    };
    struct Case
    {
        const char* file;
        std::function<void(TmsMessage&)> setUp;
    };
    const QList<Case> cases{
        {"headers.eml",
            [](TmsMessage& m) {
                m.Recipients.Add(QStringLiteral("two@site.example"));
                m.Recipients.Add(QStringLiteral("three@site.example"), QStringLiteral("Mr. Three"));
                m.CC.Add(QStringLiteral("cc@site.example"), QStringLiteral("\"Q. Uoted\""));
                m.BCC.Add(QStringLiteral("hidden@site.example"));
                m.ReturnReceipt = true;
                m.Priority = ptHigh;
                m.Headers = QStringList{QStringLiteral("X-Mailer: Quillet"), QStringLiteral("Subject: dropped"),
                    QStringLiteral("content-type: dropped"), QStringLiteral("X-Second: kept")};
            }},
        {"longline.eml",
            [](TmsMessage& m) {
                m.Body << QString(150, QLatin1Char('a')) + QStringLiteral(" = ") + QString(147, QLatin1Char('b'));
            }},
        {"latin1.eml",
            [](TmsMessage& m) {
                m.CharSet = csISO8859;
                m.Priority = ptLow;
                m.Body << QStringLiteral("caf\u00e9");
            }},
        {"mixed.eml",
            [&](TmsMessage& m) {
                m.attachments().AddFile(base.file(QStringLiteral("notes.txt")));
                m.attachments().AddFile(base.file(QStringLiteral("blob.qqq")));
            }},
        {"nested.eml",
            [&](TmsMessage& m) {
                m.attachments().AddFile(base.file(QStringLiteral("_alt.txt")));
                m.attachments().AddFile(base.file(QStringLiteral("_alt.htm")));
                m.attachments().AddFile(base.file(QStringLiteral("blob.qqq")));
            }},
        {"alternative.eml",
            [&](TmsMessage& m) {
                m.Body.clear();
                m.attachments().AddFile(base.file(QStringLiteral("_alt.txt")));
                m.attachments().AddFile(base.file(QStringLiteral("_alt.htm")));
            }},
        {"single.eml",
            [&](TmsMessage& m) {
                m.Body.clear();
                m.attachments().AddFile(base.file(QStringLiteral("blob.qqq")));
            }},
        {"html.eml", [](TmsMessage& m) { m.setContentType(QStringLiteral("TEXT/HTML")); }},
        {"uu.eml",
            [&](TmsMessage& m) {
                m.Encoding = meUU;
                m.attachments().AddFile(base.file(QStringLiteral("blob.qqq")));
            }},
    };
    for (const Case& c : cases) {
        TmsMessage m = basic();
        c.setUp(m);
        EXPECT_EQ(encoded(m), dataFile(QString::fromLatin1(c.file))) << c.file;
        if (qEnvironmentVariableIsSet("QUILLET_WRITE_EXPECTED")) {
            QFile out(QStringLiteral(QUILLET_TEST_DATA_DIR "/mail/") + QString::fromLatin1(c.file));
            if (out.open(QIODevice::WriteOnly))
                out.write(encoded(m));
        }
    }
}

TEST(MessageEncoder, ContentTypesAndEmptyNames)
{
    EXPECT_EQ(TmsAttItem::contentTypeFor(QStringLiteral("x.qqqzz")), QStringLiteral("application/octet-stream"));
    EXPECT_EQ(TmsAttItem::contentTypeFor(QStringLiteral("x.txt")), QStringLiteral("text/plain"));
    EXPECT_EQ(TmsAttItem::encodingFor(QStringLiteral("Text/Html")), int(teQuotedPrintable));
    EXPECT_EQ(TmsAttItem::encodingFor(QStringLiteral("message/rfc822")), int(te7bit));
    EXPECT_EQ(TmsAttItem::encodingFor(QStringLiteral("image/png")), int(teBase64));

    TmsMessage m;
    m.Sender.Address = QStringLiteral("a@b.example");
    m.Recipients.Add(QStringLiteral("c@d.example"));
    fixDateAndId(m);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    m.Encode(buffer);
    EXPECT_EQ(buffer.data(),
        QByteArray("From:      <a@b.example>\r\nTo:        <c@d.example>\r\nMime-Version: 1.0\r\n"
                   "Date: Mon, 07 Dec 2026 11:58:02 +0100\r\nMessage-ID: <20261207115802.1@author.example>\r\n"
                   "Content-Type: text/plain; charset=\"us-ascii\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"));
}

// A body kept from an earlier message is reused only for the same entries in the same character
// set: each message, encoded after the others, gives the bytes of its first encoding.
TEST(MessageEncoder, KeptBodyOnlyForTheSameEntriesAndCharSet)
{
    const QStringList listing{QStringLiteral("Application Name: NoteStack"), QString(),
        QStringLiteral("Long Description:"), QString(300, QLatin1Char('x')), QStringLiteral("caf\u00e9")};
    QStringList lastLineChanged = listing;
    lastLineChanged.last() = QStringLiteral("cafe");
    // A long description between each site's own lines, as every mail of a run holds it.
    const QString description = QStringLiteral("caf\u00e9 line\n").repeated(600) + QString(300, QLatin1Char('y'));
    const QStringList siteA{QStringLiteral("To site A"), description, QStringLiteral("A ends")};
    const QStringList siteB{QStringLiteral("To site B:"), QString(), description, QStringLiteral("B")};
    struct Case
    {
        const char* name;
        QStringList body;
        TmsCharSet charSet;
    };
    const Case cases[] = {
        {"listing", listing, csUSASCII},
        {"listing in ISO 8859-1", listing, csISO8859},
        {"last line changed", lastLineChanged, csUSASCII},
        {"short lines", {QStringLiteral("one"), QStringLiteral("two\nthree")}, csUSASCII},
        {"short lines in ISO 8859-1", {QStringLiteral("one"), QStringLiteral("two\nthree")}, csISO8859},
        {"description for site A", siteA, csUSASCII},
        {"description for site B", siteB, csUSASCII},
        {"description for site A in ISO 8859-1", siteA, csISO8859},
        {"description for site B", siteB, csUSASCII},
    };
    auto message = [](const Case& c) {
        TmsMessage m;
        m.Sender.Address = QStringLiteral("a@author.example");
        m.Recipients.Add(QStringLiteral("submit@site.example"));
        m.CharSet = c.charSet;
        m.Body = c.body;
        fixDateAndId(m);
        return m;
    };
    std::vector<QByteArray> first;
    for (const Case& c : cases) {
        MailBodyLines::forgetKept();
        first.push_back(encoded(message(c)));
    }
    MailBodyLines::forgetKept();
    for (int round = 0; round < 2; ++round)
        for (std::size_t i = 0; i < std::size(cases); ++i)
            EXPECT_EQ(encoded(message(cases[i])), first[i]) << cases[i].name << ", round " << round;
}

// Two bodies around the same long entry hold one copy of its lines, as they are and quoted.
TEST(MessageEncoder, LongEntrySharedBetweenBodies)
{
    MailBodyLines::forgetKept();
    const QString description = QStringLiteral("caf\u00e9 line\r\n").repeated(600);
    const MailBodyLines a({QStringLiteral("To site A"), description, QStringLiteral("A ends")}, false);
    const MailBodyLines b({QStringLiteral("To site B"), QString(), description}, false);
    for (const bool quoted : {false, true}) {
        const std::vector<QByteArray> piecesA = a.pieces(quoted);
        const std::vector<QByteArray> piecesB = b.pieces(quoted);
        ASSERT_EQ(piecesA.size(), 3u);
        ASSERT_EQ(piecesB.size(), 2u);
        EXPECT_EQ(piecesA[1].constData(), piecesB[1].constData()) << quoted;
    }
    EXPECT_TRUE(a.eightBit());
    EXPECT_EQ(b.encoded(false),
        QByteArray("To site B\r\n\r\n") + QStringLiteral("caf\u00e9 line\r\n").repeated(600).toUtf8());
}
