#include "net/TmsMessage.h"

#include "net/MailErrors.h"
#include "net/MailMessages.h"
#include "net/TmsMessageEncoder.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

void TmsAddressList::Add(const QString& address, const QString& name)
{
    m_items.push_back({name.left(TmsMailAddress::MaxLength), address.left(TmsMailAddress::MaxLength)});
}

bool TmsAddressList::hasAddress() const
{
    for (const auto& item : m_items)
        if (!item.Address.isEmpty())
            return true;
    return false;
}

void TmsAttItem::setFileName(const QString& path)
{
    FileName = path.left(255);
    ContentType = contentTypeFor(path).left(255);
    Encoding = encodingFor(ContentType);
}

QString TmsAttItem::baseName() const
{
    return QFileInfo(FileName).fileName();
}

QString TmsAttItem::contentTypeFor(const QString& path)
{
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return QStringLiteral("application/octet-stream");
    return type.name();
}

int TmsAttItem::encodingFor(const QString& contentType)
{
    const QString type = contentType.toUpper();
    if (type == QLatin1String("TEXT/PLAIN") || type == QLatin1String("TEXT/RTF") || type == QLatin1String("TEXT/HTML"))
        return teQuotedPrintable;
    if (type == QLatin1String("MESSAGE/RFC822"))
        return te7bit;
    return teBase64;
}

QString TmsAttItem::encodingName(int encoding)
{
    switch (encoding) {
    case te7bit:
        return QStringLiteral("7bit");
    case teQuotedPrintable:
        return QStringLiteral("Quoted-Printable");
    default:
        return QStringLiteral("Base64");
    }
}

void TmsAttList::AddFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EOpenError(path);
    TmsAttItem item;
    item.setFileName(path);
    item.Content = file.readAll();
    m_items.push_back(std::move(item));
}

void TmsCustomMessage::setSubject(const QString& subject)
{
    m_subject = subject.left(255);
}

void TmsCustomMessage::setContentType(const QString& type)
{
    m_contentType = type.left(255).toLower();
}

void TmsCustomMessage::setAttachments(const TmsAttList& list)
{
    m_attachments = list;
    setContentType(list.isEmpty() ? QStringLiteral("text/plain") : QStringLiteral("multipart/mixed"));
}

void TmsMessage::Validate() const
{
    using namespace MailMessages;
    if (Sender.Address.isEmpty())
        throw EMessageError(SenderRequired, text(SenderRequired));
    if (!Recipients.hasAddress() && !CC.hasAddress() && !BCC.hasAddress())
        throw EMessageError(RecipientRequired, text(RecipientRequired));
}

void TmsMessage::Encode(QIODevice& device) const
{
    TmsMessageEncoder encoder(*this, device);
    encoder.Execute();
}

QString TmsMessage::resolvedContentType() const
{
    const TmsAttList& atts = Attachments();
    if (Encoding == meUU)
        return QString();
    if (!atts.isEmpty()) {
        bool allAlt = true;
        for (const auto& item : atts)
            allAlt = allAlt && item.baseName().toLower().startsWith(QLatin1String("_alt."));
        if (allAlt)
            return QStringLiteral("multipart/alternative");
    }
    if (atts.Count() == 1 && Body.isEmpty()) {
        const QString name = atts[0].baseName().toLower();
        if (name == QLatin1String("_rtfbody.rtf"))
            return QStringLiteral("text/rtf");
        if (name == QLatin1String("_htmbody.htm"))
            return QStringLiteral("text/html");
        return atts[0].ContentType;
    }
    if (Body.isEmpty())
        return atts.isEmpty() ? QStringLiteral("text/plain") : QStringLiteral("multipart/mixed");
    if (!atts.isEmpty())
        return QStringLiteral("multipart/mixed");
    return ContentType().isEmpty() ? QStringLiteral("text/plain") : ContentType();
}
