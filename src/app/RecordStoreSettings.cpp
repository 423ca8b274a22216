// Settings: cat/settings.dat shown on the Check / Options page.
#include "app/RecordStore.h"

#include "app/OptionsPage.h"
#include "batch/MailPassword.h"
#include "batch/SettingsFile.h"

#include <QComboBox>
#include <QLineEdit>

void RecordStore::readSettings()
{
    const OptionsPage& o = m_options;
    const Settings s = Settings::read(m_basedir);
    o.smtpedit()->setText(s.smtp);
    o.emailedit()->setText(s.email);
    o.nameedit()->setText(s.name);
    o.proxyedit()->setText(s.proxy);
    o.portedit()->setText(s.port);
    o.smtpsecurity()->setCurrentIndex(o.smtpsecurity()->findText(s.security));
    o.smtpuser()->setText(s.user);
    o.cafileedit()->setText(s.caFile);
    QLineEdit* password = o.smtppassword();
    if (password->text().isEmpty()) {
        MailPassword::read(o.smtpuser()->text(), password, [password](const QString& stored) {
            if (password->text().isEmpty())
                password->setText(stored);
        });
    }
    o.timeoutedit()->setText(s.timeout);
}

void RecordStore::savesettings()
{
    const OptionsPage& o = m_options;
    Settings s;
    s.smtp = o.smtpedit()->text();
    s.email = o.emailedit()->text();
    s.name = o.nameedit()->text();
    s.proxy = o.proxyedit()->text();
    s.port = o.portedit()->text();
    s.security = o.smtpsecurity()->currentText();
    s.user = o.smtpuser()->text();
    s.caFile = o.cafileedit()->text();
    s.timeout = o.timeoutedit()->text();
    s.write(m_basedir);
    MailPassword::write(o.smtpuser()->text(), o.smtppassword()->text());
}
