#pragma once

#include "batch/RecordFiles.h"
#include "core/TextEncoding.h"

#include <QDateTime>
#include <QLatin1StringView>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

class AppInfoPage;
class CompanyPage;
class ControlRegistry;
class OptionsPage;
class ProfileFile;
struct RecordKey;

// The window's files: the program records, the company records and the settings file under
// basedir, moved between the files and the pages' controls; and the unsaved-edit state, the
// record shown against what was last loaded or saved.
class RecordStore : public QObject
{
    Q_OBJECT

public:
    RecordStore(const ControlRegistry& controls, AppInfoPage& appInfo, CompanyPage& company, OptionsPage& options,
        const QString& basedir, QObject* parent);

    // The folder the data, cat and responses folders live in.
    const QString& basedir() const { return m_basedir; }
    void setBasedir(const QString& folder) { m_basedir = folder; }
    // The tick boxes of the sites of one's own, stored in the SITES section after the built-in ones:
    // a set box always, a clear one only where the file already has its key, so a record that
    // never had a site of one's own ticked keeps every byte.
    void setUserTickBoxes(const QStringList& boxes) { m_userTicks = boxes; }
    // basedir/data/<name><extension>
    QString dataPath(const QString& name, const QString& extension) const;
    // Windows-1252 when any file of the current program's record is in it, else UTF-8.
    TextEncoding recordEncoding() const;
    // Creates basedir/data when it is missing (one level; basedir itself must exist).
    void ensureDataFolder();

    // ---- Program records (RecordStore.cpp) ----------------------------------------------------
    // Fills the program list from apps.dat.
    void appnameEnter();
    // Loads the record of the name typed or picked, unless that would drop unsaved edits.
    void appnameChange();
    // Saves the shown program and its company.
    void savesite();

    // ---- Company records (RecordStore.cpp) ----------------------------------------------------
    void compnameEnter();
    void compnameChange();
    void savecompanyClick();
    // Adds the text of compname to the stored company list unless it is there in any case.
    void addCompanyToList();
    // Writes section COMPANY of the current company's own record file.
    void writeCompanyRecord();

    // ---- Settings (RecordStoreSettings.cpp) ---------------------------------------------------
    // Reads cat/settings.dat (and the keyring's password) into the Check / Options page.
    void readSettings();
    void savesettings();

    // ---- Unsaved edits (RecordStoreEdits.cpp) -------------------------------------------------
    // True when the shown record differs from what was last loaded or saved.
    bool hasUnsavedEdits() const;
    // The shown record is now the one on disk (after a load or a save).
    void markSaved();
    // Asks before unsaved edits are replaced or the window ends (Save / Discard / Cancel, as the
    // close prompt does); true when they may go.
    bool mayDropUnsavedEdits();

signals:
    // The shown record was loaded or saved: whether it holds unsaved edits may have changed.
    void recordSaved();

private:
    QWidget* control(QLatin1StringView name) const;
    QString programName() const;
    QString textOf(const QString& control) const;
    QStringList recordSnapshot() const;
    // True when the program has a record file.
    bool hasRecord(const QString& name) const;
    // Whether typing or picking name may load its record over the one shown.
    bool mayLoad(const QString& name);

    const ControlRegistry& m_controls;
    AppInfoPage& m_appInfo;
    CompanyPage& m_company;
    OptionsPage& m_options;
    QString m_basedir;
    RecordEncoding m_encoding;
    QString m_shownName; // the program the shown record was loaded or saved as
    QStringList m_savedSnapshot;
    QStringList m_userTicks;
};
