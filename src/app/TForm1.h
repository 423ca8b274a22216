#pragma once

#include "app/AppInfoPage.h"
#include "app/CompanyPage.h"
#include "app/ControlRegistry.h"
#include "app/DescriptionPage.h"
#include "app/GeneralPage.h"
#include "app/GrowingControls.h"
#include "app/LocationsPage.h"
#include "app/OptionsPage.h"
#include "app/RecordStore.h"
#include "app/RunController.h"
#include "app/SitesPage.h"
#include "app/SubmitPage.h"
#include "core/TextEncoding.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QKeyEvent;
class QListWidget;
class QTabWidget;
class TStringView;

// The main window. Its controls hold the program record, the company record and the site choices:
// there is no record object apart from them. Each page is a class of its own that builds and owns
// its controls and registers each under the name the data files and the site recipes use, so code
// finds a control by its name; the window hands them out under the same names. The record store
// moves the records between the files and the controls, the run controller wires the run.
//
// Handlers may raise errors; the bindings made in TForm1.cpp hand every error to the general error
// handler, so no error ever crosses the Qt event loop, while callers such as the submission run
// still see them.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    // The client area below the menu bar as designed; the window opens at it and is never smaller.
    static constexpr QSize DesignedClientSize{598, 404};

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- Window state -------------------------------------------------------------------------
    // Puts the window, not yet shown, where it was when it last closed on this base folder; false
    // when no place is kept (or it is on no screen now).
    bool restorePlace();
    // Loads the program that was shown when the window last closed on this base folder.
    void openLastProgram();
    // The folder that was current when the window was created, unless set.
    const QString& basedir() const { return m_records->basedir(); }
    void setBasedir(const QString& folder) { m_records->setBasedir(folder); }
    bool debugmode() const { return m_debugmode; }
    void setDebugmode(bool on) { m_debugmode = on; }
    // The newest String View window (hidden at first); the run writes to it.
    TStringView* stringview() const { return m_stringview; }
    // Release date text, e.g. "7-Mar-1999".
    const QString& longdate() const { return m_appInfo->general()->longdate(); }

    // ---- The run (RunController) --------------------------------------------------------------
    RunController& run() const { return *m_run; }
    RecordStore& records() const { return *m_records; }
    bool cancelflag() const { return m_run->cancelflag(); }
    void setCancelflag(bool set) { m_run->setCancelflag(set); }
    bool ftperror() const { return m_run->ftperror(); }
    void setFtperror(bool set) { m_run->setFtperror(set); }
    const QString& ftperrortext() const { return m_run->ftperrortext(); }
    void setFtperrortext(const QString& text) { m_run->setFtperrortext(text); }
    std::optional<SubmissionRun::Outcome> runOutcome() const { return m_run->runOutcome(); }
    const QString& reportFile() const { return m_run->reportFile(); }
    void setReportFile(const QString& path) { m_run->setReportFile(path); }
    const QString& lastReportPath() const { return m_run->lastReportPath(); }
    THTTP* HTTP1() const { return m_run->HTTP1(); }
    TSMTPForm* SMTPForm() const { return m_run->SMTPForm(); }
    TSetupDlg* SetupDlg() const { return m_run->SetupDlg(); }
    TftpForm1* ftpForm1() const { return m_run->ftpForm1(); }

    // ---- Pages --------------------------------------------------------------------------------
    QTabWidget* PageControl1() const { return m_pages; } // App Info, Company Info, Sites, Submit, Check / Options
    QTabWidget* PageControl2() const { return m_appInfo->PageControl2(); } // General, Locations, Description
    AppInfoPage* appinfopage() const { return m_appInfo; }
    CompanyPage* companypage() const { return m_company; }
    SitesPage* sitespage() const { return m_sites; }
    SubmitPage* submitpage() const { return m_submit; }
    OptionsPage* optionspage() const { return m_options; }
    GeneralPage* generalpage() const { return m_appInfo->general(); }
    LocationsPage* locationspage() const { return m_appInfo->locations(); }
    DescriptionPage* descriptionpage() const { return m_appInfo->description(); }

    // ---- App Info -----------------------------------------------------------------------------
    QComboBox* appname() const { return generalpage()->appname(); }
    QLineEdit* char8name() const { return generalpage()->char8name(); }
    QLineEdit* filename() const { return generalpage()->filename(); }
    QLineEdit* version() const { return generalpage()->version(); }
    QLineEdit* month() const { return generalpage()->month(); }
    QLineEdit* day() const { return generalpage()->day(); }
    QLineEdit* year() const { return generalpage()->year(); }
    QLabel* ldatel() const { return generalpage()->ldatel(); }
    QComboBox* platforms() const { return generalpage()->platforms(); }
    QComboBox* diststatus() const { return generalpage()->diststatus(); }
    QLineEdit* bytesize() const { return generalpage()->bytesize(); }
    QLineEdit* instsize() const { return generalpage()->instsize(); }
    QLineEdit* price() const { return generalpage()->price(); }
    QComboBox* status() const { return generalpage()->status(); }
    QLineEdit* eval() const { return generalpage()->eval(); }
    QLineEdit* expiredate() const { return generalpage()->expiredate(); }
    QLineEdit* specreq() const { return generalpage()->specreq(); }
    QLineEdit* expireafter() const { return generalpage()->expireafter(); }
    QComboBox* installer() const { return generalpage()->installer(); }
    QLineEdit* appurl() const { return locationspage()->appurl(); }
    QLineEdit* dl1() const { return locationspage()->dl(1); }
    QLineEdit* dl2() const { return locationspage()->dl(2); }
    QLineEdit* dl3() const { return locationspage()->dl(3); }
    QLineEdit* dl4() const { return locationspage()->dl(4); }
    QLineEdit* dl5() const { return locationspage()->dl(5); }
    QLineEdit* dl6() const { return locationspage()->dl(6); }
    QLineEdit* screenshot() const { return locationspage()->screenshot(); }
    QLineEdit* localpath() const { return locationspage()->localpath(); }
    QToolButton* browse() const { return locationspage()->browse(); }
    QLineEdit* shortdesc() const { return descriptionpage()->shortdesc(); }
    QPlainTextEdit* longdesc() const { return descriptionpage()->longdesc(); }
    QPlainTextEdit* Memo2() const { return descriptionpage()->Memo2(); }

    // ---- Company Info -------------------------------------------------------------------------
    QComboBox* compname() const { return m_company->compname(); }
    QLineEdit* conname() const { return m_company->conname(); }
    QLineEdit* contitle() const { return m_company->contitle(); }
    QLineEdit* conmail() const { return m_company->conmail(); }
    QLineEdit* conphone() const { return m_company->conphone(); }
    QLineEdit* confax() const { return m_company->confax(); }
    QLineEdit* conaddr() const { return m_company->conaddr(); }
    QLineEdit* concity() const { return m_company->concity(); }
    QLineEdit* constate() const { return m_company->constate(); }
    QLineEdit* conzip() const { return m_company->conzip(); }
    QLineEdit* concountry() const { return m_company->concountry(); }
    QLineEdit* pubpage() const { return m_company->pubpage(); }
    QLineEdit* pubmail() const { return m_company->pubmail(); }
    QPushButton* savecompany() const { return m_company->savecompany(); }

    // ---- Sites: the category lists with handlers of their own; every row's controls by name ----
    QScrollArea* sitesbox() const { return m_sites->sitesbox(); }
    QComboBox* wincentpd() const { return m_sites->wincentpd(); }
    QComboBox* wcsubcat() const { return m_sites->wcsubcat(); }
    QComboBox* sharedirpd1() const { return m_sites->sharedirpd1(); }
    QComboBox* sharedirpd2() const { return m_sites->sharedirpd2(); }

    // ---- Submit -------------------------------------------------------------------------------
    TFlatButton* submit() const { return m_submit->submit(); }
    TFlatButton* skip() const { return m_submit->skip(); }
    TFlatButton* cancel() const { return m_submit->cancel(); }
    TFlatButton* save() const { return m_submit->save(); }
    TFlatButton* print() const { return m_submit->print(); }
    TFlatButton* exitb() const { return m_submit->exitb(); }
    QLabel* currentsite() const { return m_submit->currentsite(); }
    QLabel* runcounts() const { return m_submit->runcounts(); }
    TLed* httpled() const { return m_submit->httpled(); }
    TLed* ftpled() const { return m_submit->ftpled(); }
    TLed* mailled() const { return m_submit->mailled(); }
    QLabel* httpstatus() const { return m_submit->httpstatus(); }
    QLabel* httpbytes() const { return m_submit->httpbytes(); }
    QLabel* mailstatus() const { return m_submit->mailstatus(); }
    QLabel* mail2() const { return m_submit->mail2(); }
    QLabel* ftpstatus() const { return m_submit->ftpstatus(); }
    QLabel* genlabel() const { return m_submit->genlabel(); }
    QProgressBar* ProgressBar1() const { return m_submit->ProgressBar1(); }
    QListWidget* ftplist() const { return m_submit->ftplist(); }
    QListWidget* log() const { return m_submit->log(); }
    QPushButton* db() const { return m_submit->db(); }

    // ---- Check / Options ----------------------------------------------------------------------
    QListWidget* gotolist() const { return m_options->gotolist(); }
    QLineEdit* smtpedit() const { return m_options->smtpedit(); }
    QLineEdit* emailedit() const { return m_options->emailedit(); }
    QLineEdit* nameedit() const { return m_options->nameedit(); }
    QLineEdit* proxyedit() const { return m_options->proxyedit(); }
    QLineEdit* portedit() const { return m_options->portedit(); }
    QComboBox* smtpsecurity() const { return m_options->smtpsecurity(); }
    QLineEdit* smtpuser() const { return m_options->smtpuser(); }
    QLineEdit* smtppassword() const { return m_options->smtppassword(); }
    QLineEdit* cafileedit() const { return m_options->cafileedit(); }
    QLineEdit* timeoutedit() const { return m_options->timeoutedit(); }

    // ---- Hidden: pieces of the current HTTP reply ---------------------------------------------
    QListWidget* xfer() const { return m_xfer; }

    // ---- Menu ---------------------------------------------------------------------------------
    QAction* SaveAppData1() const { return m_actions.value(QStringLiteral("SaveAppData1")); }
    QAction* LastRunResults1() const { return m_actions.value(QStringLiteral("LastRunResults1")); }
    QAction* SubmissionHistory1() const { return m_actions.value(QStringLiteral("SubmissionHistory1")); }
    QAction* PreviewSubmission1() const { return m_actions.value(QStringLiteral("PreviewSubmission1")); }
    QAction* Exit1() const { return m_actions.value(QStringLiteral("Exit1")); }
    QAction* Help2() const { return m_actions.value(QStringLiteral("Help2")); }
    QAction* QuilletHomePage1() const { return m_actions.value(QStringLiteral("QuilletHomePage1")); }
    QAction* BrightfenHomePage1() const { return m_actions.value(QStringLiteral("BrightfenHomePage1")); }
    QAction* About1() const { return m_actions.value(QStringLiteral("About1")); }

    // ---- Looking controls up by name ----------------------------------------------------------
    // The control of that objectName, or nullptr.
    QWidget* control(const QString& name) const { return m_controls.control(name); }
    // Every named control in creation order (pages and labels excluded).
    const QList<QWidget*>& controls() const { return m_controls.controls(); }
    // The label a site row's "Update " tick box carries after that word, by site key ("tucows", "win95" …).
    QString siteLabel(const QString& siteKey) const { return m_sites->siteLabel(siteKey); }

    // ---- Records (RecordStore) ----------------------------------------------------------------
    void appnameEnter() { m_records->appnameEnter(); }
    void appnameChange() { m_records->appnameChange(); }
    void savesite() { m_records->savesite(); }
    void rebuildLongdate() { generalpage()->rebuildLongdate(); }
    void ensureDataFolder() { m_records->ensureDataFolder(); }
    QString dataPath(const QString& name, const QString& extension) const
    {
        return m_records->dataPath(name, extension);
    }
    TextEncoding recordEncoding() const { return m_records->recordEncoding(); }
    bool hasUnsavedEdits() const { return m_records->hasUnsavedEdits(); }
    void markSaved() { m_records->markSaved(); }
    bool mayDropUnsavedEdits() { return m_records->mayDropUnsavedEdits(); }
    void compnameEnter() { m_records->compnameEnter(); }
    void compnameChange() { m_records->compnameChange(); }
    void savecompanyClick() { m_records->savecompanyClick(); }
    void addCompanyToList() { m_records->addCompanyToList(); }
    void writeCompanyRecord() { m_records->writeCompanyRecord(); }
    // Reads the settings into the Check / Options page and hands the network ones to the clients.
    void getsettings();
    void savesettings() { m_records->savesettings(); }
    void FormShow() { getsettings(); }
    void FormClose() { savesettings(); }
    // Any of the settings edits lost the focus.
    void settingsExit() { savesettings(); }

    // ---- Input rules --------------------------------------------------------------------------
    void char8nameExit() { generalpage()->char8nameExit(); }
    void dateExit() { rebuildLongdate(); }
    // The digit filter of day, month, year, bytesize and instsize; true when the key was eaten.
    bool digitKeyPress(QKeyEvent* event);
    // Picks the program file and offers its size as the File Size (asking before replacing one).
    void browseClick();
    void longdescwrap() { descriptionpage()->longdescwrap(); }
    void memo2wrap() { descriptionpage()->memo2wrap(); }

    // ---- Menu and window (TForm1.cpp) ---------------------------------------------------------
    void SaveAppData1Click();
    void Exit1Click();
    void exitbClick();
    void Help2Click();
    // The guide's section (its anchor) about the page shown.
    QString helpSection() const;
    void QuilletHomePage1Click();
    void BrightfenHomePage1Click();
    void About1Click();
    // The about box's "&Debug" switch.
    void debugClick();
    void dbClick();
    // Ends the program at once: no save prompt, no settings save. Tests replace the final step.
    void endApplication();
    void setEndAction(std::function<void()> action) { m_endAction = std::move(action); }

    // ---- Category lists and site links (TForm1Categories.cpp) ---------------------------------
    // One handler for every ordinary category pick list: reload its items from its category file.
    void categoryEnter(QComboBox* box);
    void sharedirpd2Enter();
    void wcsubcatEnter();
    void PageControl1Enter();
    void gotolistDblClick();
    // Hands an address to the web browser.
    void openAddress(const QString& address);

    // ---- Run log and closing (TForm1Log.cpp) --------------------------------------------------
    void saveClick();
    void printClick();
    // The close prompt; true when the window may close.
    bool FormCloseQuery();

    // ---- Submission run (RunController) -------------------------------------------------------
    void submitClick() { m_run->submitClick(); }
    void skipClick() { m_run->skipClick(); }
    void cancelClick() { m_run->cancelClick(); }
    void writeRunReport() { m_run->writeRunReport(); }
    RunResultsDialog* showRunResults() { return m_run->showRunResults(); }
    PreviewDialog* previewSubmission() { return m_run->previewSubmission(); }
    void setStallSeconds(int seconds) { m_run->setStallSeconds(seconds); }
    int stallSeconds() const { return m_run->stallSeconds(); }
    void setSiteLimitSeconds(int seconds) { m_run->setSiteLimitSeconds(seconds); }
    int siteLimitSeconds() const { return m_run->siteLimitSeconds(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void bindEvents();
    void onFocusIn(QWidget* widget, std::function<void()> handler);
    void onFocusOut(QWidget* widget, std::function<void()> handler);
    void updateCaption();
    void watchRecordEdits();
    // The Sites page's rows show what each site last got of the program shown.
    void showSiteHistory();

    ControlRegistry m_controls;
    GrowingControls m_growing;
    QTabWidget* m_pages;
    AppInfoPage* m_appInfo;
    CompanyPage* m_company;
    SitesPage* m_sites;
    SubmitPage* m_submit;
    OptionsPage* m_options;
    QListWidget* m_xfer;
    QHash<QString, QAction*> m_actions;
    RecordStore* m_records;
    RunController* m_run;
    bool m_debugmode = false;
    TStringView* m_stringview;

    QHash<QObject*, std::function<void()>> m_focusIn;
    QHash<QObject*, std::function<void()>> m_focusOut;
    QList<QObject*> m_digitFields;
    QObject* m_lastEntered = nullptr; // the field whose focus-in handler ran last
    std::function<void()> m_endAction;
    bool m_ending = false;
    bool m_captionPending = false;
};
