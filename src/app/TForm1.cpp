#include "app/TForm1.h"

#include "app/CategoryFiles.h"
#include "app/ControlText.h"
#include "app/HelpFile.h"
#include "app/TStringView.h"
#include "app/WindowPlace.h"
#include "batch/InputRules.h"
#include "core/Dialogs.h"
#include "net/NetworkWait.h"
#include "ui/TAboutBox.h"
#include "ui/TFlatButton.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
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
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Caption);

    // The client area below the menu bar opens at its designed size, never smaller; the lists and
    // memos take the room of a larger window, every other control keeps its place.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setMinimumSize(DesignedClientSize);
    client->resize(DesignedClientSize);
    client->installEventFilter(this);
    setCentralWidget(client);

    m_pages = m_controls.named(new QTabWidget(client), "PageControl1");
    m_pages->setGeometry(QRect(QPoint(0, 0), DesignedClientSize));
    buildMenu();
    // Each page is built inside the window, so its fields take their places in the window's tab
    // order as they are made.
    m_appInfo = new AppInfoPage(m_controls, m_pages);
    m_pages->addTab(m_appInfo, QStringLiteral("App Info"));
    m_company = new CompanyPage(m_controls, m_pages);
    m_pages->addTab(m_company, QStringLiteral("Company Info"));
    m_sites = new SitesPage(m_controls, m_pages);
    m_pages->addTab(m_sites, QStringLiteral("Sites"));
    m_submit = new SubmitPage(m_controls, m_pages);
    m_pages->addTab(m_submit, QStringLiteral("Submit"));
    m_options = new OptionsPage(m_controls, m_pages);
    m_pages->addTab(m_options, QStringLiteral("Check / Options"));
    // A click on a page tab gives the page control the focus, which reloads the site links.
    m_pages->tabBar()->setFocusPolicy(Qt::StrongFocus);

    m_xfer = m_controls.named(new QListWidget(client), "xfer");
    m_xfer->hide();
    // The hidden String View window the run writes to until Alt+D opens a newer one.
    m_stringview = new TStringView(this);

    m_pages->setCurrentWidget(m_appInfo);
    m_appInfo->PageControl2()->setCurrentWidget(m_appInfo->general());
    m_growing.add(m_pages, GrowingControls::Both);
    m_appInfo->addGrowing(m_growing);
    m_sites->addGrowing(m_growing);
    m_submit->addGrowing(m_growing);
    resize(sizeHint());

    m_records = new RecordStore(m_controls, *m_appInfo, *m_company, *m_options, QDir::currentPath(), this);
    m_records->setUserTickBoxes(m_sites->userTickBoxes());
    m_run = new RunController(*this);

    m_endAction = [] { QCoreApplication::exit(0); };
    bindEvents();
    watchRecordEdits();
    showSiteHistory();
}

void TForm1::showSiteHistory()
{
    m_sites->setHistorySource([this] {
        const QString program = appname()->currentText();
        QHash<QString, RunHistory::Receipt> receipts;
        if (!program.trimmed().isEmpty())
            receipts = RunHistory::lastReceipts(RunHistory::runsOf(basedir(), program));
        return std::pair(program, receipts);
    });
    connect(m_records, &RecordStore::recordSaved, m_sites, &SitesPage::historyChanged);
    connect(m_run, &RunController::runEnded, m_sites, &SitesPage::historyChanged);
}

TForm1::~TForm1()
{
    // The run's channels go while the pages they report to are still there.
    delete m_run;
}

void TForm1::buildMenu()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    struct Item
    {
        QMenu* menu;
        const char* name;
        const char* text;
        bool separatorBefore;
    };
    const Item items[] = {
        {file, "SaveAppData1", "&Save App Data", false},
        {file, "LastRunResults1", "&Last Run Results…", false},
        {file, "SubmissionHistory1", "Submission &History…", false},
        {file, "PreviewSubmission1", "&Preview Submission…", false},
        {file, "Exit1", "E&xit", true},
        {help, "Help2", "&Help", false},
        {help, "QuilletHomePage1", "&Quillet Home Page", false},
        {help, "BrightfenHomePage1", "&Brightfen Home Page", false},
        {help, "About1", "&About", true},
    };
    for (const Item& item : items) {
        if (item.separatorBefore)
            item.menu->addSeparator();
        QAction* action = item.menu->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        m_actions.insert(action->objectName(), action);
    }
    Exit1()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    SaveAppData1()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Help2()->setShortcut(QKeySequence(Qt::Key_F1));
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
    onFocusIn(appname(), [this] { appnameEnter(); });
    connect(appname()->lineEdit(), &QLineEdit::textEdited, this, atBoundary([this] { appnameChange(); }));
    connect(appname(), &QComboBox::textActivated, this, atBoundary([this] { appnameChange(); }));
    onFocusIn(compname(), [this] { compnameEnter(); });
    connect(compname()->lineEdit(), &QLineEdit::textEdited, this, atBoundary([this] { compnameChange(); }));
    connect(compname(), &QComboBox::textActivated, this, atBoundary([this] { compnameChange(); }));
    connect(savecompany(), &QPushButton::clicked, this, atBoundary([this] { savecompanyClick(); }));

    // Input rules.
    onFocusOut(char8name(), [this] { char8nameExit(); });
    for (QLineEdit* field : generalpage()->dateFields())
        onFocusOut(field, [this] { dateExit(); });
    for (QLineEdit* field : generalpage()->digitFields()) {
        m_digitFields.append(field);
        field->installEventFilter(this);
    }
    connect(browse(), &QToolButton::clicked, this, atBoundary([this] { browseClick(); }));

    // Category lists and site links.
    for (const QString& name : CategoryFiles::controls()) {
        auto* box = static_cast<QComboBox*>(control(name));
        if (box == sharedirpd1() || box == sharedirpd2())
            onFocusIn(box, [this] { sharedirpd2Enter(); });
        else
            onFocusIn(box, [this, box] { categoryEnter(box); });
    }
    onFocusIn(wcsubcat(), [this] { wcsubcatEnter(); });
    onFocusIn(PageControl1()->tabBar(), [this] { PageControl1Enter(); });
    gotolist()->viewport()->installEventFilter(this);

    // Settings.
    for (QLineEdit* field : m_options->settingsEdits())
        onFocusOut(field, [this] { settingsExit(); });
    connect(m_options->cafilebrowse(), &QToolButton::clicked, this, atBoundary([this] {
        if (m_options->cafilebrowseClick())
            savesettings();
    }));

    // Submit page.
    connect(submit(), &QPushButton::clicked, this, atBoundary([this] { submitClick(); }));
    connect(skip(), &QPushButton::clicked, this, atBoundary([this] { skipClick(); }));
    connect(cancel(), &QPushButton::clicked, this, atBoundary([this] { cancelClick(); }));
    connect(save(), &QPushButton::clicked, this, atBoundary([this] { saveClick(); }));
    connect(print(), &QPushButton::clicked, this, atBoundary([this] { printClick(); }));
    connect(exitb(), &QPushButton::clicked, this, atBoundary([this] { exitbClick(); }));
    connect(db(), &QPushButton::clicked, this, atBoundary([this] { dbClick(); }));

    // Menu.
    connect(SaveAppData1(), &QAction::triggered, this, atBoundary([this] { SaveAppData1Click(); }));
    connect(LastRunResults1(), &QAction::triggered, this, atBoundary([this] { showRunResults(); }));
    connect(SubmissionHistory1(), &QAction::triggered, this, atBoundary([this] { m_run->showSubmissionHistory(); }));
    connect(PreviewSubmission1(), &QAction::triggered, this, atBoundary([this] { previewSubmission(); }));
    connect(Exit1(), &QAction::triggered, this, atBoundary([this] { Exit1Click(); }));
    connect(Help2(), &QAction::triggered, this, atBoundary([this] { Help2Click(); }));
    connect(QuilletHomePage1(), &QAction::triggered, this, atBoundary([this] { QuilletHomePage1Click(); }));
    connect(BrightfenHomePage1(), &QAction::triggered, this, atBoundary([this] { BrightfenHomePage1Click(); }));
    connect(About1(), &QAction::triggered, this, atBoundary([this] { About1Click(); }));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == centralWidget())
            m_growing.apply(centralWidget()->size() - DesignedClientSize);
        break;
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
        if (watched == gotolist()->viewport())
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
    guarded([this] {
        WindowPlace::Place place = WindowPlace::of(*this);
        const QString shown = appname()->currentText();
        if (!shown.isEmpty() && QFileInfo(dataPath(shown, QStringLiteral(".dat"))).isFile())
            place.program = shown;
        WindowPlace::write(basedir(), place);
    });
    m_run->stop();
    event->accept();
}

void TForm1::endApplication()
{
    m_ending = true;
    close();
    m_endAction();
}

bool TForm1::restorePlace()
{
    return WindowPlace::restore(*this, WindowPlace::read(basedir()));
}

void TForm1::openLastProgram()
{
    const QString name = WindowPlace::read(basedir()).program;
    if (name.isEmpty() || !QFileInfo(dataPath(name, QStringLiteral(".dat"))).isFile())
        return;
    setControlText(appname(), name);
    appnameChange();
}

void TForm1::browseClick()
{
    locationspage()->browseClick();
    const QFileInfo file(localpath()->text());
    if (!file.isFile())
        return;
    const QString size = QString::number(file.size());
    const QString typed = bytesize()->text();
    if (typed == size)
        return;
    if (!typed.isEmpty()
        && dialogs().askYesNoCancel(
               QStringLiteral("%1 is %2 bytes. Put that into File Size?").arg(file.fileName(), size), false)
            != Dialogs::Answer::Yes)
        return;
    bytesize()->setText(size);
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
    openHelpFile(this, helpSection());
}

QString TForm1::helpSection() const
{
    // The guide's sections are named after the pages.
    const QWidget* page = m_pages->currentWidget();
    if (page == m_appInfo)
        return QStringLiteral("appinfo");
    if (page == m_company)
        return QStringLiteral("company");
    if (page == m_sites)
        return QStringLiteral("sites");
    if (page == m_submit)
        return QStringLiteral("submit");
    return QStringLiteral("options");
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
    m_debugmode = !m_debugmode;
    dialogs().showMessage(m_debugmode ? QStringLiteral("Debug Mode ON") : QStringLiteral("Debug Mode Off"));
}

void TForm1::dbClick()
{
    if (!m_debugmode)
        return;
    // Earlier String View windows stay open; the run writes to the newest.
    m_stringview = new TStringView(this);
    m_stringview->show();
}

void TForm1::getsettings()
{
    m_records->readSettings();
    // The port is converted last, so a bad value already shows in its field when the error comes.
    m_run->applyNetworkSettings();
}

bool TForm1::digitKeyPress(QKeyEvent* event)
{
    // Only typed characters are filtered: keys with Ctrl or Alt (paste, menu accelerators) and
    // keys that type nothing printable (Tab, arrows) pass.
    const QString typed = event->text();
    if (typed.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QChar c = typed.front();
    if (passesDigitFilter(c) || !c.isPrint())
        return false;
    dialogs().beep();
    return true;
}

void TForm1::updateCaption()
{
    // The comparison reads every memo: during a run it waits for the run's end, where the run
    // controller's runEnded brings the caption up to date.
    if (m_run->submission().isRunning()) {
        m_captionPending = true;
        return;
    }
    m_captionPending = false;
    setWindowTitle(hasUnsavedEdits() ? Caption + QStringLiteral(" *") : Caption);
}

void TForm1::watchRecordEdits()
{
    connect(m_records, &RecordStore::recordSaved, this, [this] { updateCaption(); });
    connect(m_run, &RunController::runEnded, this, [this] {
        if (m_captionPending)
            updateCaption();
    });
    // Many controls change at once when a record loads: the caption is brought up to date once,
    // when the change is over.
    auto schedule = [this] {
        if (!m_captionPending) {
            m_captionPending = true;
            QTimer::singleShot(0, this, [this] { updateCaption(); });
        }
    };
    for (QWidget* widget : controls()) {
        if (widget == appname())
            continue;
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            connect(edit, &QLineEdit::textChanged, this, schedule);
        else if (auto* box = qobject_cast<QComboBox*>(widget))
            connect(box, &QComboBox::currentTextChanged, this, schedule);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
            connect(memo, &QPlainTextEdit::textChanged, this, schedule);
        else if (auto* tick = qobject_cast<QCheckBox*>(widget))
            connect(tick, &QCheckBox::toggled, this, schedule);
    }
    markSaved();
}
