#include "app/Startup.h"

#include "app/BatchMode.h"
#include "app/HelpFile.h"
#include "app/ListingActions.h"
#include "app/QtDialogs.h"
#include "app/SiteEndpointsActions.h"
#include "app/TForm1.h"
#include "batch/BaseFolder.h"
#include "core/Dialogs.h"
#include "ui/TSplash.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFont>
#include <QIcon>
#include <QScreen>
#include <QStringList>

#include <memory>

namespace {

// The window font: "MS Sans Serif" 8 pt, with the nearest fonts this system has in its place.
void setWindowFont()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
        {QStringLiteral("Nimbus Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
            QStringLiteral("DejaVu Sans")});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    QApplication::setFont(font);
}

void centre(QWidget* window)
{
    if (const QScreen* screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

// A window's frame is known only once the window manager has framed the shown window: until then
// the window is centred by its own size, and centred again, frame included, as soon as the frame
// is there.
class Centring : public QObject
{
public:
    explicit Centring(QWidget* window)
        : QObject(window)
    {
        window->adjustSize();
        centre(window);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWidget*>(watched);
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize)
            && window->frameGeometry().size() != window->size()) {
            window->removeEventFilter(this);
            centre(window);
            deleteLater();
        }
        return false;
    }
};

// The windows of the program, created in this order at start-up.
struct Windows
{
    std::unique_ptr<TForm1> form;
    std::unique_ptr<QWidget> ftpForm;
};

// Stand-in for a driver form that is not built yet: a hidden window of the right name.
std::unique_ptr<QWidget> bareWindow(const char* name, const char* title)
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(QString::fromLatin1(title));
    return window;
}

Windows createWindows()
{
    Windows w;
    w.form = std::make_unique<TForm1>();
    new ListingActions(*w.form);
    new SiteEndpointsActions(*w.form);
    // The mail form and its setup dialog come with the main window (TForm1::SMTPForm, SetupDlg).
    w.ftpForm = bareWindow("ftpForm1", "FTP");
    return w;
}

// A folder Quillet has never used is set up when the user agrees; otherwise it is used as it is.
void offerSetUp()
{
    const QString base = QDir::currentPath();
    if (BaseFolder::isSetUp(base))
        return;
    if (dialogs().askYesNoCancel(BaseFolder::setUpQuestion(base), false) == Dialogs::Answer::Yes)
        guarded([&] { BaseFolder::setUp(base); });
}

int runWindow(QApplication& app)
{
    QtDialogs qtDialogs;
    setDialogs(&qtDialogs);
    offerSetUp();

    auto splash = std::make_unique<TSplash>(QStringLiteral("Quillet 1.20b - starting up..."));
    splash->show();
    QApplication::processEvents();

    // The application title; not a display name, which Qt would append to every window caption.
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    installHelpFile();

    Windows windows = createWindows();

    while (splash->stillShowing())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    splash.reset();

    if (!windows.form->restorePlace())
        new Centring(windows.form.get());
    guarded([&] { windows.form->openLastProgram(); });
    windows.form->show();
    const int code = app.exec();
    setDialogs(nullptr);
    return code;
}

} // namespace

int runQuillet(int argc, char** argv)
{
    // Only a command line that asks for the window shows it.
    if (const std::optional<int> code = BatchMode::fromCommandLine(argc, argv))
        return *code;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    Q_INIT_RESOURCE(icon);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillet.png")));
    setWindowFont();
    return runWindow(app);
}
