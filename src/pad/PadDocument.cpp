#include "pad/PadDocument.h"

#include "core/TextEncoding.h"
#include "pad/ExtensionSections.h"

#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

namespace {

// The encoding named in the XML declaration, lower case; empty when none is named.
QString declaredEncoding(const QByteArray& bytes)
{
    static const QRegularExpression declaration(
        QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']([A-Za-z0-9._-]+)[\"']"));
    const QString head = QString::fromLatin1(bytes.left(200));
    return declaration.match(head).captured(1).toLower();
}

// The sections of the format under the root; any other is an extension.
const QStringList kSections{QStringLiteral("MASTER_PAD_VERSION_INFO"), QStringLiteral("Company_Info"),
    QStringLiteral("Program_Info"), QStringLiteral("Program_Descriptions"), QStringLiteral("Web_Info"),
    QStringLiteral("Permissions"), QStringLiteral("ASP")};

bool isUtf16(const QByteArray& bytes)
{
    return bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff")
        || (bytes.size() >= 2 && (bytes[0] == 0 || bytes[1] == 0));
}

// The text the reader is handed: Qt reads UTF-8 and UTF-16 itself; 8-bit encodings are decoded
// here, since the reader knows none of them.
std::optional<QString> eightBitText(const QByteArray& bytes, const QString& encoding, QString* error)
{
    static const QStringList western{QStringLiteral("windows-1252"), QStringLiteral("cp1252"),
        QStringLiteral("iso-8859-1"), QStringLiteral("iso8859-1"), QStringLiteral("latin1"), QStringLiteral("latin-1"),
        QStringLiteral("us-ascii"), QStringLiteral("ascii")};
    if (!western.contains(encoding)) {
        *error = QStringLiteral("the file is in the encoding \"%1\", which Quillet cannot read").arg(encoding);
        return std::nullopt;
    }
    // Windows-1252 is a superset of the printable part of ISO-8859-1, and PAD editors that
    // declare Latin-1 write Windows-1252's quotes and dashes anyway.
    QString text = decodeText(bytes, TextEncoding::Windows1252);
    // The declaration no longer describes the text the reader gets.
    static const QRegularExpression declaration(QStringLiteral("^\\s*<\\?xml[^>]*\\?>"));
    text.replace(declaration, QStringLiteral("<?xml version=\"1.0\"?>"));
    return text;
}

} // namespace

std::optional<PadDocument> PadDocument::parse(const QByteArray& file, QString* error)
{
    QXmlStreamReader reader;
    const bool utf16 = isUtf16(file);
    const QByteArray bytes = utf16 ? file : withoutExtensionSections(file, [](QByteArrayView name) {
        return kSections.contains(QLatin1StringView(name.data(), name.size()));
    });
    const QString encoding = utf16 ? QString() : declaredEncoding(bytes);
    if (!encoding.isEmpty() && encoding != QLatin1String("utf-8") && encoding != QLatin1String("utf8")
        && !encoding.startsWith(QLatin1String("utf-16"))) {
        const std::optional<QString> text = eightBitText(bytes, encoding, error);
        if (!text)
            return std::nullopt;
        reader.addData(*text);
    } else {
        reader.addData(bytes);
    }

    PadDocument document;
    QStringList path; // open elements below the root
    QString text;
    bool sawRoot = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (!sawRoot) {
                if (reader.name() != QLatin1String("XML_DIZ_INFO")) {
                    *error = QStringLiteral("this is no PAD file: its root element is <%1>, not <XML_DIZ_INFO>")
                                 .arg(reader.name().toString());
                    return std::nullopt;
                }
                sawRoot = true;
                break;
            }
            // Sections the format does not define (extensions, affiliate data) are passed over
            // without keeping their texts.
            if (path.isEmpty() && !kSections.contains(reader.name())) {
                reader.skipCurrentElement();
                break;
            }
            path.append(reader.name().toString());
            text.clear();
            break;
        case QXmlStreamReader::Characters:
            text += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            if (!path.isEmpty()) {
                // The first occurrence of an element counts; a repeated one is ignored.
                const QString key = path.join(QLatin1Char('/'));
                if (!document.values.contains(key))
                    document.values.insert(key, text);
                path.removeLast();
                text.clear();
            }
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        *error = QStringLiteral("the file is damaged at line %1, column %2: %3")
                     .arg(reader.lineNumber())
                     .arg(reader.columnNumber())
                     .arg(reader.errorString());
        return std::nullopt;
    }
    if (!sawRoot) {
        *error = QStringLiteral("the file holds no XML_DIZ_INFO element");
        return std::nullopt;
    }
    for (QString& value : document.values) {
        // Line breaks as LF, whatever the file used.
        value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        value.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    document.version = document.value(QStringLiteral("MASTER_PAD_VERSION_INFO/MASTER_PAD_VERSION"));
    return document;
}
