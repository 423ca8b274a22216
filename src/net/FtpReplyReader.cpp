#include "net/FtpReplyReader.h"

namespace {

bool isCode(const QByteArray& line)
{
    if (line.size() < 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return false;
    }
    return true;
}

} // namespace

FtpReplyReader::FtpReplyReader(bool abortCommand)
    : m_abortCommand(abortCommand)
{
}

FtpReplyReader::Verdict FtpReplyReader::put(const QByteArray& line)
{
    if (m_verdict != Verdict::More)
        return m_verdict;
    m_lastLine = line;

    // Inside a multi-line reply only its closing line ("ddd " with the opening code) counts.
    if (!m_multiLineCode.isEmpty()) {
        if (!line.startsWith(m_multiLineCode) || (line.size() > 3 && line[3] != ' '))
            return Verdict::More;
        m_multiLineCode.clear();
    } else if (line.size() > 3 && line[3] == '-') {
        if (isCode(line))
            m_multiLineCode = line.left(3);
        return Verdict::More;
    }
    if (line.startsWith(' ') || line.startsWith('\t'))
        return Verdict::More;
    if (line.startsWith('1'))
        return Verdict::More;
    if (line.startsWith('2') || line.startsWith('3'))
        return m_verdict = Verdict::Success;
    if (m_abortCommand && line.startsWith("426"))
        return Verdict::More;
    return m_verdict = Verdict::Failure;
}
