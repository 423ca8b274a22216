#include "app/TftpForm1.h"

#include "app/ListEnd.h"
#include "app/ReplyCapture.h"
#include "core/Dialogs.h"
#include "net/TFTP.h"
#include "submit/SiteReport.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The hourglass for the time of a button's action.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

TftpForm1::TftpForm1(FtpFormHost& main, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , FTP1(new TFTP(this))
    , m_main(main)
{
    setObjectName(QStringLiteral("ftpForm1"));
    setWindowTitle(QStringLiteral("FTP Demo"));
    resize(470, 400);
    FTP1->setObjectName(QStringLiteral("FTP1"));
    FTP1->setTransferMode(tmBinary);

    struct Field
    {
        QLineEdit** edit;
        const char* name;
        const char* label;
        int x, y, width;
    };
    const Field fields[] = {
        {&tHost, "tHost", "&Host", 8, 8, 140},
        {&tUser, "tUser", "U&ser", 156, 8, 100},
        {&tPasswd, "tPasswd", "&Passwd", 264, 8, 100},
        {&eRemotePath, "eRemotePath", "&Remote Path:", 8, 52, 200},
        {&eRemoteFile, "eRemoteFile", "Re&moteFile", 216, 52, 148},
        {&eLocalFile, "eLocalFile", "Local&File", 8, 96, 356},
    };
    for (const Field& f : fields) {
        *f.edit = named(new QLineEdit(this), f.name);
        (*f.edit)->setGeometry(f.x, f.y + 16, f.width, 22);
        auto* label = new QLabel(QString::fromLatin1(f.label), this);
        label->setBuddy(*f.edit);
        label->setGeometry(f.x, f.y, f.width, 16);
    }
    tPasswd->setEchoMode(QLineEdit::Password);

    struct Button
    {
        QPushButton** button;
        const char* name;
        const char* caption;
    };
    const Button buttons[] = {
        {&Button2, "Button2", "&Logon"},
        {&Button3, "Button3", "L&ogoff"},
        {&Button1, "Button1", "&Change Directory"},
        {&Button4, "Button4", "&Download file"},
        {&Button5, "Button5", "&Upload file"},
        {&Button6, "Button6", "Abor&t"},
    };
    int y = 8;
    for (const Button& b : buttons) {
        *b.button = named(new QPushButton(QString::fromLatin1(b.caption), this), b.name);
        (*b.button)->setGeometry(372, y, 90, 25);
        (*b.button)->setAutoDefault(false);
        y += 30;
    }

    lTrace = named(new QListWidget(this), "lTrace");
    lTrace->setGeometry(8, 140, 356, 90);
    lTrace->addItem(QStringLiteral("trace the communiciation with the server here"));
    lTrace->addItem(QStringLiteral("Click on the ListBox below to select a file"));
    lFiles = named(new QListWidget(this), "lFiles");
    lFiles->setGeometry(8, 236, width() - 28, height() - 286);

    for (QLineEdit* edit : {tHost, tPasswd, eRemotePath})
        edit->installEventFilter(this);
    lFiles->viewport()->installEventFilter(this);
    bindEvents();
    // The client's remote file follows the box from the start.
    FTP1->setRemoteFile(eRemoteFile->text());
}

void TftpForm1::bindEvents()
{
    const auto click = [this](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    click(Button1, &TftpForm1::Button1Click);
    click(Button2, &TftpForm1::Button2Click);
    click(Button3, &TftpForm1::Button3Click);
    click(Button4, &TftpForm1::Button4Click);
    click(Button5, &TftpForm1::Button5Click);
    click(Button6, &TftpForm1::Button6Click);
    connect(eRemoteFile, &QLineEdit::textChanged, this, [this](const QString& text) { FTP1->setRemoteFile(text); });
    connect(
        lFiles, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { eRemoteFile->setText(item->text()); });

    // The client's events run inside its waits: nothing they raise may travel into the client.
    connect(FTP1, &TFTP::OnFirePITrail, this,
        [this](int direction, const QString& text) { guarded([&] { FTP1FirePITrail(direction, text); }); });
    connect(
        FTP1, &TFTP::OnError, this, [this](int code, const QString& text) { guarded([&] { FTP1Error(code, text); }); });
    connect(FTP1, &TFTP::OnStartTransfer, this, [this] { guarded([&] { FTP1StartTransfer(); }); });
    connect(FTP1, &TFTP::OnTransfer, this,
        [this](qint64 count, const QByteArray&) { guarded([&] { FTP1Transfer(count); }); });
    connect(FTP1, &TFTP::OnEndTransfer, this, [this] { guarded([&] { FTP1EndTransfer(); }); });
    connect(FTP1, &TFTP::OnDirList, this, [this](const QString& entry) { guarded([&] { FTP1DirList(entry); }); });
}

template <typename F>
NetResult TftpForm1::perform(const QString& prefix, F&& steps)
{
    NetResult result;
    try {
        result = steps();
    } catch (const EFTP&) {
        // A property the client refused (a host or folder while busy): its result says why.
        result = FTP1->result();
    }
    if (!result.ok())
        fail(prefix, result);
    return result;
}

void TftpForm1::fail(const QString& prefix, const NetResult& result)
{
    const QString text = result.message();
    m_main.setFtperrortext(text);
    m_main.setFtperror(true);
    addTrace(prefix + text);
}

void TftpForm1::showLogon()
{
    lTrace->clear();
    addTrace(QStringLiteral("Loading Winsock"));
    FTP1->setWinsockLoaded(true);
    addTrace(FTP1->WinsockInfo() + FTP1->WinsockStatus());
    lFiles->clear();
}

void TftpForm1::showTransfer(qint64 bytes)
{
    // As the client's events arrive: each at its own boundary.
    guarded([&] { FTP1StartTransfer(); });
    guarded([&] { FTP1Transfer(bytes); });
    guarded([&] { FTP1EndTransfer(); });
}

NetResult TftpForm1::Button2Click()
{
    const BusyCursor busy;
    showLogon();
    return perform(Exception, [this] {
        FTP1->setUser(tUser->text());
        FTP1->setPassword(tPasswd->text());
        FTP1->setRemoteHost(tHost->text());
        if (const NetResult loggedOn = FTP1->run(ftpLogon); !loggedOn.ok())
            return loggedOn;
        eRemotePath->setText(FTP1->RemotePath());
        return FTP1->run(ftpListDirectory);
    });
}

NetResult TftpForm1::Button5Click()
{
    return perform(Exception, [this] {
        FTP1->setLocalFile(eLocalFile->text());
        return FTP1->run(ftpUpload);
    });
}

NetResult TftpForm1::Button4Click()
{
    return perform(Exception, [this] {
        FTP1->setLocalFile(eLocalFile->text());
        return FTP1->run(ftpDownload);
    });
}

NetResult TftpForm1::Button3Click()
{
    return perform(Exception, [this] { return FTP1->run(ftpLogoff); });
}

NetResult TftpForm1::Button1Click()
{
    const NetResult changed = perform(QStringLiteral("ERR:"), [this] {
        FTP1->setRemotePath(eRemotePath->text() + QLatin1Char('/') + eRemoteFile->text());
        eRemotePath->setText(FTP1->RemotePath());
        return NetResult();
    });
    lFiles->clear();
    const NetResult listed = perform(Exception, [this] {
        eRemoteFile->setText(QString());
        FTP1->setRemoteFile(QString());
        return FTP1->run(ftpListDirectory);
    });
    // The later failure is the one the flag's text keeps.
    return listed.ok() ? changed : listed;
}

void TftpForm1::Button6Click()
{
    FTP1->setAction(ftpAbort);
}

void TftpForm1::abortTransfer()
{
    if (!FTP1->isConnected() && !FTP1->isBusy())
        return;
    // The aborted action reports its own failure; the ABOR exchange has nothing to add.
    try {
        FTP1->setAction(ftpAbort);
    } catch (const EFTP& e) {
        addTrace(Exception + e.message());
    }
}

void TftpForm1::setHost(const QString& host)
{
    tHost->setText(host);
}

void TftpForm1::setUser(const QString& user)
{
    tUser->setText(user);
}

void TftpForm1::setPassword(const QString& password)
{
    tPasswd->setText(password);
}

void TftpForm1::setLocalFile(const QString& file)
{
    eLocalFile->setText(file);
}

void TftpForm1::setRemoteFile(const QString& file)
{
    eRemoteFile->setText(file);
    // The client follows even when the text did not change.
    FTP1->setRemoteFile(file);
}

void TftpForm1::setRemotePath(const QString& path)
{
    eRemotePath->setText(path);
}

void TftpForm1::setSiteCaFile(const QString& caFile)
{
    FTP1->setCAFile(caFile.isEmpty() ? m_main.caFile() : caFile);
}

bool TftpForm1::failed() const
{
    return m_main.ftperror();
}

QString TftpForm1::failureText() const
{
    return m_main.ftperrortext();
}

void TftpForm1::clearFailure()
{
    m_main.setFtperror(false);
}

bool TftpForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == tHost || watched == tPasswd) {
                guarded([this] { Button2Click(); });
                return true;
            }
            if (watched == eRemotePath) {
                guarded([this] { Button1Click(); });
                return true;
            }
        }
    } else if (event->type() == QEvent::MouseButtonPress && watched == lFiles->viewport()) {
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            lFiles->clear();
    }
    return QWidget::eventFilter(watched, event);
}

void TftpForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The file list keeps 20 pixels to the right edge and 50 to the bottom.
    lFiles->resize(std::max(0, width() - 20 - lFiles->x()), std::max(0, height() - 50 - lFiles->y()));
}

void TftpForm1::addTrace(const QString& text)
{
    addLineAtEnd(lTrace, text);
}

void TftpForm1::traces(const QString& text)
{
    addTrace(text);
    addLineAtEnd(m_main.ftplist(), text);
}

void TftpForm1::FTP1FirePITrail(int direction, const QString& text)
{
    static const char* const prefixes[] = {"CLIENT: ", "SERVER: ", "INFO: "};
    traces(QString::fromLatin1(prefixes[std::clamp(direction, 0, 2)]) + text);
}

void TftpForm1::FTP1Error(int code, const QString& text)
{
    traces(QStringLiteral("ERR Event: ") + QString::number(code) + text);
    m_main.ftpstatus()->setText(QStringLiteral("FTP Error"));
}

void TftpForm1::FTP1StartTransfer()
{
    m_main.ftplist()->clear();
    m_transferPace.restart();
    m_untracedCount = -1;
    traces(QStringLiteral("TRANSFER BEGIN."));
    m_main.ftpstatus()->setText(QStringLiteral("Starting Transfer"));
}

void TftpForm1::FTP1Transfer(qint64 count)
{
    if (!m_transferPace.due()) {
        m_untracedCount = count;
        return;
    }
    m_untracedCount = -1;
    addTrace(QStringLiteral("TRANSFER: ") + QString::number(count) + QStringLiteral(" Bytes"));
    m_main.ftpstatus()->setText(QStringLiteral("Bytes Transfered: ") + QString::number(count));
}

void TftpForm1::FTP1EndTransfer()
{
    // The final count, when the pace held it back.
    if (m_untracedCount >= 0) {
        m_transferPace.restart();
        FTP1Transfer(m_untracedCount);
    }
    traces(QStringLiteral("TRANSFER END."));
    if (!m_main.debugmode())
        return;
    QStringList lines;
    for (int i = 0; i < m_main.ftplist()->count(); ++i)
        lines << m_main.ftplist()->item(i)->text();
    writeReplyCapture(QDir::currentPath(), QStringLiteral(".txt"), lines);
    m_main.report().reply(lines.join(QLatin1Char('\n')));
}

void TftpForm1::FTP1DirList(const QString& entry)
{
    // A list item costs far more than its text: a huge listing is shown only in its first part.
    constexpr int MaxShownEntries = 10000;
    if (lFiles->count() < MaxShownEntries)
        lFiles->addItem(entry);
    else if (lFiles->count() == MaxShownEntries)
        lFiles->addItem(QStringLiteral("(more entries not shown)"));
    m_main.ftpstatus()->setText(QStringLiteral("Getting Directory Info"));
}
