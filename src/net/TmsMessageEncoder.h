#pragma once

#include "net/MailBodyLines.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;
class TmsMessage;
struct TmsAttItem;
struct TmsMailAddress;
class TmsAddressList;

// Writes a message as the RFC 822 / MIME text that goes after DATA: the header block, then the
// body in the form the resolved content type calls for (plain, multipart, single attachment,
// HTML/RTF or UU). Every line ends in CR LF. The text is written as composed: making lines that
// begin with "." safe for the SMTP data phase is the session's job, not the encoder's.
class TmsMessageEncoder
{
public:
    TmsMessageEncoder(const TmsMessage& message, QIODevice& device);
    void Execute();

    // A value for a header line: a CR or LF in it becomes a blank, so it never starts a new line.
    static QString headerValue(const QString& value);
    // Display name + " <" + address + ">", the name in double quotes when it has a "." and no '"'.
    static QString addressText(const TmsMailAddress& address);
    // An eight-digit boundary of the digits 0 to 8.
    static QString newBoundary();

private:
    void writeLine(const QByteArray& line);
    void writeLine(const QString& line) { writeLine(line.toUtf8()); }
    void writeLines(const QList<QByteArray>& lines);
    void writeHeader();
    void writeAddressList(const QString& name, const TmsAddressList& list);
    void writeTextHeaders();
    void writeBodyLines(bool quotedPrintable);
    void writeAttachmentContent(const TmsAttItem& item);
    void writeAttachmentPart(const TmsAttItem& item, bool withName);
    void writeMultipart(const QString& type);
    void writeSingleAttachment(const TmsAttItem& item);
    void writeRichText(const QString& type);
    void writeUU();
    bool quotedPrintableBody() const;

    const TmsMessage& m_message;
    QIODevice& m_device;
    const MailBodyLines m_body;
    bool m_longLines = false;
    bool m_eightBit = false; // the body holds bytes outside ASCII
};
