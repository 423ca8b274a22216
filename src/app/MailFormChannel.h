#pragma once

#include "submit/MailChannel.h"

#include <QStringList>

class TSMTPForm;
class TSetupDlg;

// The run's mail channel over the mail form and its setup dialog, as the main window uses them.
class MailFormChannel : public MailChannel
{
public:
    MailFormChannel(TSMTPForm& form, TSetupDlg& setup);

    void takeSettings(const QString& server, const QString& address, const QString& name) override;
    void takeSecurity(
        const QString& security, const QString& user, const QString& password, const QString& caFile) override;
    QString server() const override;
    void showSetup() override;
    void setRecipient(const QString& address) override;
    void setSubject(const QString& subject) override;
    void clearBody() override;
    void addBodyLine(const QString& line) override;
    NetResult send() override;
    NetResult encodeTo(const std::function<void(const QByteArray&)>& keep) override;

private:
    TSMTPForm& m_form;
    TSetupDlg& m_setup;
    // The body's lines as added.
    QStringList m_lines;
    QString m_caFile;
};
