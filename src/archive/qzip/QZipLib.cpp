// libqzip.so: adds files to a zip archive for TZipBuilder, through libzip.
// Exports "ZipLibExec" and "GetZipLibVersion"; see archive/ZipLibInterface.h for the parameter block.
//
// libzip writes the new archive to a temporary file beside the old one and renames it into place
// only when everything was written, so a failed or cancelled operation leaves the archive as it was.

#include "BufferedFileSource.h"
#include "archive/ZipLibInterface.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#define QZIP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace ziplib;
namespace fs = std::filesystem;

// A file found by the file specifications, with the name it gets in the archive.
struct Candidate
{
    std::string path;
    std::string entryName;
};

class Operation
{
public:
    explicit Operation(const unsigned char* block)
        : m_block(block)
        , m_caller(readInt32(block + ParamCaller))
    {
        const int32_t slot = readInt32(block + ParamCallback);
        if (slot > 0)
            std::memcpy(&m_callback, block + slot, sizeof m_callback);
    }

    int32_t run();

private:
    int32_t call(int32_t kind, int32_t error, uint64_t size, const std::string& text);
    void message(int32_t error, const std::string& text) { call(KindMessage, error, 0, text); }
    bool option(std::size_t offset) const { return readInt32(m_block + offset) != False; }
    // The zero-terminated text at the offset that the field at fieldOffset holds; false when the
    // offset is missing or the text fills its whole buffer.
    bool text(std::size_t fieldOffset, std::string& out) const;

    void expand(const std::string& spec, std::vector<Candidate>& out);
    void walk(const fs::path& folder, std::vector<Candidate>& out);
    void addCandidate(const std::string& path, std::vector<Candidate>& out) const;
    std::string entryName(const std::string& path) const;
    bool hiddenName(const std::string& path) const;

    int32_t addAll(const std::string& archive, const std::vector<Candidate>& files);

    static void progressCallback(zip_t*, double, void* state);
    static int cancelCallback(zip_t*, void* state);

    const unsigned char* m_block;
    int32_t m_caller;
    Callback m_callback = nullptr;
    bool m_cancelled = false;
};

int32_t Operation::call(int32_t kind, int32_t error, uint64_t size, const std::string& text)
{
    if (!m_callback)
        return 0;
    const std::size_t length = std::min(text.size(), MaxCallbackText);
    std::vector<unsigned char> record(CallbackText + length + 1, 0);
    writeInt32(record.data() + CallbackCaller, m_caller);
    writeInt32(record.data() + CallbackKind, kind);
    writeInt32(record.data() + CallbackError, error);
    writeInt32(record.data() + CallbackSize, int32_t(std::min<uint64_t>(size, INT32_MAX)));
    std::memcpy(record.data() + CallbackText, text.data(), length);
    const int32_t answer = m_callback(record.data());
    if (answer == CallbackCancel)
        m_cancelled = true;
    return answer;
}

bool Operation::text(std::size_t fieldOffset, std::string& out) const
{
    const int32_t offset = readInt32(m_block + fieldOffset);
    if (offset <= 0)
        return false;
    const char* start = reinterpret_cast<const char*>(m_block + offset);
    const std::size_t length = strnlen(start, TextBufferSize);
    if (length == TextBufferSize)
        return false;
    out.assign(start, length);
    return true;
}

bool Operation::hiddenName(const std::string& path) const
{
    const std::string name = fs::path(path).filename().string();
    return !name.empty() && name[0] == '.';
}

std::string Operation::entryName(const std::string& path) const
{
    std::string name;
    if (option(ParamDiscardDirNames)) {
        name = fs::path(path).filename().string();
    } else {
        // The path as given, without a root, "." or ".." parts: an entry never points outside
        // the folder it is extracted into.
        for (const fs::path& part : fs::path(path).relative_path()) {
            const std::string p = part.string();
            if (p.empty() || p == "." || p == "..")
                continue;
            if (!name.empty())
                name += '/';
            name += p;
        }
    }
    if (option(ParamForceDos))
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return name;
}

void Operation::addCandidate(const std::string& path, std::vector<Candidate>& out) const
{
    const std::string name = entryName(path);
    if (!name.empty())
        out.push_back({path, name});
}

void Operation::walk(const fs::path& folder, std::vector<Candidate>& out)
{
    std::error_code error;
    std::vector<fs::path> found;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const bool hidden = hiddenName(it->path().string());
        if (hidden && !option(ParamAddHidden)) {
            if (it->is_directory(error))
                it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file(error))
            found.push_back(it->path());
    }
    if (error)
        message(error.value(), "Cannot read folder " + folder.string() + ": " + error.message());
    std::sort(found.begin(), found.end());
    for (const fs::path& path : found)
        addCandidate(path.string(), out);
}

void Operation::expand(const std::string& spec, std::vector<Candidate>& out)
{
    std::vector<std::string> paths;
    const bool wildcard = spec.find_first_of("*?[") != std::string::npos;
    if (wildcard) {
        glob_t matches{};
        if (glob(spec.c_str(), 0, nullptr, &matches) == 0) {
            for (std::size_t i = 0; i < matches.gl_pathc; ++i) {
                const std::string path = matches.gl_pathv[i];
                if (!hiddenName(path) || option(ParamAddHidden))
                    paths.push_back(path);
            }
        }
        globfree(&matches);
        if (paths.empty())
            message(ENOENT, "No files match " + spec);
    } else {
        paths.push_back(spec);
    }
    for (const std::string& path : paths) {
        struct stat st
        {
        };
        if (stat(path.c_str(), &st) != 0) {
            message(errno, "File not found: " + path);
        } else if (S_ISDIR(st.st_mode)) {
            if (option(ParamRecurse))
                walk(path, out);
            else if (!wildcard)
                message(EISDIR, "Skipping folder " + path);
        } else {
            addCandidate(path, out);
        }
    }
}

void Operation::progressCallback(zip_t*, double, void* state)
{
    static_cast<Operation*>(state)->call(KindProgress, 0, 0, std::string());
}

int Operation::cancelCallback(zip_t*, void* state)
{
    return static_cast<Operation*>(state)->m_cancelled ? 1 : 0;
}

int32_t Operation::addAll(const std::string& archive, const std::vector<Candidate>& files)
{
    zip_error_t openError;
    zip_error_init(&openError);
    zip_source_t* source = bufferedFileSource(archive, true, &openError);
    zip_t* zip = source ? zip_open_from_source(source, ZIP_CREATE, &openError) : nullptr;
    const int openCode = zip_error_code_zip(&openError);
    zip_error_fini(&openError);
    if (!zip) {
        if (source)
            zip_source_free(source);
        zip_error_t error;
        zip_error_init_with_code(&error, openCode);
        message(openCode, "Cannot open " + archive + ": " + zip_error_strerror(&error));
        zip_error_fini(&error);
        return -1;
    }
    zip_register_progress_callback_with_state(zip, 0.05, progressCallback, nullptr, this);
    zip_register_cancel_callback_with_state(zip, cancelCallback, nullptr, this);

    const int level = std::clamp(readInt32(m_block + ParamLevel), 0, 9);
    const bool update = option(ParamUpdate);
    const bool freshen = option(ParamFreshen);
    time_t newest = 0;
    const zip_int64_t existing = zip_get_num_entries(zip, ZIP_FL_UNCHANGED);
    for (zip_int64_t i = 0; i < existing; ++i) {
        zip_stat_t st;
        if (zip_stat_index(zip, zip_uint64_t(i), ZIP_FL_UNCHANGED, &st) == 0 && (st.valid & ZIP_STAT_MTIME))
            newest = std::max(newest, st.mtime);
    }

    std::vector<std::string> added;
    for (const Candidate& file : files) {
        struct stat fileStat
        {
        };
        if (stat(file.path.c_str(), &fileStat) != 0) {
            message(errno, "File not found: " + file.path);
            continue;
        }
        const zip_int64_t index = zip_name_locate(zip, file.entryName.c_str(), 0);
        if (update || freshen) {
            bool newer = true;
            zip_stat_t entry;
            if (index >= 0 && zip_stat_index(zip, zip_uint64_t(index), 0, &entry) == 0
                && (entry.valid & ZIP_STAT_MTIME))
                newer = fileStat.st_mtime > entry.mtime + 1; // zip times have a 2-second grain
            if (!newer || (freshen && index < 0))
                continue;
        }
        if (call(KindNewFile, 0, uint64_t(fileStat.st_size), file.path) == CallbackCancel)
            break;
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = bufferedFileSource(file.path, false, &error);
        if (!source) {
            message(zip_error_code_zip(&error), "Cannot read " + file.path + ": " + zip_error_strerror(&error));
            zip_error_fini(&error);
            continue;
        }
        zip_error_fini(&error);
        const zip_int64_t entry
            = zip_file_add(zip, file.entryName.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
        if (entry < 0) {
            zip_source_free(source);
            message(zip_error_code_zip(zip_get_error(zip)), "Cannot add " + file.path + ": " + zip_strerror(zip));
            continue;
        }
        zip_set_file_compression(
            zip, zip_uint64_t(entry), level == 0 ? ZIP_CM_STORE : ZIP_CM_DEFLATE, zip_uint32_t(level));
        if (option(ParamVerbose))
            message(0, "  adding: " + file.entryName);
        added.push_back(file.path);
        newest = std::max(newest, fileStat.st_mtime);
    }

    if (m_cancelled || added.empty()) {
        zip_discard(zip);
        if (m_cancelled)
            message(ZIP_ER_CANCELLED, "Operation cancelled");
        call(KindEndOfBatch, 0, 0, std::string());
        return 0;
    }
    if (zip_close(zip) != 0) {
        const int code = zip_error_code_zip(zip_get_error(zip));
        message(code, "Cannot write " + archive + ": " + zip_strerror(zip));
        zip_discard(zip);
        call(KindEndOfBatch, 0, 0, std::string());
        return code == ZIP_ER_CANCELLED ? 0 : -1;
    }
    if (option(ParamMove)) {
        for (const std::string& path : added) {
            if (unlink(path.c_str()) != 0)
                message(errno, "Cannot delete " + path);
        }
    }
    if (option(ParamZipTime) && newest > 0) {
        const struct utimbuf times = {newest, newest};
        utime(archive.c_str(), &times);
    }
    call(KindEndOfBatch, 0, 0, std::string());
    return int32_t(added.size());
}

int32_t Operation::run()
{
    if (readInt32(m_block + ParamVersion) != InterfaceVersion) {
        message(-1, "Unsupported interface version " + std::to_string(readInt32(m_block + ParamVersion)));
        return -1;
    }
    std::string archive;
    if (!text(ParamArchiveName, archive) || archive.empty()) {
        message(-1, "No archive name");
        return -1;
    }
    const int32_t count = readInt32(m_block + ParamSpecCount);
    if (count <= 0 || count > 65536) {
        message(-1, "Nothing to add");
        return 0;
    }
    std::vector<Candidate> files;
    for (int32_t i = 0; i < count; ++i) {
        std::string spec;
        if (!text(ParamSpecs + 4 * std::size_t(i), spec) || spec.empty())
            continue;
        expand(spec, files);
    }
    if (option(ParamTrace))
        message(0, "Archive " + archive + ": " + std::to_string(files.size()) + " file(s) to add");
    if (files.empty()) {
        call(KindEndOfBatch, 0, 0, std::string());
        return 0;
    }
    return addAll(archive, files);
}

} // namespace

QZIP_EXPORT int32_t ZipLibExec(const unsigned char* params)
{
    if (!params)
        return -1;
    try {
        Operation operation(params);
        return operation.run();
    } catch (...) {
        // Nothing may unwind into the caller's frames.
        return -1;
    }
}

QZIP_EXPORT int32_t GetZipLibVersion()
{
    return InterfaceVersion;
}
