#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// The mail form's setup dialog: SMTP server, sender address and name, and (not shown) the
// transcript file, character set and encoding.
class TSetupDlg : public QDialog
{
    Q_OBJECT

public:
    explicit TSetupDlg(QWidget* parent = nullptr);

    // Shows the dialog modally. Where no screen can show it (batch mode, tests), says on the
    // message channel that the SMTP server is missing and returns at once.
    int showModal();

    QLineEdit* ServerEdit;
    QLineEdit* UserAddressEdit;
    QLineEdit* UserNameEdit;
    QLineEdit* LogFileNameEdit;
    QComboBox* CharSetComboBox;
    QComboBox* EncodingComboBox;
    // How the session is secured (None, STARTTLS, TLS) and the log-in; below the fields above.
    QComboBox* SecurityComboBox;
    QLineEdit* MailUserEdit;
    QLineEdit* PasswordEdit;
    QPushButton* OKButton;
    QPushButton* CancelButton;
};
