// A message spooled in pieces reads back as the bytes written, from any position.
#include "net/MailSpool.h"

#include <gtest/gtest.h>

namespace {

TEST(MailSpool, ReadsBackTheBytesWrittenAndTakenFromAnyPosition)
{
    const QByteArray body = QByteArray("a long body line\r\n").repeated(500);
    MailSpool spool;
    spool.write("Subject: x\r\n");
    spool.write("\r\n");
    spool.appendShared(body);
    spool.appendShared(QByteArray());
    spool.write("-- \r\n");
    const QByteArray whole = "Subject: x\r\n\r\n" + body + "-- \r\n";
    EXPECT_EQ(spool.size(), whole.size());
    EXPECT_EQ(spool.pieces().size(), 3u);
    EXPECT_EQ(spool.pieces()[1].constData(), body.constData()); // taken, not copied
    EXPECT_FALSE(spool.taken(0));
    EXPECT_TRUE(spool.taken(1));
    EXPECT_FALSE(spool.taken(2)); // written after a taken piece: a piece of the spool's own
    for (const qint64 from : {qint64(0), qint64(5), qint64(14), qint64(9000), whole.size() - 3}) {
        ASSERT_TRUE(spool.seek(from));
        EXPECT_EQ(spool.read(40), whole.mid(from, 40)) << from;
    }
    ASSERT_TRUE(spool.seek(0));
    EXPECT_EQ(spool.readAll(), whole);
}

} // namespace
