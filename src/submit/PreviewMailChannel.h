#pragma once

#include "submit/MailChannel.h"

class PreviewFolder;

// A preview's mail channel: each mail is written as the next mail/NNNN.eml of the preview folder,
// as the server keeps it after DATA, and nothing is sent. Everything else is the client's own
// channel (the form, its setup and events).
class PreviewMailChannel : public MailChannel
{
public:
    PreviewMailChannel(MailChannel& client, PreviewFolder& folder);

    void takeSettings(const QString& server, const QString& address, const QString& name) override
    {
        m_client.takeSettings(server, address, name);
    }
    void takeSecurity(
        const QString& security, const QString& user, const QString& password, const QString& caFile) override
    {
        m_client.takeSecurity(security, user, password, caFile);
    }
    QString server() const override { return m_client.server(); }
    void showSetup() override { m_client.showSetup(); }
    void setRecipient(const QString& address) override { m_client.setRecipient(address); }
    void setSubject(const QString& subject) override { m_client.setSubject(subject); }
    void clearBody() override { m_client.clearBody(); }
    void addBodyLine(const QString& line) override { m_client.addBodyLine(line); }
    NetResult send() override;
    NetResult encodeTo(const std::function<void(const QByteArray&)>& keep) override { return m_client.encodeTo(keep); }

private:
    MailChannel& m_client;
    PreviewFolder& m_folder;
};
