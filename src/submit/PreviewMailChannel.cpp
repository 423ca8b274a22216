#include "submit/PreviewMailChannel.h"

#include "core/Errors.h"
#include "submit/PreviewFolder.h"

PreviewMailChannel::PreviewMailChannel(MailChannel& client, PreviewFolder& folder)
    : m_client(client)
    , m_folder(folder)
{
}

NetResult PreviewMailChannel::send()
{
    return m_client.encodeTo([this](const QByteArray& message) {
        // The closing line ends the message as the server keeps it, dots unstuffed.
        QString error;
        if (!m_folder.saveNumbered(QStringLiteral("mail"), QStringLiteral("eml"), message + "\r\n", &error))
            throw ECreateError(error);
    });
}
