#include "net/MailHeaderText.h"

#include <QRandomGenerator>
#include <QStringList>

#include <unistd.h>

namespace MailHeaderText {

QString date(const QDateTime& time)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = time.date();
    const int offset = time.offsetFromUtc() / 60;
    const int absOffset = offset < 0 ? -offset : offset;
    return QStringLiteral("%1, %2 %3 %4 %5 %6%7%8")
        .arg(QLatin1String(days[d.dayOfWeek() - 1]))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(months[d.month() - 1]))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(time.time().toString(QStringLiteral("HH:mm:ss")))
        .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(absOffset / 60, 2, 10, QLatin1Char('0'))
        .arg(absOffset % 60, 2, 10, QLatin1Char('0'));
}

QString localHostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return QString();
    return QString::fromLocal8Bit(name);
}

QString newMessageId(const QString& senderAddress)
{
    const qsizetype at = senderAddress.lastIndexOf(QLatin1Char('@'));
    QString domain = at < 0 ? QString() : senderAddress.mid(at + 1).trimmed();
    static const QString allowed = QStringLiteral("!#$%&'*+-/=?^_`{|}~.");
    for (const QChar c : std::as_const(domain)) {
        if (c.unicode() > 0x7f || (!c.isLetterOrNumber() && !allowed.contains(c))) {
            domain.clear();
            break;
        }
    }
    if (domain.isEmpty())
        domain = localHostName().isEmpty() ? QStringLiteral("localhost") : localHostName();
    QRandomGenerator* random = QRandomGenerator::system();
    const QString unique = QStringLiteral("%1.%2%3")
                               .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmsszzz")))
                               .arg(random->generate(), 8, 16, QLatin1Char('0'))
                               .arg(random->generate(), 8, 16, QLatin1Char('0'));
    return QLatin1Char('<') + unique + QLatin1Char('@') + domain + QLatin1Char('>');
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7f)
            return false;
    }
    return true;
}

QString encodedWords(const QString& text)
{
    if (isAscii(text))
        return text;
    // 45 bytes make 60 characters of base64: with "=?UTF-8?B?" and "?=" a word of 72. A chunk
    // never ends inside a character's UTF-8 sequence.
    const QByteArray bytes = text.toUtf8();
    QStringList words;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = std::min<qsizetype>(start + 45, bytes.size());
        while (end < bytes.size() && end > start && (uchar(bytes[end]) & 0xC0) == 0x80)
            --end;
        words << QStringLiteral("=?UTF-8?B?") + QString::fromLatin1(bytes.mid(start, end - start).toBase64())
                + QStringLiteral("?=");
        start = end;
    }
    return words.join(QStringLiteral("\r\n "));
}

} // namespace MailHeaderText
