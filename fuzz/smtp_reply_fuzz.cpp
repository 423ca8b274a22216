// Feeds arbitrary server bytes, cut at arbitrary points, through the SMTP reply reader. Besides
// the sanitizers' findings it checks that the replies do not depend on where the bytes were cut,
// and that no line ever holds more than the line limit.
//
// Input layout: bytes 0..7 give up to 8 cut lengths (0 = no cut), the rest is the byte stream.

#include "FuzzSupport.h"
#include "net/SmtpReplyReader.h"

#include <QByteArrayList>

namespace {

// Every line and, after each finished reply, its code and text, as one list.
QByteArrayList read(const QByteArray& stream, const std::vector<qsizetype>& cuts)
{
    SmtpReplyReader reader;
    QByteArrayList out;
    auto take = [&] {
        const QByteArray line = reader.takeLine();
        if (line.size() > SmtpReplyReader::MaxLineLength)
            fail("line over the limit");
        out << line;
        if (reader.replyDone()) {
            out << QByteArray::number(reader.replyCode()) << reader.replyText();
            reader.startReply();
        }
    };
    qsizetype from = 0;
    std::vector<qsizetype> ends = cuts;
    ends.push_back(stream.size());
    for (qsizetype end : ends) {
        end = std::min(std::max(end, from), stream.size());
        const char* data = stream.constData() + from;
        qsizetype left = end - from;
        while (left > 0) {
            const qsizetype used = reader.putLine(data, left);
            if (used < 0 || used > left)
                fail("consumed count out of range");
            data += used;
            left -= used;
            if (reader.lineReady())
                take();
            else if (left != 0)
                fail("stopped without a line");
        }
        from = end;
    }
    reader.finishLine();
    take();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    std::vector<qsizetype> cuts;
    qsizetype at = 0;
    for (int i = 0; i < 8; ++i) {
        if (data[i] == 0)
            continue;
        at += data[i];
        cuts.push_back(at);
    }
    const QByteArray stream(reinterpret_cast<const char*>(data + 8), qsizetype(size - 8));
    if (read(stream, cuts) != read(stream, {}))
        fail("replies depend on where the bytes were cut");
    return 0;
}
