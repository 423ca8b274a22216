#include "app/MailFormChannel.h"

#include "app/TSMTPForm.h"
#include "app/TSetupDlg.h"
#include "net/TmsSMTP.h"

#include <QComboBox>
#include <QLineEdit>

MailFormChannel::MailFormChannel(TSMTPForm& form, TSetupDlg& setup)
    : m_form(form)
    , m_setup(setup)
{
}

void MailFormChannel::takeSettings(const QString& server, const QString& address, const QString& name)
{
    m_setup.ServerEdit->setText(server);
    m_setup.UserAddressEdit->setText(address);
    m_setup.UserNameEdit->setText(name);
}

void MailFormChannel::takeSecurity(
    const QString& security, const QString& user, const QString& password, const QString& caFile)
{
    const int index = m_setup.SecurityComboBox->findText(security, Qt::MatchFixedString);
    m_setup.SecurityComboBox->setCurrentIndex(index < 0 ? 0 : index);
    m_setup.MailUserEdit->setText(user);
    m_setup.PasswordEdit->setText(password);
    m_caFile = caFile;
}

QString MailFormChannel::server() const
{
    return m_setup.ServerEdit->text();
}

void MailFormChannel::showSetup()
{
    m_setup.showModal();
}

void MailFormChannel::setRecipient(const QString& address)
{
    m_form.ToEdit->setText(address);
}

void MailFormChannel::setSubject(const QString& subject)
{
    m_form.SubjectEdit->setText(subject);
}

void MailFormChannel::clearBody()
{
    m_lines.clear();
}

void MailFormChannel::addBodyLine(const QString& line)
{
    m_lines << line;
}

NetResult MailFormChannel::send()
{
    return encodeTo({});
}

NetResult MailFormChannel::encodeTo(const std::function<void(const QByteArray&)>& keep)
{
    m_form.msSMTP1->Server = m_setup.ServerEdit->text();
    m_form.msMessage1.Sender.Address = m_setup.UserAddressEdit->text().left(255);
    m_form.msMessage1.Sender.Name = m_setup.UserNameEdit->text().left(255);
    m_form.msSMTP1->LogFileName = m_setup.LogFileNameEdit->text();
    m_form.msSMTP1->Security = smtpSecurityFromText(m_setup.SecurityComboBox->currentText());
    m_form.msSMTP1->User = m_setup.MailUserEdit->text();
    m_form.msSMTP1->Password = smtpPassword(m_setup.PasswordEdit->text());
    m_form.msSMTP1->CAFile = m_caFile;
    return m_form.sendWithBody(m_lines, keep);
}
