#include "net/SmtpReplyReader.h"

qsizetype SmtpReplyReader::putLine(const char* data, qsizetype size)
{
    if (m_lineReady)
        return 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char ch = data[i];
        if (ch == '\n') {
            m_lineReady = true;
            return i + 1;
        }
        if (m_line.size() < MaxLineLength + 1)
            m_line += ch;
    }
    return size;
}

void SmtpReplyReader::finishLine()
{
    m_lineReady = true;
}

QByteArray SmtpReplyReader::takeLine()
{
    // One spare byte tells a trailing CR apart from a cut: cut first, then strip.
    QByteArray line = m_line.left(MaxLineLength + 1);
    while (line.endsWith('\r') || line.endsWith('\n'))
        line.chop(1);
    line.truncate(MaxLineLength);
    m_line.clear();
    m_lineReady = false;

    const int code = lineCode(line);
    if (!m_replyStarted) {
        m_replyStarted = true;
        m_replyCode = code;
        m_replyDone = !(code > 0 && line.size() > 3 && line[3] == '-');
    } else if (code == m_replyCode && (line.size() == 3 || line[3] == ' ')) {
        m_replyDone = true;
    }
    m_replyText = line;
    return line;
}

void SmtpReplyReader::startReply()
{
    m_replyStarted = false;
    m_replyDone = false;
    m_replyCode = -1;
    m_replyText.clear();
}

int SmtpReplyReader::lineCode(const QByteArray& line)
{
    if (line.size() < 3)
        return -1;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return -1;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}
