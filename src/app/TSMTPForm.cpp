#include "app/TSMTPForm.h"

#include "app/TSetupDlg.h"
#include "batch/MailFormIni.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "core/InstalledCopy.h"
#include "core/ProfileFile.h"
#include "net/MailResult.h"
#include "net/TmsSMTP.h"
#include "submit/MemoBody.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QToolButton* toolButton(QToolBar* bar, const char* name, const QString& text, int tag = 0)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setProperty("tag", tag);
    bar->addWidget(button);
    return button;
}

} // namespace

TSMTPForm::TSMTPForm(QWidget* parent)
    : QMainWindow(parent, Qt::Window)
    , ToEdit(new QLineEdit)
    , SubjectEdit(new QLineEdit)
    , BodyMemo(new QPlainTextEdit(QStringLiteral("BodyMemo")))
    , ListView1(new QListWidget)
    , SendInfoPanel(new QWidget)
    , ProgressBar1(new QProgressBar)
    , msSMTP1(new TmsSMTP(this))
{
    setObjectName(QStringLiteral("SMTPForm"));
    setWindowTitle(QStringLiteral("TmsSMTP Demo"));
    setAcceptDrops(true);
    ToEdit->setObjectName(QStringLiteral("ToEdit"));
    SubjectEdit->setObjectName(QStringLiteral("SubjectEdit"));
    BodyMemo->setObjectName(QStringLiteral("BodyMemo"));
    ListView1->setObjectName(QStringLiteral("ListView1"));
    SendInfoPanel->setObjectName(QStringLiteral("SendInfoPanel"));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->hide();

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    Send1 = file->addAction(QStringLiteral("&Send"));
    Cancel1 = file->addAction(QStringLiteral("&Cancel"));
    Attach1 = file->addAction(QStringLiteral("&Attach"));
    file->addSeparator();
    Exit1 = file->addAction(QStringLiteral("E&xit"));
    Setup1 = menuBar()->addAction(QStringLiteral("S&etup"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    Help1 = help->menuAction();
    About1 = help->addAction(QStringLiteral("&About"));
    Cancel1->setEnabled(false);

    QToolBar* tools = addToolBar(QStringLiteral("Tools"));
    tools->setMovable(false);
    SendButton = toolButton(tools, "SendButton", QStringLiteral("Send"));
    CancelButton = toolButton(tools, "CancelButton", QStringLiteral("Cancel"), 1);
    AttachButton = toolButton(tools, "AttachButton", QStringLiteral("Attach"));
    SetupButton = toolButton(tools, "SetupButton", QStringLiteral("Setup"));
    ExitButton = toolButton(tools, "ExitButton", QStringLiteral("Exit"));
    CancelButton->setEnabled(false);

    auto* info = new QFormLayout(SendInfoPanel);
    info->addRow(QStringLiteral("To:"), ToEdit);
    info->addRow(QStringLiteral("Subject:"), SubjectEdit);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(SendInfoPanel);
    layout->addWidget(ListView1, 1);
    layout->addWidget(BodyMemo, 3);
    setCentralWidget(central);
    ListView1->setMaximumHeight(80);

    const int widths[3] = {300, 100, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel;
        StatusPanels[i]->setFixedWidth(widths[i]);
        statusBar()->addWidget(StatusPanels[i]);
    }
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addPermanentWidget(ProgressBar1);
    resize(520, 420);

    msSMTP1->MailMessage = &msMessage1;
    msSMTP1->RAS = &agRas1;
    msSMTP1->setWinsockLoaded(true);
    msMessage1.setContentType(QStringLiteral("text/plain"));
    msMessage1.ReturnReceipt = false;

    // Every handler keeps its errors to itself: none may cross the event loop.
    auto guard = [](auto f) { return [f] { guarded(f); }; };
    connect(SendButton, &QToolButton::clicked, this, guard([this] { SendButtonClick(); }));
    connect(Send1, &QAction::triggered, this, guard([this] { SendButtonClick(); }));
    connect(CancelButton, &QToolButton::clicked, this, guard([this] { CancelButtonClick(); }));
    connect(Cancel1, &QAction::triggered, this, guard([this] { CancelButtonClick(); }));
    connect(AttachButton, &QToolButton::clicked, this, guard([this] { AttachButtonClick(); }));
    connect(Attach1, &QAction::triggered, this, guard([this] { AttachButtonClick(); }));
    connect(SetupButton, &QToolButton::clicked, this, guard([this] { SetupButtonClick(); }));
    connect(Setup1, &QAction::triggered, this, guard([this] { SetupButtonClick(); }));
    connect(ExitButton, &QToolButton::clicked, this, &QWidget::close);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);
    connect(About1, &QAction::triggered, this,
        [] { dialogs().showMessage(QStringLiteral("TmsSMTP Demo\nSends one message through an SMTP server.")); });

    connect(msSMTP1, &TagSocket::OnOpen, this, [this] {
        status(QStringLiteral("Opening connection"));
        mirror(QStringLiteral("Opening SMTP Connection"));
    });
    connect(msSMTP1, &TmsSMTP::OnPrepare, this, [this] {
        status(QStringLiteral("Preparing message"));
        mirror(QStringLiteral("Preparing Message"));
    });
    connect(msSMTP1, &TmsSMTP::OnSending, this, [this] {
        status(QStringLiteral("Sending message"));
        mirror(QStringLiteral("Sending Message"));
    });
    connect(msSMTP1, &TagSocket::OnProgress, this, [this](int percent, qint64) { progress(percent); });
    connect(msSMTP1, &TmsSMTP::OnMailSent, this, [this] {
        mirror(QStringLiteral("Mail Sent"));
        progress(0);
        dialogs().beep();
    });
    connect(msSMTP1, &TagSocket::OnClosing, this, [this] {
        status(QStringLiteral("Closing connection"));
        mirror(QStringLiteral("Closing SMTP Connection"));
    });
    connect(msSMTP1, &TagSocket::OnClosed, this, [this] {
        status(QStringLiteral("Connection closed"));
        mirror(QString());
        if (m_mainProgress)
            m_mainProgress->setValue(0);
    });
    connect(msSMTP1, &TagSocket::OnCancel, this, [this] { status(QStringLiteral("Operation has been canceled")); });
    connect(msSMTP1, &TagSocket::OnError, this, [this](QString& text) {
        status(text);
        mirror(QStringLiteral("SMTP Error"));
    });

    readSettings();
}

TSMTPForm::~TSMTPForm()
{
    // The client writes its transcript when it goes; it goes with the form.
    delete msSMTP1;
}

void TSMTPForm::setMainWindowMirrors(QLabel* mail2, QProgressBar* progress)
{
    m_mail2 = mail2;
    m_mainProgress = progress;
}

void TSMTPForm::status(const QString& text)
{
    StatusPanels[0]->setText(text);
}

void TSMTPForm::mirror(const QString& text)
{
    if (m_mail2)
        m_mail2->setText(text);
}

void TSMTPForm::progress(int percent)
{
    if (percent == 0)
        m_progressPace.restart();
    else if (!m_progressPace.due())
        return;
    ProgressBar1->setValue(percent);
    if (m_mainProgress)
        m_mainProgress->setValue(percent);
}

bool TSMTPForm::sending() const
{
    return m_sending;
}

void TSMTPForm::SendButtonClick()
{
    const QString text = BodyMemo->toPlainText();
    if (const NetResult result = sendMemoLines(text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
        !result.ok())
        MailResult::raise(result);
}

NetResult TSMTPForm::sendWithBody(const QStringList& entries, const std::function<void(const QByteArray&)>& keep)
{
    return sendMemoLines(m_body.entries(entries), keep);
}

NetResult TSMTPForm::sendMemoLines(const QStringList& lines, const std::function<void(const QByteArray&)>& keep)
{
    if (sending())
        return {};
    msMessage1.Recipients.Clear();
    msMessage1.Recipients.Add(ToEdit->text());
    msMessage1.setSubject(SubjectEdit->text());
    msMessage1.Body = lines;
    TmsAttList attachments;
    try {
        for (int i = 0; i < ListView1->count(); ++i)
            attachments.AddFile(ListView1->item(i)->text());
    } catch (const QuilletError& error) {
        // An attached file gone since it was added ends the send like any failure on its way.
        return MailResult::of(error);
    }
    msMessage1.attachments() = attachments;

    EnterSendingState();
    NetResult result;
    try {
        result = keep ? msSMTP1->encode(keep) : msSMTP1->deliver();
    } catch (...) {
        LeaveSendingState();
        throw;
    }
    LeaveSendingState();
    return result;
}

void TSMTPForm::CancelButtonClick()
{
    msSMTP1->Cancel();
}

void TSMTPForm::AttachButtonClick()
{
    Dialogs::FileRequest request;
    request.title = QStringLiteral("Attach");
    request.filter = QStringLiteral("All Files (*.*)|*.*");
    const QString path = dialogs().openFileName(request);
    if (!path.isEmpty())
        AddAttachmentFile(path);
}

void TSMTPForm::AddAttachmentFile(const QString& path)
{
    auto* item = new QListWidgetItem(path, ListView1);
    const QIcon icon = QFileIconProvider().icon(QFileInfo(path));
    if (!icon.isNull())
        item->setIcon(icon);
}

void TSMTPForm::SetupButtonClick()
{
    TSetupDlg dialog(this);
    dialog.ServerEdit->setText(msSMTP1->Server);
    dialog.UserAddressEdit->setText(msMessage1.Sender.Address);
    dialog.UserNameEdit->setText(msMessage1.Sender.Name);
    dialog.LogFileNameEdit->setText(msSMTP1->LogFileName);
    dialog.CharSetComboBox->setCurrentIndex(msMessage1.CharSet);
    dialog.EncodingComboBox->setCurrentIndex(msMessage1.Encoding);
    if (dialog.showModal() != QDialog::Accepted)
        return;
    msSMTP1->Server = dialog.ServerEdit->text();
    msMessage1.Sender.Address = dialog.UserAddressEdit->text();
    msMessage1.Sender.Name = dialog.UserNameEdit->text();
    msSMTP1->LogFileName = dialog.LogFileNameEdit->text();
    msMessage1.CharSet = dialog.CharSetComboBox->currentIndex();
    msMessage1.Encoding = dialog.EncodingComboBox->currentIndex();
}

void TSMTPForm::EnterSendingState()
{
    m_sending = true;
    ProgressBar1->show();
    if (m_mainProgress)
        m_mainProgress->show();
    if (isVisible())
        showSendingState(true);
}

void TSMTPForm::LeaveSendingState()
{
    m_sending = false;
    ProgressBar1->hide();
    if (m_mainProgress)
        m_mainProgress->hide();
    if (m_showsSending)
        showSendingState(false);
}

void TSMTPForm::showSendingState(bool sending)
{
    m_showsSending = sending;
    for (QToolButton* b : {SendButton, CancelButton, AttachButton, SetupButton, ExitButton})
        b->setEnabled((b->property("tag").toInt() == 1) == sending);
    ListView1->setEnabled(!sending);
    SendInfoPanel->setEnabled(!sending);
    BodyMemo->setEnabled(!sending);
    for (QAction* a : {Send1, Attach1, Exit1, Setup1, Help1})
        a->setEnabled(!sending);
    Cancel1->setEnabled(sending);
    if (sending) {
        setCursor(Qt::WaitCursor);
        ListView1->setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
        ListView1->unsetCursor();
    }
}

void TSMTPForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_showsSending != m_sending)
        showSendingState(m_sending);
}

void TSMTPForm::closeEvent(QCloseEvent* event)
{
    if (sending()) {
        dialogs().showError(QStringLiteral("Transfer in Progress.  Click Cancel button first."));
        event->ignore();
        return;
    }
    guarded([this] { writeSettings(); });
    event->accept();
}

void TSMTPForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !sending())
        event->acceptProposedAction();
}

void TSMTPForm::dropEvent(QDropEvent* event)
{
    // Only the first file of a drop is taken.
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        AddAttachmentFile(urls.first().toLocalFile().left(255));
}

QString TSMTPForm::iniPath()
{
    return MailFormIni::path();
}

void TSMTPForm::readSettings()
{
    const MailFormIni::Setup setup = MailFormIni::read();
    msSMTP1->Server = setup.server;
    msMessage1.Sender.Address = setup.address;
    msMessage1.Sender.Name = setup.name;
    msSMTP1->LogFileName = setup.logFile;
    msMessage1.CharSet = setup.charSet;
    msMessage1.Encoding = setup.encoding;
}

void TSMTPForm::writeSettings() const
{
    MailFormIni::write({msSMTP1->Server, msMessage1.Sender.Address, msMessage1.Sender.Name, msSMTP1->LogFileName,
        msMessage1.CharSet, msMessage1.Encoding});
}
