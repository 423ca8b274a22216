#include "app/TSetupDlg.h"

#include "core/Dialogs.h"
#include "submit/MailChannel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TSetupDlg::TSetupDlg(QWidget* parent)
    : QDialog(parent)
    , ServerEdit(new QLineEdit(this))
    , UserAddressEdit(new QLineEdit(this))
    , UserNameEdit(new QLineEdit(this))
    , LogFileNameEdit(new QLineEdit(this))
    , CharSetComboBox(new QComboBox(this))
    , EncodingComboBox(new QComboBox(this))
    , SecurityComboBox(new QComboBox(this))
    , MailUserEdit(new QLineEdit(this))
    , PasswordEdit(new QLineEdit(this))
    , OKButton(new QPushButton(QStringLiteral("OK"), this))
    , CancelButton(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("SetupDlg"));
    setWindowTitle(QStringLiteral("Setup"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{ServerEdit, "ServerEdit"},
             {UserAddressEdit, "UserAddressEdit"}, {UserNameEdit, "UserNameEdit"}, {LogFileNameEdit, "LogFileNameEdit"},
             {CharSetComboBox, "CharSetComboBox"}, {EncodingComboBox, "EncodingComboBox"},
             {SecurityComboBox, "SecurityComboBox"}, {MailUserEdit, "MailUserEdit"}, {PasswordEdit, "PasswordEdit"},
             {OKButton, "OKButton"}, {CancelButton, "CancelButton"}})
        widget->setObjectName(QString::fromLatin1(name));
    CharSetComboBox->addItems({QStringLiteral("US-ASCII"), QStringLiteral("ISO-8859-1")});
    EncodingComboBox->addItems({QStringLiteral("MIME"), QStringLiteral("UUCode")});
    CharSetComboBox->setCurrentIndex(0);
    EncodingComboBox->setCurrentIndex(0);
    LogFileNameEdit->hide();
    CharSetComboBox->hide();
    EncodingComboBox->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("SMTP Server"), ServerEdit);
    form->addRow(QStringLiteral("EMail address"), UserAddressEdit);
    form->addRow(QStringLiteral("Name"), UserNameEdit);
    SecurityComboBox->addItems({QStringLiteral("None"), QStringLiteral("STARTTLS"), QStringLiteral("TLS")});
    PasswordEdit->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Security"), SecurityComboBox);
    form->addRow(QStringLiteral("User"), MailUserEdit);
    form->addRow(QStringLiteral("Password"), PasswordEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ServerEdit->setMinimumWidth(260);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int TSetupDlg::showModal()
{
    // Without a screen (batch mode, tests) no one could answer the dialog.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        dialogs().showMessage(MailChannel::NoServerMessage);
        return QDialog::Rejected;
    }
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return exec();
}
