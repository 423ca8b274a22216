#pragma once

#include "app/ProgressPace.h"
#include "core/TextEncoding.h"
#include "submit/RunRecord.h"
#include "submit/SubmissionRun.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <span>

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class ProfileFile;
struct RecordKey;
class TFlatButton;
class THTTP;
class TLed;
class TStringView;
class TSMTPForm;
class RunResultsDialog;
class PreviewDialog;
class TSetupDlg;
class TftpForm1;

// The main window. Its controls hold the program record, the company record and the site choices:
// there is no record object apart from them. Every control is a public member named as the data files
// and the site recipes name it, and carries the same objectName, so code can also find it by its name.
//
// The window is split by area over several source files (TForm1*.cpp). Handlers may raise errors;
// the bindings made in TForm1.cpp hand every error to the general error handler, so no error ever
// crosses the Qt event loop, while callers such as the submission run still see them.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- Window state -------------------------------------------------------------------------
    QString basedir; // the folder that was current when the window was created
    bool debugmode = false;
    bool cancelflag = false;
    bool ftperror = false;
    QString ftperrortext;
    QString longdate; // release date text, e.g. "7-Mar-1999"
    TStringView* stringview; // the newest String View window (hidden at first); the run writes to it
    SubmissionRun submission; // the runs of "Save/Submit" and of the preview
    std::optional<SubmissionRun::Outcome> runOutcome; // how the last "Save/Submit" ended
    std::function<bool()> maySubmit; // asked before a run that sends; false: no run
    QString reportFile; // where runs write their report; empty: basedir/reports/<program> <time>.json
    QString lastReportPath; // the report the last run wrote
    int m_stallOverride = -1;
    int m_siteLimitOverride = -1;
    QPointer<RunResultsDialog> m_resultsDialog;
    bool m_previewing = false; // a preview run: no report, counts or results dialog
    RunRecord m_lastRun; // the outcomes of the last run that sent (a preview's are its own)
    static constexpr int DefaultStallSeconds = 120;
    THTTP* HTTP1; // the window's HTTP client
    // The mail form and its setup dialog: windows of their own (not children of this one),
    // living as long as this one.
    TSMTPForm* SMTPForm = nullptr;
    TSetupDlg* SetupDlg = nullptr;
    std::unique_ptr<TSMTPForm> m_smtpForm;
    std::unique_ptr<TSetupDlg> m_setupDlg;
    TftpForm1* ftpForm1; // the FTP driver form, hidden; the run uploads through it

    // ---- Pages --------------------------------------------------------------------------------
    QTabWidget* PageControl1; // App Info, Company Info, Sites, Submit, Check / Options
    QTabWidget* PageControl2; // General, Locations, Description
    QWidget* appinfopage;
    QWidget* companypage;
    QWidget* sitespage;
    QWidget* submitpage;
    QWidget* optionspage;
    QWidget* generalpage;
    QWidget* locationspage;
    QWidget* descriptionpage;
    QScrollArea* sitesbox;

    // ---- App Info / General -------------------------------------------------------------------
    QComboBox* appname;
    QLineEdit* char8name;
    QLineEdit* filename;
    QLineEdit* version;
    QLineEdit* month;
    QLineEdit* day;
    QLineEdit* year;
    QLabel* ldatel;
    QComboBox* platforms;
    QComboBox* diststatus;
    QLineEdit* bytesize;
    QLineEdit* instsize;
    QLineEdit* price;
    QComboBox* status;
    QLineEdit* eval;
    QLineEdit* expiredate;
    QLineEdit* specreq;
    QLineEdit* expireafter;
    QComboBox* installer;

    // ---- App Info / Locations -----------------------------------------------------------------
    QLineEdit* appurl;
    QLineEdit* dl1;
    QLineEdit* dl2;
    QLineEdit* dl3;
    QLineEdit* dl4;
    QLineEdit* dl5;
    QLineEdit* dl6;
    QLineEdit* screenshot;
    QLineEdit* localpath;
    QToolButton* browse;

    // ---- App Info / Description ---------------------------------------------------------------
    QLineEdit* shortdesc;
    QPlainTextEdit* longdesc;
    QPlainTextEdit* Memo2;

    // ---- Company Info -------------------------------------------------------------------------
    QComboBox* compname;
    QLineEdit* conname;
    QLineEdit* contitle;
    QLineEdit* conmail;
    QLineEdit* conphone;
    QLineEdit* confax;
    QLineEdit* conaddr;
    QLineEdit* concity;
    QLineEdit* constate;
    QLineEdit* conzip;
    QLineEdit* concountry;
    QLineEdit* pubpage;
    QLineEdit* pubmail;
    QPushButton* savecompany;

    // ---- Sites: one row per site of the catalogue (SiteCatalogue), its controls found by name;
    // the category lists with handlers of their own -------------------------------------------
    QComboBox* wincentpd;
    QComboBox* wcsubcat;
    QComboBox* sharedirpd1;
    QComboBox* sharedirpd2;

    // ---- Submit -------------------------------------------------------------------------------
    TFlatButton* submit;
    TFlatButton* skip;
    TFlatButton* cancel;
    TFlatButton* save;
    TFlatButton* print;
    TFlatButton* exitb;
    QLabel* currentsite;
    QLabel* runcounts; // the counts of the last run's outcomes, under the buttons
    TLed* httpled;
    TLed* ftpled;
    TLed* mailled;
    QLabel* httpstatus;
    QLabel* httpbytes;
    QLabel* mailstatus;
    QLabel* mail2;
    QLabel* ftpstatus;
    QLabel* genlabel;
    QProgressBar* ProgressBar1;
    QListWidget* ftplist;
    QListWidget* log;
    QPushButton* db; // zero-size, reachable only by Alt+D while the Submit page shows

    // ---- Check / Options ----------------------------------------------------------------------
    QListWidget* gotolist;
    QLineEdit* smtpedit;
    QLineEdit* emailedit;
    QLineEdit* nameedit;
    QLineEdit* proxyedit;
    QLineEdit* portedit;
    // Secure mail and HTTPS, below the settings panel: Security, User, Password (kept in the
    // desktop's keyring, never in the settings file) and an extra trusted authority (CA file).
    QComboBox* smtpsecurity;
    QLineEdit* smtpuser;
    QLineEdit* smtppassword;
    QLineEdit* cafileedit;
    QLineEdit* timeoutedit; // seconds a network wait may see no progress; 0: no limit

    // ---- Hidden -------------------------------------------------------------------------------
    QListWidget* xfer; // pieces of the current HTTP reply

    // ---- Menu ---------------------------------------------------------------------------------
    QAction* SaveAppData1;
    QAction* LastRunResults1; // "Last Run Results…"
    QAction* PreviewSubmission1; // "Preview Submission…"
    QAction* Exit1;
    QAction* Help2;
    QAction* QuilletHomePage1;
    QAction* BrightfenHomePage1;
    QAction* About1;

    // ---- Looking controls up by name ----------------------------------------------------------
    // The control of that objectName, or nullptr.
    QWidget* control(const QString& name) const;
    // Every named control in creation order (pages and labels excluded).
    const QList<QWidget*>& controls() const { return m_controls; }
    // The label a site row's "Update " tick box carries after that word, by site key ("tucows", "win95" …).
    QString siteLabel(const QString& siteKey) const;

    // ---- Records (TForm1Records.cpp) ----------------------------------------------------------
    void appnameEnter();
    void appnameChange();
    void savesite();
    // Rebuilds longdate from day, month and year and shows it in ldatel.
    void rebuildLongdate();
    // Creates basedir/data when it is missing (one level; basedir itself must exist).
    void ensureDataFolder();
    // basedir/data/<name><extension>
    QString dataPath(const QString& name, const QString& extension) const;
    // Windows-1252 when any file of the current program's record is in it, else UTF-8.
    TextEncoding recordEncoding() const;

    // ---- Unsaved edits (TForm1Edits.cpp) ------------------------------------------------------
    // True when the shown record differs from what was last loaded or saved.
    bool hasUnsavedEdits() const;
    // The shown record is now the one on disk (after a load or a save).
    void markSaved();
    // Asks before unsaved edits are replaced or the window ends (Save / Discard / Cancel, as the
    // close prompt does); true when they may go.
    bool mayDropUnsavedEdits();

    // ---- Input rules (TForm1Input.cpp) --------------------------------------------------------
    void char8nameExit();
    void dateExit();
    // The digit filter of day, month, year, bytesize and instsize; true when the key was eaten.
    bool digitKeyPress(QKeyEvent* event);
    void browseClick();
    void longdescwrap();
    void memo2wrap();

    // ---- Menu and window (TForm1.cpp) ---------------------------------------------------------
    void SaveAppData1Click();
    void Exit1Click();
    void exitbClick();
    void Help2Click();
    void QuilletHomePage1Click();
    void BrightfenHomePage1Click();
    void About1Click();
    // The about box's "&Debug" switch.
    void debugClick();
    void dbClick();
    // Ends the program at once: no save prompt, no settings save. Tests replace the final step.
    void endApplication();
    void setEndAction(std::function<void()> action) { m_endAction = std::move(action); }

    // ---- Company (TForm1Company.cpp) ----------------------------------------------------------
    void compnameEnter();
    void compnameChange();
    void savecompanyClick();
    // Adds the text of compname to the stored company list unless it is there in any case.
    void addCompanyToList();
    // Writes section COMPANY of the current company's own record file.
    void writeCompanyRecord();

    // ---- Settings (TForm1Settings.cpp) --------------------------------------------------------
    void getsettings();
    void savesettings();
    void FormShow();
    void FormClose();
    // Any of the five settings edits lost the focus.
    void settingsExit();

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

    // ---- Submission run (TForm1Run.cpp) -------------------------------------------------------
    void submitClick();
    void skipClick();
    void writeRunReport();
    // The results of the last run, in a dialog of their own (not modal); the dialog shown.
    RunResultsDialog* showRunResults();
    // The run as "Save/Submit" would make it, written into a preview folder instead of sent; the
    // tick boxes and the stored record are left as they were. The dialog that lists what went.
    PreviewDialog* previewSubmission();
    // A network wait saw no progress for the set time: what Skip does, with a log line saying so.
    void stallTimeout(int seconds);
    // What Skip does, with the site's log line and report giving reason.
    void timeOut(const QString& reason);
    // Overrides the Check / Options time-out for the runs of this window (batch --timeout).
    void setStallSeconds(int seconds) { m_stallOverride = seconds; }
    int stallSeconds() const;
    // Every site's time in all: ten times the stall time-out unless set (batch --site-limit); 0
    // for none. When it runs out, what the time-out does.
    void setSiteLimitSeconds(int seconds) { m_siteLimitOverride = seconds; }
    int siteLimitSeconds() const;
    void siteTimeout(int seconds);
    void cancelClick();
    // HTTP1 transfer events: reply capture and byte display. The capture keeps the last
    // ReplyCaptureLimit bytes of a reply, so an endless reply cannot exhaust memory.
    static constexpr qint64 ReplyCaptureLimit = 1024 * 1024;
    void HTTP1StartTransfer();
    void HTTP1Transfer(qint64 count, const QByteArray& piece);
    void HTTP1EndTransfer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildGeneralPage();
    void buildLocationsPage();
    void buildDescriptionPage();
    void buildCompanyPage();
    void buildSitesPage();
    void buildSubmitPage();
    void buildOptionsPage();
    void buildSecurePanel(QWidget* page);
    // Names a control, gives it its help context and makes it findable by name.
    template <typename T>
    T* named(T* widget, const char* name, int helpContext = 0)
    {
        registerControl(widget, QString::fromLatin1(name), helpContext);
        return widget;
    }
    void registerControl(QWidget* widget, const QString& name, int helpContext);
    void bindEvents();
    void onFocusIn(QWidget* widget, std::function<void()> handler);
    void onFocusOut(QWidget* widget, std::function<void()> handler);
    void writeProgramRecord();
    // Writes the controls' texts under their keys into one section of a record file.
    void writeControls(ProfileFile& file, QLatin1StringView section, std::span<const RecordKey> keys) const;
    void stopRun();
    QStringList recordSnapshot() const;
    void updateCaption();
    void watchRecordEdits();
    // True when the program has a record file.
    bool hasRecord(const QString& name) const;
    // Whether typing or picking name may load its record over the one shown.
    bool mayLoad(const QString& name);

    qint64 m_xferBytes = 0; // bytes of the reply held in xfer
    ProgressPace m_replyPace; // the reply's byte count shown a few times a second
    QList<QWidget*> m_controls;
    QHash<QString, QWidget*> m_byName;
    QHash<QString, QString> m_siteLabels;
    QHash<QObject*, std::function<void()>> m_focusIn;
    QHash<QObject*, std::function<void()>> m_focusOut;
    QList<QObject*> m_digitFields;
    QObject* m_lastEntered = nullptr; // the field whose focus-in handler ran last
    std::function<void()> m_endAction;
    bool m_ending = false;
    QString m_shownName; // the program the shown record was loaded or saved as
    QStringList m_savedSnapshot;
    bool m_captionPending = false;
};
