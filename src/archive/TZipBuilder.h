#pragma once

#include "archive/ZipEntryList.h"

#include <QFlags>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

// The zip component: builds archives through the zip library libqzip.so, loaded at run time along
// the executable's library path (beside it in the build, lib/quillet when installed), and keeps the entry list of the
// archive ZipFilename names. It does no compression itself; it fills the library's parameter block
// (archive/ZipLibInterface.h), calls "ZipLibExec" and relays the library's callbacks as OnProgress and OnMessage.
//
// Problems with the libraries, the arguments and the archive name are shown in message boxes
// (core's Dialogs) and never raised; reading a damaged archive's entry list raises QuilletError.
class TZipBuilder : public QObject
{
    Q_OBJECT

public:
    enum AddOption {
        AddDirNames = 1,
        AddRecurseDirs = 2,
        AddMove = 4,
        AddFreshen = 8,
        AddUpdate = 16,
        AddZipTime = 32,
        AddForceDOS = 64,
        AddHiddenFiles = 128,
    };
    Q_DECLARE_FLAGS(AddOptionSet, AddOption)

    enum ExtrOption {
        ExtrDirNames = 1,
        ExtrOverWrite = 2,
        ExtrFreshen = 4,
        ExtrUpdate = 8,
    };
    Q_DECLARE_FLAGS(ExtrOptionSet, ExtrOption)

    // OnProgress's progress types.
    enum ProgressType { NewFile = 0, ProgressUpdate = 1, EndOfBatch = 2 };

    explicit TZipBuilder(QObject* parent = nullptr);
    ~TZipBuilder() override;

    bool Verbose() const { return m_verbose; }
    void setVerbose(bool on) { m_verbose = on; }
    bool Trace() const { return m_trace; }
    void setTrace(bool on) { m_trace = on; }
    int AddCompLevel() const { return m_addCompLevel; }
    void setAddCompLevel(int level) { m_addCompLevel = level; }
    AddOptionSet AddOptions() const { return m_addOptions; }
    void setAddOptions(AddOptionSet options) { m_addOptions = options; }
    QString ExtrBaseDir() const { return m_extrBaseDir; }
    void setExtrBaseDir(const QString& dir) { m_extrBaseDir = dir; }
    ExtrOptionSet ExtrOptions() const { return m_extrOptions; }
    void setExtrOptions(ExtrOptionSet options) { m_extrOptions = options; }
    // The files Add adds; Add empties it.
    QStringList& FSpecArgs() { return m_fspecArgs; }
    const QStringList& FSpecArgs() const { return m_fspecArgs; }

    QString ZipFilename() const { return m_zipFilename; }
    // Stores the name and re-reads the entry list; raises QuilletError on a damaged archive.
    void setZipFilename(const QString& name);

    // The folder the libraries are loaded from: this component's own setting, else the
    // program-wide one; empty: the executable's library path (its RUNPATH).
    QString LibraryDir() const;
    void setLibraryDir(const QString& dir) { m_libraryDir = dir; }
    // The program-wide setting, for programs that do not live beside the libraries (tests).
    static void setDefaultLibraryDir(const QString& dir);

    void Load_Zip_Dll();
    void Unload_Zip_Dll();
    void Load_Unz_Dll();
    void Unload_Unz_Dll();
    bool ZipDllLoaded() const { return m_zipHandle != nullptr; }
    bool UnzDllLoaded() const { return m_unzHandle != nullptr; }

    // Adds the files of FSpecArgs to the archive ZipFilename, then empties FSpecArgs.
    void Add();
    // Asks the library to stop at its next callback.
    void Cancel() { m_cancel = true; }
    bool Busy() const { return m_busy; }

    // The entries of ZipFilename as last read.
    const QList<ZipEntryInfo>& ZipContents() const { return m_entries; }
    int Count() const { return int(m_entries.size()); }
    // What the last Add's library call returned: the number of files added.
    int SuccessCnt() const { return m_successCount; }
    // The last problem the component showed or the library reported with an error code: why an
    // archive was not made. Empty while there was none.
    QString LastProblem() const { return m_problem; }

signals:
    void OnProgress(int progressType, const QString& fileName, qint64 fileSize);
    void OnMessage(int errorCode, const QString& message);
    void OnDirUpdate();

private:
    static int32_t callbackRoutine(const unsigned char* record);
    int32_t handleCallback(const unsigned char* record);
    int32_t callLibrary();
    void readEntries();

    bool m_verbose = false;
    bool m_trace = false;
    int m_addCompLevel = 9;
    AddOptionSet m_addOptions;
    QString m_extrBaseDir;
    ExtrOptionSet m_extrOptions;
    QStringList m_fspecArgs;
    QString m_zipFilename;
    QString m_libraryDir;
    QString m_problem;

    QList<ZipEntryInfo> m_entries;
    bool m_busy = false;
    bool m_cancel = false;
    int m_successCount = 0;
    uint32_t m_id;

    void* m_zipHandle = nullptr;
    int m_zipLoads = 0;
    void* m_zipExec = nullptr;
    void* m_zipVersion = nullptr;
    void* m_unzHandle = nullptr;
    int m_unzLoads = 0;
    void* m_unzExec = nullptr;
    void* m_unzVersion = nullptr;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TZipBuilder::AddOptionSet)
Q_DECLARE_OPERATORS_FOR_FLAGS(TZipBuilder::ExtrOptionSet)
