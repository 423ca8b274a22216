#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

// One address of a message: display name and address, each at most 255 characters.
struct TmsMailAddress
{
    static constexpr int MaxLength = 255;
    QString Name;
    QString Address;
};

// An ordered list of addresses.
class TmsAddressList
{
public:
    void Add(const QString& address, const QString& name = QString());
    void Clear() { m_items.clear(); }
    bool isEmpty() const { return m_items.empty(); }
    int Count() const { return int(m_items.size()); }
    const TmsMailAddress& operator[](int index) const { return m_items[size_t(index)]; }
    // Whether any entry has a non-empty address.
    bool hasAddress() const;
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<TmsMailAddress> m_items;
};

enum TmsTransferEncoding { te7bit = 0, teBase64 = 1, teQuotedPrintable = 2 };

// One attachment: the whole file's content, its full path, content type and transfer encoding.
struct TmsAttItem
{
    QByteArray Content;
    QString FileName;
    QString ContentType;
    int Encoding = teBase64;

    // Sets the file name, and from its extension the content type (fallback
    // "application/octet-stream") and the transfer encoding the type calls for.
    void setFileName(const QString& path);
    // The file name without its folder.
    QString baseName() const;
    static QString contentTypeFor(const QString& path);
    static int encodingFor(const QString& contentType);
    // "7bit", "Base64", "Quoted-Printable".
    static QString encodingName(int encoding);
};

// The attachments of a message, in order.
class TmsAttList
{
public:
    // Reads the whole file now; raises EOpenError when it cannot be read.
    void AddFile(const QString& path);
    void Add(TmsAttItem item) { m_items.push_back(std::move(item)); }
    void Clear() { m_items.clear(); }
    bool isEmpty() const { return m_items.empty(); }
    int Count() const { return int(m_items.size()); }
    const TmsAttItem& operator[](int index) const { return m_items[size_t(index)]; }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<TmsAttItem> m_items;
};

enum TmsEncoding { meMIME = 0, meUU = 1 };
enum TmsCharSet { csUSASCII = 0, csISO8859 = 1 };
enum TmsPriority { ptLow = 0, ptNormal = 1, ptHigh = 2 };

// What every message has: sender, subject, body, extra headers and attachments.
class TmsCustomMessage
{
public:
    TmsMailAddress Sender;
    int Encoding = meMIME;
    int CharSet = csUSASCII;
    QStringList Headers;
    QStringList Body;

    QString Subject() const { return m_subject; }
    // Cut to 255 characters.
    void setSubject(const QString& subject);
    QString ContentType() const { return m_contentType; }
    // Stored lower-cased.
    void setContentType(const QString& type);

    const TmsAttList& Attachments() const { return m_attachments; }
    TmsAttList& attachments() { return m_attachments; }
    // Assigning a whole list also sets ContentType: "multipart/mixed", or "text/plain" when empty.
    void setAttachments(const TmsAttList& list);

private:
    QString m_subject;
    QString m_contentType = QStringLiteral("text/plain");
    TmsAttList m_attachments;
};

// A message with its recipients; encodes itself as the text that goes after DATA.
class TmsMessage : public TmsCustomMessage
{
public:
    TmsAddressList Recipients;
    TmsAddressList CC;
    TmsAddressList BCC;
    int Priority = ptNormal;
    bool ReturnReceipt = false;
    // The "Date:" and "Message-ID:" the message goes out with; when left unset, the time of
    // encoding and a new unique id at the sender's domain.
    QDateTime Date;
    QString MessageId;

    // Raises EMessageError 57100 without a sender address, 57101 without any recipient address.
    void Validate() const;
    // Writes the whole message into device from position 0 (see TmsMessageEncoder).
    void Encode(QIODevice& device) const;
    // The content type that decides the body form; empty for the UU form.
    QString resolvedContentType() const;
};
