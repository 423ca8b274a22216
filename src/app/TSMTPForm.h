#pragma once

#include "batch/ProgressPace.h"
#include "net/NetResult.h"
#include "net/TagRas.h"
#include "net/TmsMessage.h"
#include "submit/MemoBody.h"

#include <QMainWindow>

#include <functional>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QToolButton;
class TSetupDlg;
class TmsSMTP;

// The mail form "TmsSMTP Demo": a message (recipient, subject, body, attachments) and the SMTP
// client that sends it. The main window fills it and presses Send for every submission e-mail;
// the form mirrors every step into the main window's mail label and progress bar.
//
// Its settings live in an ini file named after the executable, beside it, section "Setup"; where
// that folder cannot be written, in the user's configuration folder.
class TSMTPForm : public QMainWindow
{
    Q_OBJECT

public:
    explicit TSMTPForm(QWidget* parent = nullptr);
    ~TSMTPForm() override;

    // The main window's mail label and progress bar, mirrored by the event handlers.
    void setMainWindowMirrors(QLabel* mail2, QProgressBar* progress);

    // Builds the message from the form and sends it; raises the client's error after restoring
    // the form.
    void SendButtonClick();
    // The same with the given entries as the body, each taken as the memo would hold it; with keep,
    // the encoded message goes to keep instead of the server. Returns how the send ended.
    NetResult sendWithBody(const QStringList& entries, const std::function<void(const QByteArray&)>& keep = {});
    void CancelButtonClick();
    void AttachButtonClick();
    void SetupButtonClick();
    void AddAttachmentFile(const QString& path);
    bool sending() const;

    // Where the settings are read from and written to.
    static QString iniPath();
    void readSettings();
    void writeSettings() const;

    QLineEdit* ToEdit;
    QLineEdit* SubjectEdit;
    QPlainTextEdit* BodyMemo;
    QListWidget* ListView1;
    QWidget* SendInfoPanel;
    QLabel* StatusPanels[3];
    QProgressBar* ProgressBar1;
    QToolButton* SendButton;
    QToolButton* CancelButton;
    QToolButton* AttachButton;
    QToolButton* SetupButton;
    QToolButton* ExitButton;
    QAction* Send1;
    QAction* Cancel1;
    QAction* Attach1;
    QAction* Exit1;
    QAction* Setup1;
    QAction* Help1;
    QAction* About1;

    TmsSMTP* msSMTP1;
    TmsMessage msMessage1;
    TagRas agRas1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    NetResult sendMemoLines(const QStringList& lines, const std::function<void(const QByteArray&)>& keep = {});
    void EnterSendingState();
    void LeaveSendingState();
    // The buttons, menus and panels as they stand while sending or not. A hidden form is brought
    // up to date when it is shown: a run sends dozens of mails through the form unseen.
    void showSendingState(bool sending);
    void status(const QString& text);
    void mirror(const QString& text);
    void progress(int percent);

    QLabel* m_mail2 = nullptr;
    QProgressBar* m_mainProgress = nullptr;
    bool m_sending = false;
    bool m_showsSending = false;
    ProgressPace m_progressPace; // a long body reports every block; the bars follow a few times a second
    MemoBody m_body; // the entries as the body memo holds them
};
