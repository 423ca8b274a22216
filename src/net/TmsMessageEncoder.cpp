#include "net/TmsMessageEncoder.h"

#include "core/LineFile.h"
#include "net/MailBodyLines.h"
#include "net/MailEncodings.h"
#include "net/MailHeaderText.h"
#include "net/MailSpool.h"
#include "net/TQuotedPrintable.h"
#include "net/TmsMessage.h"

#include <QIODevice>
#include <QRandomGenerator>

namespace {

const QString DQ = QStringLiteral("\"");

bool isReservedHeader(const QString& line)
{
    static const QStringList reserved{QStringLiteral("from"), QStringLiteral("to"), QStringLiteral("cc"),
        QStringLiteral("bcc"), QStringLiteral("return-receipt-to"), QStringLiteral("x-priority"),
        QStringLiteral("subject"), QStringLiteral("mime-version"), QStringLiteral("content-type"),
        QStringLiteral("x-encoding"), QStringLiteral("content-transfer-encoding")};
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    return reserved.contains(line.left(colon).trimmed().toLower());
}

} // namespace

TmsMessageEncoder::TmsMessageEncoder(const TmsMessage& message, QIODevice& device)
    : m_message(message)
    , m_device(device)
    , m_body(message.Body, message.CharSet == csISO8859)
    , m_longLines(m_body.longLines())
    , m_eightBit(m_body.eightBit())
{
}

QString TmsMessageEncoder::headerValue(const QString& value)
{
    QString safe = value;
    safe.replace(QLatin1Char('\r'), QLatin1Char(' '));
    safe.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return safe;
}

QString TmsMessageEncoder::addressText(const TmsMailAddress& address)
{
    QString name = headerValue(address.Name);
    if (!MailHeaderText::isAscii(name))
        name = MailHeaderText::encodedWords(name);
    else if (name.contains(QLatin1Char('.')) && !name.contains(QLatin1Char('"')))
        name = DQ + name + DQ;
    return name + QStringLiteral(" <") + headerValue(address.Address) + QLatin1Char('>');
}

QString TmsMessageEncoder::newBoundary()
{
    QString boundary;
    for (int i = 0; i < 8; ++i)
        boundary += QChar(u'0' + QRandomGenerator::global()->bounded(9));
    return boundary;
}

void TmsMessageEncoder::writeLine(const QByteArray& line)
{
    m_device.write(line);
    m_device.write("\r\n", 2);
}

void TmsMessageEncoder::writeLines(const QList<QByteArray>& lines)
{
    for (const QByteArray& line : lines)
        writeLine(line);
}

void TmsMessageEncoder::Execute()
{
    m_device.seek(0);
    writeHeader();
    const QString type = m_message.resolvedContentType();
    const TmsAttList& atts = m_message.Attachments();
    if (m_message.Encoding == meUU)
        writeUU();
    else if (type == QLatin1String("text/html") || type == QLatin1String("text/rtf"))
        writeRichText(type);
    else if (type == QLatin1String("multipart/mixed") || type == QLatin1String("multipart/alternative"))
        writeMultipart(type);
    else if (atts.Count() == 1 && m_message.Body.isEmpty())
        writeSingleAttachment(atts[0]);
    else {
        writeTextHeaders();
        writeLine(QByteArray());
        writeBodyLines(quotedPrintableBody());
    }
}

bool TmsMessageEncoder::quotedPrintableBody() const
{
    return m_longLines || m_eightBit || m_message.CharSet == csISO8859;
}

void TmsMessageEncoder::writeHeader()
{
    writeLine(QStringLiteral("From:     ") + addressText(m_message.Sender));
    writeAddressList(QStringLiteral("To:"), m_message.Recipients);
    writeAddressList(QStringLiteral("CC:"), m_message.CC);
    if (m_message.ReturnReceipt)
        writeLine(QStringLiteral("Return-Receipt-To: <") + headerValue(m_message.Sender.Address) + QLatin1Char('>'));
    if (m_message.Priority == ptLow)
        writeLine(QStringLiteral("X-Priority: 5"));
    else if (m_message.Priority == ptHigh)
        writeLine(QStringLiteral("X-Priority: 1"));
    bool hasDate = false;
    bool hasId = false;
    for (const QString& line : m_message.Headers) {
        if (isReservedHeader(line))
            continue;
        const QString name = line.section(QLatin1Char(':'), 0, 0).trimmed();
        hasDate = hasDate || name.compare(QLatin1String("date"), Qt::CaseInsensitive) == 0;
        hasId = hasId || name.compare(QLatin1String("message-id"), Qt::CaseInsensitive) == 0;
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0 || MailHeaderText::isAscii(line))
            writeLine(headerValue(line));
        else
            writeLine(headerValue(line.left(colon + 1)) + QLatin1Char(' ')
                + MailHeaderText::encodedWords(headerValue(line.mid(colon + 1).trimmed())));
    }
    if (!m_message.Subject().isEmpty())
        writeLine(QStringLiteral("Subject:  ") + MailHeaderText::encodedWords(headerValue(m_message.Subject())));
    if (m_message.Encoding == meMIME)
        writeLine(QStringLiteral("Mime-Version: 1.0"));
    // Receiving servers expect both (RFC 5322 requires the date).
    if (!hasDate) {
        const QDateTime date = m_message.Date.isValid() ? m_message.Date : QDateTime::currentDateTime();
        writeLine(QStringLiteral("Date: ") + MailHeaderText::date(date));
    }
    if (!hasId) {
        writeLine(QStringLiteral("Message-ID: ")
            + (m_message.MessageId.isEmpty() ? MailHeaderText::newMessageId(m_message.Sender.Address)
                                             : headerValue(m_message.MessageId)));
    }
}

void TmsMessageEncoder::writeAddressList(const QString& name, const TmsAddressList& list)
{
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        const QString lead = i == 0 ? name.leftJustified(10, QLatin1Char(' ')) : QString(10, QLatin1Char(' '));
        writeLine(lead + addressText(list[i]) + (i + 1 < count ? QStringLiteral(",") : QString()));
    }
}

void TmsMessageEncoder::writeTextHeaders()
{
    if (m_message.CharSet == csISO8859) {
        writeLine(QStringLiteral("Content-Type: text/plain; charset=\"iso-8859-1\""));
        writeLine(QStringLiteral("Content-Transfer-Encoding: quoted-printable"));
    } else if (m_eightBit) {
        // The body's bytes are UTF-8 (the memo's text); declared as such, they arrive as typed.
        writeLine(QStringLiteral("Content-Type: text/plain; charset=\"UTF-8\""));
        writeLine(QStringLiteral("Content-Transfer-Encoding: quoted-printable"));
    } else {
        writeLine(QStringLiteral("Content-Type: text/plain; charset=\"us-ascii\""));
        writeLine(m_longLines ? QStringLiteral("Content-Transfer-Encoding: quoted-printable")
                              : QStringLiteral("Content-Transfer-Encoding: 7bit"));
    }
}

void TmsMessageEncoder::writeBodyLines(bool quotedPrintable)
{
    // Spooled in pieces, the body (the same long text in each mail of a run) is not copied again.
    if (auto* spool = qobject_cast<MailSpool*>(&m_device)) {
        for (const QByteArray& piece : m_body.pieces(quotedPrintable))
            spool->appendShared(piece);
    } else
        m_device.write(m_body.encoded(quotedPrintable));
}

void TmsMessageEncoder::writeAttachmentContent(const TmsAttItem& item)
{
    switch (item.Encoding) {
    case teBase64:
        // Block by block: a large attachment never exists a second time as a list of lines.
        for (qsizetype pos = 0;; pos += MailEncodings::Base64Block) {
            const QByteArray block = item.Content.mid(pos, MailEncodings::Base64Block);
            writeLine(block.toBase64());
            if (block.size() < MailEncodings::Base64Block)
                break;
        }
        break;
    case teQuotedPrintable:
        writeLines(TQuotedPrintable::encode(item.Content));
        break;
    default:
        writeLines(splitLines(item.Content));
        break;
    }
}

void TmsMessageEncoder::writeAttachmentPart(const TmsAttItem& item, bool withName)
{
    if (withName) {
        writeLine(QStringLiteral("Content-Type: ") + headerValue(item.ContentType) + QStringLiteral("; name=") + DQ
            + headerValue(item.baseName()) + DQ);
    } else {
        writeLine(QStringLiteral("Content-Type: ") + headerValue(item.ContentType));
    }
    writeLine(QStringLiteral("Content-Transfer-Encoding: ") + TmsAttItem::encodingName(item.Encoding));
    if (withName)
        writeLine(
            QStringLiteral("Content-Disposition: attachment; filename=") + DQ + headerValue(item.baseName()) + DQ);
    writeLine(QByteArray());
    writeAttachmentContent(item);
    writeLine(QByteArray());
}

void TmsMessageEncoder::writeMultipart(const QString& type)
{
    const QString boundary = newBoundary();
    const QString separator = QStringLiteral("--") + boundary;
    const bool alternative = type == QLatin1String("multipart/alternative");
    writeLine(QStringLiteral("Content-Type: ") + type + QStringLiteral("; boundary=") + DQ + boundary + DQ);
    writeLine(QByteArray());
    writeLine(QStringLiteral("This is a multipart message in MIME format"));
    writeLine(QByteArray());
    writeLine(separator);
    if (!m_message.Body.isEmpty()) {
        writeTextHeaders();
        writeLine(QByteArray());
        writeBodyLines(quotedPrintableBody());
        writeLine(QByteArray());
        writeLine(separator);
    }
    const TmsAttList& atts = m_message.Attachments();
    auto isAlt = [](const TmsAttItem& item) { return item.baseName().toLower().startsWith(QLatin1String("_alt.")); };
    // In a mixed message that opens with "_alt." files, those form a nested alternative part.
    const bool nested = !alternative && !atts.isEmpty() && isAlt(atts[0]);
    QString inner;
    bool inNested = false;
    for (int i = 0; i < atts.Count(); ++i) {
        const TmsAttItem& item = atts[i];
        if (i > 0) {
            writeLine(QByteArray());
            writeLine(inNested ? QStringLiteral("--") + inner : separator);
        }
        if (nested && i == 0) {
            inner = newBoundary();
            inNested = true;
            writeLine(QStringLiteral("Content-Type:  multipart/alternative; boundary=") + DQ + inner + DQ);
            writeLine(QStringLiteral("Content-Transfer-Encoding: 7bit"));
            writeLine(QByteArray());
            writeLine(QStringLiteral("--") + inner);
        }
        writeAttachmentPart(item, !(alternative || inNested));
        if (inNested && (i + 1 >= atts.Count() || !isAlt(atts[i + 1]))) {
            writeLine(QStringLiteral("--") + inner + QStringLiteral("--"));
            inNested = false;
        }
    }
    writeLine(separator + QStringLiteral("--"));
}

void TmsMessageEncoder::writeSingleAttachment(const TmsAttItem& item)
{
    writeLine(QStringLiteral("Content-Type: ") + headerValue(item.ContentType) + QStringLiteral("; name=") + DQ
        + headerValue(item.baseName()) + DQ);
    writeLine(QStringLiteral("Content-Transfer-Encoding: ") + TmsAttItem::encodingName(item.Encoding));
    writeLine(QStringLiteral("Content-Disposition: attachment; filename=") + DQ + headerValue(item.baseName()) + DQ);
    writeLine(QByteArray());
    writeAttachmentContent(item);
}

void TmsMessageEncoder::writeRichText(const QString& type)
{
    QString line = QStringLiteral("Content-Type: ") + type;
    if (m_message.CharSet == csISO8859)
        line += QStringLiteral("; charset=") + DQ + QStringLiteral("iso-8859-1") + DQ;
    else if (m_eightBit)
        line += QStringLiteral("; charset=") + DQ + QStringLiteral("UTF-8") + DQ;
    writeLine(line);
    writeLine(QStringLiteral("Content-Transfer-Encoding: quoted-printable"));
    writeLine(QByteArray());
    writeBodyLines(true);
}

void TmsMessageEncoder::writeUU()
{
    writeLine(QByteArray());
    writeBodyLines(false);
    for (const TmsAttItem& item : m_message.Attachments()) {
        writeLine(QByteArray());
        writeLine(QStringLiteral("begin 600 ") + headerValue(item.baseName()));
        writeLines(MailEncodings::uuLines(item.Content));
        writeLine(QByteArrayLiteral("`"));
        writeLine(QByteArrayLiteral("end"));
    }
}
