// A record written on Windows (Windows-1252) is submitted in its own bytes and stays as it was.
#include "ProgramBase.h"
#include "core/TextEncoding.h"
#include "support/PeerProcess.h"
#include "support/RecordedRequests.h"

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

TEST(LegacyRecord, SitesReceiveTheRecordsBytesAndItsFilesKeepThem)
{
    TempBase base;
    PeerProcess peer(s("http_peer.py"), {s("--record"), base.file(s("received")), s("--lifetime"), s("60")});
    ASSERT_TRUE(peer.started()) << peer.errors().toStdString();
    base.write(s("cat/catalogue.dat"), catalogueForPeers(peer.port()));

    ProgramRecord record{s("Note\u00e9"), {}, {s("Caf\u00e9 notes \u20ac5")}, {s("lgnew")}};
    record.fields = {{s("conname"), s("Zo\u00eb")}, {s("conmail"), s("zoe@example.test")}, {s("char8name"), s("note")},
        {s("bytesize"), s("1000")}, {s("appurl"), s("http://example.test/")}};
    writeProgram(base, record);
    QMap<QString, QByteArray> legacy;
    for (const char* file : {"data/apps.dat", "data/Note\u00e9.dat", "data/Note\u00e9.lds"}) {
        legacy[s(file)] = encodeText(QString::fromUtf8(base.read(s(file))), TextEncoding::Windows1252);
        base.write(s(file), legacy[s(file)]);
    }

    const BatchResult result = runQuillet(base.path(), {s("--submit"), record.name});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QList<RecordedRequest> sent = recordedRequests(base.file(s("received")));
    ASSERT_EQ(sent.size(), 1);
    // The record's own bytes, form-encoded.
    EXPECT_TRUE(sent[0].body.contains("&realname=Zo%EB&")) << sent[0].body.constData();
    EXPECT_TRUE(sent[0].body.contains("&g=Caf%E9+notes+%805&")) << sent[0].body.constData();
    for (auto it = legacy.begin(); it != legacy.end(); ++it)
        EXPECT_EQ(base.read(it.key()), it.value()) << it.key().toStdString();
}

} // namespace
