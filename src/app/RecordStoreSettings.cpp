// Settings: cat/settings.dat shown on the Check / Options page.
#include "app/RecordStore.h"

#include "app/ControlRegistry.h"
#include "app/ControlText.h"
#include "app/OptionsPage.h"
#include "batch/MailPassword.h"
#include "batch/SettingsFile.h"

#include <QLineEdit>

void RecordStore::readSettings()
{
    const OptionsPage& o = m_options;
    Settings::read(m_basedir).toControls(
        [this](const QString& control, const QString& text) { setControlText(m_controls.control(control), text); });
    QLineEdit* password = o.smtppassword();
    if (password->text().isEmpty()) {
        MailPassword::read(o.smtpuser()->text(), password, [password](const QString& stored) {
            if (password->text().isEmpty())
                password->setText(stored);
        });
    }
}

void RecordStore::savesettings()
{
    const Settings s = Settings::fromControls([this](const QString& control) { return textOf(control); });
    s.write(m_basedir);
    MailPassword::write(s.user, m_options.smtppassword()->text());
}
