#include "app/TForm1.h"
#include "app/TSMTPForm.h"
#include "app/TSetupDlg.h"

#include "app/CategoryFiles.h"
#include "app/HelpFile.h"
#include "app/TStringView.h"
#include "app/TftpForm1.h"
#include "core/Dialogs.h"
#include "net/NetworkWait.h"
#include "net/THTTP.h"
#include "ui/TAboutBox.h"
#include "ui/TFlatButton.h"
#include "ui/TLed.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

const QString Caption = QStringLiteral("Quillet 1.20b");
const QString QuilletHomePage = QStringLiteral("https://quillet.example/");
const QString BrightfenHomePage = QStringLiteral("https://brightfen.example/");

// Wraps a handler for a Qt connection: whatever it raises goes to the general error handler.
template <typename F>
auto atBoundary(F f)
{
    return [f] { guarded(f); };
}

// Focus changes caused by another window (a message box, a drop-down list's popup) are not
// the user moving between fields.
bool movesBetweenFields(const QEvent* event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , basedir(QDir::currentPath())
    , HTTP1(new THTTP(this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Caption);
    // Customised, so that the window manager offers no maximise button for the fixed-size window.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    // The client area below the menu bar is 598 by 404 and the window cannot be resized.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(598, 404);
    setCentralWidget(client);

    PageControl1 = named(new QTabWidget(client), "PageControl1");
    PageControl1->setGeometry(0, 0, 598, 404);
    appinfopage = new QWidget;
    companypage = new QWidget;
    sitespage = new QWidget;
    submitpage = new QWidget;
    optionspage = new QWidget;
    PageControl1->addTab(appinfopage, QStringLiteral("App Info"));
    PageControl1->addTab(companypage, QStringLiteral("Company Info"));
    PageControl1->addTab(sitespage, QStringLiteral("Sites"));
    PageControl1->addTab(submitpage, QStringLiteral("Submit"));
    PageControl1->addTab(optionspage, QStringLiteral("Check / Options"));
    // A click on a page tab gives the page control the focus, which reloads the site links.
    PageControl1->tabBar()->setFocusPolicy(Qt::StrongFocus);

    PageControl2 = named(new QTabWidget(appinfopage), "PageControl2");
    PageControl2->setGeometry(4, 4, 586, 370);
    generalpage = new QWidget;
    locationspage = new QWidget;
    descriptionpage = new QWidget;
    PageControl2->addTab(generalpage, QStringLiteral("General"));
    PageControl2->addTab(locationspage, QStringLiteral("Locations"));
    PageControl2->addTab(descriptionpage, QStringLiteral("Description"));

    const QPair<QWidget*, const char*> pages[] = {
        {appinfopage, "appinfopage"},
        {companypage, "companypage"},
        {sitespage, "sitespage"},
        {submitpage, "submitpage"},
        {optionspage, "optionspage"},
        {generalpage, "generalpage"},
        {locationspage, "locationspage"},
        {descriptionpage, "descriptionpage"},
    };
    for (const auto& [page, name] : pages)
        page->setObjectName(QString::fromLatin1(name));

    buildMenu();
    buildGeneralPage();
    buildLocationsPage();
    buildDescriptionPage();
    buildCompanyPage();
    buildSitesPage();
    buildSubmitPage();
    buildOptionsPage();

    xfer = named(new QListWidget(client), "xfer");
    xfer->hide();
    // The hidden String View window the run writes to until Alt+D opens a newer one.
    stringview = new TStringView(this);

    PageControl1->setCurrentWidget(appinfopage);
    PageControl2->setCurrentWidget(generalpage);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    m_smtpForm = std::make_unique<TSMTPForm>();
    SMTPForm = m_smtpForm.get();
    SMTPForm->setMainWindowMirrors(mail2, ProgressBar1);
    m_setupDlg = std::make_unique<TSetupDlg>();
    SetupDlg = m_setupDlg.get();
    ftpForm1 = new TftpForm1(*this, this);

    m_endAction = [] { QCoreApplication::exit(0); };
    bindEvents();
    watchRecordEdits();
}

TForm1::~TForm1() = default;

void TForm1::registerControl(QWidget* widget, const QString& name, int helpContext)
{
    widget->setObjectName(name);
    if (helpContext)
        widget->setProperty("helpContext", helpContext);
    m_controls.append(widget);
    m_byName.insert(name, widget);
}

QWidget* TForm1::control(const QString& name) const
{
    return m_byName.value(name);
}

QString TForm1::siteLabel(const QString& siteKey) const
{
    return m_siteLabels.value(siteKey);
}

void TForm1::buildMenu()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    SaveAppData1 = file->addAction(QStringLiteral("Save App Data"));
    LastRunResults1 = file->addAction(QStringLiteral("Last Run Results…"));
    PreviewSubmission1 = file->addAction(QStringLiteral("Preview Submission…"));
    file->addSeparator();
    Exit1 = file->addAction(QStringLiteral("E&xit"));
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    Help2 = help->addAction(QStringLiteral("&Help"));
    QuilletHomePage1 = help->addAction(QStringLiteral("Quillet Home Page"));
    BrightfenHomePage1 = help->addAction(QStringLiteral("Brightfen Home Page"));
    help->addSeparator();
    About1 = help->addAction(QStringLiteral("&About"));

    const QPair<QAction*, const char*> actions[] = {
        {SaveAppData1, "SaveAppData1"},
        {LastRunResults1, "LastRunResults1"},
        {PreviewSubmission1, "PreviewSubmission1"},
        {Exit1, "Exit1"},
        {Help2, "Help2"},
        {QuilletHomePage1, "QuilletHomePage1"},
        {BrightfenHomePage1, "BrightfenHomePage1"},
        {About1, "About1"},
    };
    for (const auto& [action, name] : actions)
        action->setObjectName(QString::fromLatin1(name));
}

void TForm1::onFocusIn(QWidget* widget, std::function<void()> handler)
{
    m_focusIn.insert(widget, std::move(handler));
    widget->installEventFilter(this);
}

void TForm1::onFocusOut(QWidget* widget, std::function<void()> handler)
{
    m_focusOut.insert(widget, std::move(handler));
    widget->installEventFilter(this);
}

void TForm1::bindEvents()
{
    // Records and company: the change handlers follow the user's typing and picking only, so that
    // putting a loaded value into a box never starts another load.
    onFocusIn(appname, [this] { appnameEnter(); });
    connect(appname->lineEdit(), &QLineEdit::textEdited, this, atBoundary([this] { appnameChange(); }));
    connect(appname, &QComboBox::textActivated, this, atBoundary([this] { appnameChange(); }));
    onFocusIn(compname, [this] { compnameEnter(); });
    connect(compname->lineEdit(), &QLineEdit::textEdited, this, atBoundary([this] { compnameChange(); }));
    connect(compname, &QComboBox::textActivated, this, atBoundary([this] { compnameChange(); }));
    connect(savecompany, &QPushButton::clicked, this, atBoundary([this] { savecompanyClick(); }));

    // Input rules.
    onFocusOut(char8name, [this] { char8nameExit(); });
    for (QLineEdit* field : {day, month, year}) {
        onFocusOut(field, [this] { dateExit(); });
        m_digitFields.append(field);
    }
    for (QLineEdit* field : {bytesize, instsize}) {
        m_digitFields.append(field);
        field->installEventFilter(this);
    }
    connect(browse, &QToolButton::clicked, this, atBoundary([this] { browseClick(); }));

    // Category lists and site links.
    for (const QString& name : CategoryFiles::controls()) {
        auto* box = static_cast<QComboBox*>(control(name));
        if (box == sharedirpd1 || box == sharedirpd2)
            onFocusIn(box, [this] { sharedirpd2Enter(); });
        else
            onFocusIn(box, [this, box] { categoryEnter(box); });
    }
    onFocusIn(wcsubcat, [this] { wcsubcatEnter(); });
    onFocusIn(PageControl1->tabBar(), [this] { PageControl1Enter(); });
    gotolist->viewport()->installEventFilter(this);

    // Settings.
    for (QLineEdit* field : {smtpedit, emailedit, nameedit, proxyedit, portedit, timeoutedit})
        onFocusOut(field, [this] { settingsExit(); });

    // Submit page.
    connect(submit, &QPushButton::clicked, this, atBoundary([this] { submitClick(); }));
    connect(skip, &QPushButton::clicked, this, atBoundary([this] { skipClick(); }));
    connect(cancel, &QPushButton::clicked, this, atBoundary([this] { cancelClick(); }));
    connect(save, &QPushButton::clicked, this, atBoundary([this] { saveClick(); }));
    connect(print, &QPushButton::clicked, this, atBoundary([this] { printClick(); }));
    connect(exitb, &QPushButton::clicked, this, atBoundary([this] { exitbClick(); }));
    connect(db, &QPushButton::clicked, this, atBoundary([this] { dbClick(); }));

    // HTTP client.
    connect(HTTP1, &THTTP::OnStartTransfer, this, atBoundary([this] { HTTP1StartTransfer(); }));
    connect(HTTP1, &THTTP::OnTransfer, this,
        [this](qint64 count, const QByteArray& piece) { guarded([&] { HTTP1Transfer(count, piece); }); });
    connect(HTTP1, &THTTP::OnEndTransfer, this, atBoundary([this] { HTTP1EndTransfer(); }));

    // Menu.
    connect(SaveAppData1, &QAction::triggered, this, atBoundary([this] { SaveAppData1Click(); }));
    connect(LastRunResults1, &QAction::triggered, this, atBoundary([this] { showRunResults(); }));
    connect(PreviewSubmission1, &QAction::triggered, this, atBoundary([this] { previewSubmission(); }));
    connect(Exit1, &QAction::triggered, this, atBoundary([this] { Exit1Click(); }));
    connect(Help2, &QAction::triggered, this, atBoundary([this] { Help2Click(); }));
    connect(QuilletHomePage1, &QAction::triggered, this, atBoundary([this] { QuilletHomePage1Click(); }));
    connect(BrightfenHomePage1, &QAction::triggered, this, atBoundary([this] { BrightfenHomePage1Click(); }));
    connect(About1, &QAction::triggered, this, atBoundary([this] { About1Click(); }));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        // The window's first focus (on activation) enters its field too; the focus coming back to the
        // field it left for a message box or a drop-down list does not.
        if (movesBetweenFields(event) || watched != m_lastEntered) {
            m_lastEntered = watched;
            if (auto handler = m_focusIn.find(watched); handler != m_focusIn.end())
                guarded(*handler);
        }
        break;
    case QEvent::FocusOut:
        if (movesBetweenFields(event)) {
            if (auto handler = m_focusOut.find(watched); handler != m_focusOut.end())
                guarded(*handler);
        }
        break;
    case QEvent::KeyPress:
        if (m_digitFields.contains(watched))
            return digitKeyPress(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == gotolist->viewport())
            guarded([this] { gotolistDblClick(); });
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        guarded([this] { FormShow(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // A close request ends the network wait in progress even when the user then keeps the window.
    interruptNetworkWaits();
    if (!m_ending) {
        bool mayClose = false;
        // A failed save in the prompt keeps the window open, so nothing unsaved is lost.
        guarded([&] { mayClose = FormCloseQuery(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
        guarded([this] { FormClose(); });
    }
    stopRun();
    event->accept();
}

void TForm1::stopRun()
{
    // A run in progress must not go on submitting behind a closed window: its waits end now and
    // it stops at its next cancel test.
    cancelflag = true;
    interruptNetworkWaits();
}

void TForm1::endApplication()
{
    m_ending = true;
    close();
    m_endAction();
}

void TForm1::SaveAppData1Click()
{
    savesite();
}

void TForm1::Exit1Click()
{
    if (mayDropUnsavedEdits())
        endApplication();
}

void TForm1::exitbClick()
{
    if (mayDropUnsavedEdits())
        endApplication();
}

void TForm1::Help2Click()
{
    openHelpFile(this);
}

void TForm1::QuilletHomePage1Click()
{
    openAddress(QuilletHomePage);
}

void TForm1::BrightfenHomePage1Click()
{
    openAddress(BrightfenHomePage);
}

void TForm1::About1Click()
{
    TAboutBox box(Caption, this);
    connect(&box, &TAboutBox::debugClicked, this, atBoundary([this] { debugClick(); }));
    box.exec();
}

void TForm1::debugClick()
{
    debugmode = !debugmode;
    dialogs().showMessage(debugmode ? QStringLiteral("Debug Mode ON") : QStringLiteral("Debug Mode Off"));
}

void TForm1::dbClick()
{
    if (!debugmode)
        return;
    // Earlier String View windows stay open; the run writes to the newest.
    stringview = new TStringView(this);
    stringview->show();
}
