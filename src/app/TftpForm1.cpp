#include "app/TftpForm1.h"

#include "app/ListEnd.h"
#include "core/Dialogs.h"
#include "net/TFTP.h"

#include <QApplication>
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

} // namespace

TftpForm1::TftpForm1(FtpFormHost& main, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , FtpClientChannel(main, new TFTP(this))
{
    setObjectName(QStringLiteral("ftpForm1"));
    setWindowTitle(QStringLiteral("FTP Demo"));
    resize(470, 400);
    FTP1->setObjectName(QStringLiteral("FTP1"));

    struct Box
    {
        QLineEdit** edit;
        const char* name;
        const char* label;
        int x, y, width;
    };
    const Box fields[] = {
        {&tHost, "tHost", "&Host", 8, 8, 140},
        {&tUser, "tUser", "U&ser", 156, 8, 100},
        {&tPasswd, "tPasswd", "&Passwd", 264, 8, 100},
        {&eRemotePath, "eRemotePath", "&Remote Path:", 8, 52, 200},
        {&eRemoteFile, "eRemoteFile", "Re&moteFile", 216, 52, 148},
        {&eLocalFile, "eLocalFile", "Local&File", 8, 96, 356},
    };
    for (const Box& f : fields) {
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
}

void TftpForm1::Button6Click()
{
    FTP1->setAction(ftpAbort);
}

QLineEdit* TftpForm1::edit(Field f) const
{
    switch (f) {
    case Field::Host:
        return tHost;
    case Field::User:
        return tUser;
    case Field::Password:
        return tPasswd;
    case Field::LocalFile:
        return eLocalFile;
    case Field::RemoteFile:
        return eRemoteFile;
    case Field::RemotePath:
        break;
    }
    return eRemotePath;
}

QString TftpForm1::field(Field f) const
{
    return edit(f)->text();
}

void TftpForm1::setField(Field f, const QString& text)
{
    edit(f)->setText(text);
}

void TftpForm1::addTrace(const QString& text)
{
    addLineAtEnd(lTrace, text);
}

void TftpForm1::clearTrace()
{
    lTrace->clear();
}

void TftpForm1::addFile(const QString& entry)
{
    // A list item costs far more than its text: a huge listing is shown only in its first part.
    constexpr int MaxShownEntries = 10000;
    if (lFiles->count() < MaxShownEntries)
        lFiles->addItem(entry);
    else if (lFiles->count() == MaxShownEntries)
        lFiles->addItem(QStringLiteral("(more entries not shown)"));
}

void TftpForm1::clearFiles()
{
    lFiles->clear();
}

void TftpForm1::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
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
