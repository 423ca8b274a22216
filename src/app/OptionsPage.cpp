#include "app/OptionsPage.h"

#include "app/ControlRegistry.h"
#include "app/PageLayout.h"
#include "core/Dialogs.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

using namespace PageLayout;

OptionsPage::OptionsPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("optionspage"));
    QWidget* page = this;
    auto* title = new QLabel(QStringLiteral("Double click to visit a website:"), page);
    title->setGeometry(10, 8, 250, 17);
    m_gotolist = controls.named(new QListWidget(page), "gotolist", HelpOptions);
    m_gotolist->setGeometry(10, 27, 260, 306);
    // The stall time-out sits under the site list, so the settings panel and the secure panel
    // below it keep their places.
    auto* timeoutLabel = new QLabel(QStringLiteral("Time-out Without Progress (seconds):"), page);
    timeoutLabel->setGeometry(10, 345, 200, 16);
    m_timeoutedit = controls.named(edit(page, QStringLiteral("120")), "timeoutedit", HelpOptions);
    m_timeoutedit->setGeometry(210, 342, 60, FieldHeight);

    auto* panel = new QGroupBox(QStringLiteral("Settings:"), page);
    panel->setObjectName(QStringLiteral("settingspanel"));
    panel->setGeometry(290, 20, 292, 270);
    // In the order of m_edits.
    struct EditRow
    {
        const char* name;
        const char* label;
        const char* start;
    };
    static const EditRow rows[] = {
        {"smtpedit", "Your SMTP Server:", ""},
        {"emailedit", "Your E-Mail Address", ""},
        {"nameedit", "Your Name:", ""},
        {"proxyedit", "Proxy Server (If any):", ""},
        {"portedit", "Proxy Port:", "80"},
    };
    int y = 24;
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(QString::fromLatin1(rows[i].label), panel);
        label->setGeometry(12, y, 260, 16);
        m_edits[i] = controls.named(edit(panel, QString::fromLatin1(rows[i].start)), rows[i].name, HelpOptions);
        m_edits[i]->setGeometry(12, y + 17, 264, FieldHeight);
        y += 48;
    }
    buildSecurePanel(controls);
}

void OptionsPage::buildSecurePanel(ControlRegistry& controls)
{
    auto* panel = new QGroupBox(QStringLiteral("Secure mail and web:"), this);
    panel->setObjectName(QStringLiteral("securepanel"));
    panel->setGeometry(290, 294, 292, 76);
    m_smtpsecurity = controls.named(new QComboBox(panel), "smtpsecurity", HelpOptions);
    m_smtpsecurity->addItems({QStringLiteral("None"), QStringLiteral("STARTTLS"), QStringLiteral("TLS")});
    m_smtpsecurity->setToolTip(QStringLiteral("Security of the SMTP session"));
    m_smtpsecurity->setGeometry(12, 18, 90, FieldHeight);
    m_smtpuser = controls.named(edit(panel, {}), "smtpuser", HelpOptions);
    m_smtpuser->setPlaceholderText(QStringLiteral("User"));
    m_smtpuser->setGeometry(108, 18, 168, FieldHeight);
    m_smtppassword = controls.named(edit(panel, {}), "smtppassword", HelpOptions);
    m_smtppassword->setPlaceholderText(QStringLiteral("Password"));
    m_smtppassword->setEchoMode(QLineEdit::Password);
    m_smtppassword->setGeometry(12, 46, 130, FieldHeight);
    m_cafileedit = controls.named(edit(panel, {}), "cafileedit", HelpOptions);
    m_cafileedit->setPlaceholderText(QStringLiteral("CA file"));
    m_cafileedit->setToolTip(QStringLiteral("An authority trusted besides the system's (PEM file)"));
    m_cafileedit->setGeometry(148, 46, 104, FieldHeight);
    m_cafilebrowse = new QToolButton(panel);
    m_cafilebrowse->setObjectName(QStringLiteral("cafilebrowse"));
    m_cafilebrowse->setText(QStringLiteral("..."));
    m_cafilebrowse->setToolTip(QStringLiteral("Choose the CA file"));
    m_cafilebrowse->setGeometry(254, 46, 22, FieldHeight);
}

bool OptionsPage::cafilebrowseClick()
{
    const QString path = dialogs().openFileName({QStringLiteral("Select a CA file"),
        QStringLiteral("Certificates|*.pem;*.crt;*.cer"), QStringLiteral("PEM"), {}});
    if (path.isEmpty())
        return false;
    m_cafileedit->setText(path);
    return true;
}
