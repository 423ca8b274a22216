#include "FakeRunWindow.h"
#include "submit/SubmissionRun.h"
#include "support/FakeDialogs.h"
#include "support/GivenMailboxes.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"
#include "support/TempBase.h"
#include "support/TestAuthority.h"

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// The same sites posted once to a plain peer and once to an HTTPS peer (a catalogue HOST of
// "https://127.0.0.1:port" with the test authority as CAFILE) send the same bytes.
TEST(HttpsSites, FormPostsArriveAsOverPlainHttp)
{
    TestAuthority authority;
    ASSERT_TRUE(authority.ready()) << authority.errors().toStdString();
    TempBase base;
    FakeDialogs dialogs;
    const QStringList boxes = {s("essennew"), s("sshakup"), s("warehousenewcb")};

    auto runAgainst
        = [&](const QByteArray& catalogue, const QString& folder, const QMap<QString, QByteArray>& siteLines = {}) {
              FakeRunWindow w;
              w.base = base.path();
              w.fillValidRecord();
              for (const QString& box : boxes)
                  w.checks[box] = true;
              base.write(s("cat/catalogue.dat"), catalogue + givenMailboxes(siteLines));
              EXPECT_EQ(w.submission.start(w, w.channels), SubmissionRun::Outcome::Completed);
              return std::make_pair(w.log, recordedRequests(base.file(folder)));
          };

    PeerProcess plain(s("http_peer.py"), {s("--record"), base.file(s("plain")), s("--lifetime"), s("60")});
    PeerProcess secure(s("http_peer.py"),
        {s("--record"), base.file(s("secure")), s("--tls"), authority.certFile(s("good")), authority.keyFile(s("good")),
            s("--lifetime"), s("60")});
    ASSERT_TRUE(plain.started() && secure.started());

    const auto [plainLog, plainRequests]
        = runAgainst("[ALL]\r\nHOST=127.0.0.1:" + QByteArray::number(plain.port()) + "\r\n", s("plain"));
    const auto [secureLog, secureRequests] = runAgainst("[ALL]\r\nHOST=https://127.0.0.1:"
            + QByteArray::number(secure.port()) + "\r\nCAFILE=" + authority.caFile().toUtf8() + "\r\n",
        s("secure"));
    EXPECT_EQ(secureLog, plainLog);
    ASSERT_EQ(plainRequests.size(), boxes.size());
    ASSERT_EQ(secureRequests.size(), boxes.size());
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE(i);
        // The same head but for the host each request names.
        const QByteArray plainHost = "\r\nHost: 127.0.0.1:" + QByteArray::number(plain.port());
        const QByteArray secureHost = "\r\nHost: 127.0.0.1:" + QByteArray::number(secure.port());
        ASSERT_TRUE(plainRequests[i].head.contains(plainHost + "\r\n"));
        EXPECT_EQ(QByteArray(secureRequests[i].head).replace(secureHost, plainHost), plainRequests[i].head);
        EXPECT_EQ(secureRequests[i].body, plainRequests[i].body);
    }

    // A site whose authority is unknown is logged with the reason, and the run goes on.
    const auto [log, none] = runAgainst("[ALL]\r\nHOST=https://127.0.0.1:" + QByteArray::number(secure.port())
            + "\r\nCAFILE=" + authority.caFile().toUtf8() + "\r\n",
        s("secure"), {{s("sshak"), "CAFILE=" + base.file(s("missing.pem")).toUtf8() + "\r\n"}});
    const QString refused
        = s("Software Shak: Error Posting - 310: The CA file %1 could not be read.").arg(base.file(s("missing.pem")));
    ASSERT_EQ(log.size(), plainLog.size());
    for (qsizetype i = 0; i < log.size(); ++i)
        EXPECT_EQ(log[i], plainLog[i].startsWith(s("Software Shak")) ? refused : plainLog[i]);
}

} // namespace
