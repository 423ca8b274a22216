#include "archive/TZipBuilder.h"

#include "archive/ZipLibInterface.h"
#include "core/Dialogs.h"
#include "core/Errors.h"

#include <QFile>
#include <QHash>

#include <cstring>

#include <dlfcn.h>

namespace {

// The texts of one library's loading.
struct LibraryTexts
{
    const char* file;
    const char* notFound;
    const char* loaded;
    const char* exec;
    const char* execMissing;
    const char* version;
    const char* versionMissing;
};

const LibraryTexts ZipLibrary = {"libqzip.so", "libqzip.so not found", "ZIP library loaded", "ZipLibExec",
    "ZipLibExec function not found in libqzip.so", "GetZipLibVersion",
    "GetZipLibVersion function not found in libqzip.so"};
const LibraryTexts UnzLibrary = {"libqunzip.so", "libqunzip.so not found", "UNZ library loaded", "UnzLibExec",
    "UnzLibExec function not found in libqunzip.so", "GetUnzLibVersion",
    "GetZipLibVersion function not found in libqunzip.so"};

void show(const char* text)
{
    dialogs().showMessage(QString::fromLatin1(text));
}

// Shows a problem and keeps it as the one to report.
void showProblem(const char* text, QString& problem)
{
    show(text);
    problem = QString::fromLatin1(text);
}

// Loads the library once more (each load counts and is released by unload); shows every message
// of the loading on the way. The handle stays null when the file cannot be loaded. Without a folder
// the bare file name is looked up along the executable's library path (its RUNPATH).
void load(const LibraryTexts& texts, const QString& dir, bool trace, void*& handle, int& loads, void*& exec,
    void*& version, QString& problem)
{
    const QString file = QLatin1String(texts.file);
    const QByteArray path = (dir.isEmpty() ? file : dir + QLatin1Char('/') + file).toLocal8Bit();
    void* h = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        showProblem(texts.notFound, problem);
        return;
    }
    if (handle && h != handle) {
        // Loaded before from another folder: the library in use stays the one loaded first.
        dlclose(h);
        h = handle;
    } else if (handle) {
        ++loads;
    } else {
        handle = h;
        loads = 1;
    }
    if (trace)
        show(texts.loaded);
    exec = dlsym(h, texts.exec);
    if (!exec)
        showProblem(texts.execMissing, problem);
    version = dlsym(h, texts.version);
    if (!version)
        showProblem(texts.versionMissing, problem);
}

void unload(void*& handle, int& loads, void*& exec, void*& version)
{
    for (; handle && loads > 0; --loads)
        dlclose(handle);
    handle = exec = version = nullptr;
    loads = 0;
}

// The components alive, by the number the library hands back in its callbacks.
QHash<uint32_t, TZipBuilder*>& components()
{
    static QHash<uint32_t, TZipBuilder*> live;
    return live;
}

uint32_t g_nextId = 1;

} // namespace

TZipBuilder::TZipBuilder(QObject* parent)
    : QObject(parent)
    , m_id(g_nextId++)
{
    components().insert(m_id, this);
}

TZipBuilder::~TZipBuilder()
{
    components().remove(m_id);
    Unload_Zip_Dll();
    Unload_Unz_Dll();
}

namespace {

QString& defaultLibraryDir()
{
    static QString dir;
    return dir;
}

} // namespace

void TZipBuilder::setDefaultLibraryDir(const QString& dir)
{
    defaultLibraryDir() = dir;
}

QString TZipBuilder::LibraryDir() const
{
    return m_libraryDir.isEmpty() ? defaultLibraryDir() : m_libraryDir;
}

void TZipBuilder::Load_Zip_Dll()
{
    load(ZipLibrary, LibraryDir(), m_trace, m_zipHandle, m_zipLoads, m_zipExec, m_zipVersion, m_problem);
}

void TZipBuilder::Unload_Zip_Dll()
{
    unload(m_zipHandle, m_zipLoads, m_zipExec, m_zipVersion);
}

void TZipBuilder::Load_Unz_Dll()
{
    load(UnzLibrary, LibraryDir(), m_trace, m_unzHandle, m_unzLoads, m_unzExec, m_unzVersion, m_problem);
}

void TZipBuilder::Unload_Unz_Dll()
{
    unload(m_unzHandle, m_unzLoads, m_unzExec, m_unzVersion);
}

void TZipBuilder::setZipFilename(const QString& name)
{
    m_zipFilename = name;
    readEntries();
}

void TZipBuilder::Add()
{
    if (m_fspecArgs.isEmpty()) {
        showProblem("Error - no files to zip", m_problem);
        return;
    }
    if (m_zipFilename.isEmpty()) {
        showProblem("Error - no zip file specified", m_problem);
        return;
    }
    if (m_zipFilename.right(4).toLower() == QLatin1String(".exe")) {
        showProblem("Error - this pgm can NOT add files to a self-extracting archive", m_problem);
        return;
    }
    if (m_busy)
        return;
    m_busy = true;
    m_cancel = false;

    bool loadedHere = false;
    if (!m_zipHandle) {
        Load_Zip_Dll();
        loadedHere = m_zipHandle != nullptr;
    }
    int32_t result = 0;
    if (m_zipHandle && m_zipExec)
        result = callLibrary();

    m_fspecArgs.clear();
    if (loadedHere)
        Unload_Zip_Dll();
    m_cancel = false;
    m_busy = false;
    m_successCount = result;
    if (result > 0)
        readEntries();
}

int32_t TZipBuilder::callLibrary()
{
    using namespace ziplib;
    // Every text gets a buffer of its fixed size; a longer one is refused, never cut or overrun.
    QList<QByteArray> texts{m_zipFilename.toLocal8Bit()};
    for (const QString& spec : std::as_const(m_fspecArgs))
        texts.append(spec.toLocal8Bit());
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (std::size_t(texts[i].size()) >= TextBufferSize) {
            m_problem = QStringLiteral("Error - file name too long: ") + QString::fromLocal8Bit(texts[i]);
            dialogs().showMessage(m_problem);
            return 0;
        }
    }

    const std::size_t specCount = std::size_t(m_fspecArgs.size());
    const std::size_t slotOffset = (ParamSpecs + 4 * specCount + 7) & ~std::size_t(7);
    const std::size_t textsOffset = slotOffset + sizeof(Callback);
    QByteArray block(qsizetype(textsOffset + std::size_t(texts.size()) * TextBufferSize), '\0');
    auto* p = reinterpret_cast<unsigned char*>(block.data());

    const bool hidden = m_addOptions.testFlag(AddHiddenFiles);
    const bool update = m_addOptions.testFlag(AddUpdate);
    writeInt32(p + ParamWindow, 0);
    writeInt32(p + ParamCaller, int32_t(m_id));
    writeInt32(p + ParamVersion, InterfaceVersion);
    writeInt32(p + ParamCallback, int32_t(slotOffset));
    const Callback callback = &TZipBuilder::callbackRoutine;
    std::memcpy(p + slotOffset, &callback, sizeof callback);
    writeInt32(p + ParamTrace, flag(m_trace));
    writeInt32(p + ParamAddHidden, flag(hidden));
    writeInt32(p + ParamFixed44, True);
    writeInt32(p + ParamVerbose, flag(m_verbose || m_trace));
    writeInt32(p + ParamFixed56, True);
    writeInt32(p + ParamLevel, m_addCompLevel);
    writeInt32(p + ParamDiscardDirNames, flag(!m_addOptions.testFlag(AddDirNames)));
    writeInt32(p + ParamRecurse, flag(m_addOptions.testFlag(AddRecurseDirs)));
    writeInt32(p + ParamFixed80, True);
    writeInt32(p + ParamForceDos, flag(m_addOptions.testFlag(AddForceDOS)));
    writeInt32(p + ParamMove, flag(m_addOptions.testFlag(AddMove)));
    writeInt32(p + ParamUpdate, flag(update));
    writeInt32(p + ParamFreshen, flag(m_addOptions.testFlag(AddFreshen) && !update));
    writeInt32(p + ParamZipTime, flag(m_addOptions.testFlag(AddZipTime)));
    writeInt32(p + ParamSpecCount, int32_t(specCount));
    writeInt32(p + ParamFixed128, 7);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const std::size_t at = textsOffset + std::size_t(i) * TextBufferSize;
        std::memcpy(p + at, texts[i].constData(), std::size_t(texts[i].size()));
        writeInt32(p + (i == 0 ? std::size_t(ParamArchiveName) : ParamSpecs + 4 * std::size_t(i - 1)), int32_t(at));
    }

    try {
        return reinterpret_cast<ZipLibExecFn>(m_zipExec)(p);
    } catch (...) {
        showProblem("Fatal library error: abort exception", m_problem);
        return 0;
    }
}

int32_t TZipBuilder::callbackRoutine(const unsigned char* record)
{
    if (!record)
        return 0;
    TZipBuilder* component = components().value(uint32_t(ziplib::readInt32(record + ziplib::CallbackCaller)));
    return component ? component->handleCallback(record) : 0;
}

int32_t TZipBuilder::handleCallback(const unsigned char* record)
{
    using namespace ziplib;
    const int32_t kind = readInt32(record + CallbackKind);
    const int32_t code = readInt32(record + CallbackError);
    const qint64 size = readInt32(record + CallbackSize);
    const char* raw = reinterpret_cast<const char*>(record + CallbackText);
    QString text = QString::fromLocal8Bit(raw, qsizetype(strnlen(raw, MaxCallbackText)));
    const QString blank = QStringLiteral(" ");
    // The handlers run inside the library's call: nothing they raise may unwind through it.
    const bool handled = guarded([&] {
        switch (kind) {
        case KindNewFile:
            emit OnProgress(NewFile, text, size);
            break;
        case KindProgress:
            emit OnProgress(ProgressUpdate, blank, 0);
            break;
        case KindEndOfBatch:
            emit OnProgress(EndOfBatch, blank, 0);
            break;
        case KindMessage:
            for (int i = 0; i < 2 && (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1Char('\n'))); ++i)
                text.chop(1);
            if (code != 0)
                m_problem = text;
            emit OnMessage(code, text);
            break;
        default:
            break;
        }
    });
    if (!handled)
        m_cancel = true;
    return m_cancel ? CallbackCancel : 0;
}

void TZipBuilder::readEntries()
{
    m_entries.clear();
    QFile file(m_zipFilename);
    if (m_zipFilename.isEmpty() || !file.exists()) {
        emit OnDirUpdate();
        return;
    }
    ZipEntryList list;
    if (!file.open(QIODevice::ReadOnly)) {
        list.outcome = ZipEntryList::Damaged;
        list.error = QStringLiteral("Error reading Zip File");
    } else {
        // Mapped rather than read: only the headers' pages are touched, however large the archive.
        const qint64 size = file.size();
        const uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
        if (mapped) {
            list = readZipEntries(reinterpret_cast<const char*>(mapped), size);
            file.unmap(const_cast<uchar*>(mapped));
        } else {
            list = readZipEntries(file.readAll());
        }
        file.close();
    }
    m_entries = list.entries;
    if (list.outcome == ZipEntryList::NoEntries)
        show("No valid zip entries found");
    emit OnDirUpdate();
    if (list.outcome == ZipEntryList::Damaged)
        throw QuilletError(list.error);
}
