#pragma once

#include <QWidget>

class ControlRegistry;
class QComboBox;
class QLineEdit;
class QListWidget;
class QToolButton;

// Check / Options: the site links, the stall time-out, the settings panel (SMTP server, sender,
// proxy) and, below it, secure mail and web: security, user, password and an extra trusted
// authority (CA file).
class OptionsPage : public QWidget
{
    Q_OBJECT

public:
    OptionsPage(ControlRegistry& controls, QWidget* parent);

    QListWidget* gotolist() const { return m_gotolist; }
    // Seconds a network wait may see no progress; 0: no limit.
    QLineEdit* timeoutedit() const { return m_timeoutedit; }
    QLineEdit* smtpedit() const { return m_edits[0]; }
    QLineEdit* emailedit() const { return m_edits[1]; }
    QLineEdit* nameedit() const { return m_edits[2]; }
    QLineEdit* proxyedit() const { return m_edits[3]; }
    QLineEdit* portedit() const { return m_edits[4]; }
    QComboBox* smtpsecurity() const { return m_smtpsecurity; }
    QLineEdit* smtpuser() const { return m_smtpuser; }
    // Kept in the desktop's keyring, never in the settings file.
    QLineEdit* smtppassword() const { return m_smtppassword; }
    QLineEdit* cafileedit() const { return m_cafileedit; }
    QToolButton* cafilebrowse() const { return m_cafilebrowse; }
    // Picks the CA file with a file dialog; true when one was picked.
    bool cafilebrowseClick();

    // The edits whose leaving saves the settings.
    QList<QLineEdit*> settingsEdits() const
    {
        return {m_edits[0], m_edits[1], m_edits[2], m_edits[3], m_edits[4], m_timeoutedit};
    }

private:
    void buildSecurePanel(ControlRegistry& controls);

    QListWidget* m_gotolist;
    QLineEdit* m_timeoutedit;
    QLineEdit* m_edits[5];
    QComboBox* m_smtpsecurity;
    QLineEdit* m_smtpuser;
    QLineEdit* m_smtppassword;
    QLineEdit* m_cafileedit;
    QToolButton* m_cafilebrowse;
};
