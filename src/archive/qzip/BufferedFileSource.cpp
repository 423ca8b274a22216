#include "BufferedFileSource.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Large enough that a deflated program file goes to the disk in a few hundred writes per 100 MB.
constexpr std::size_t BufferBytes = 1 << 20;

class BufferedFile
{
public:
    BufferedFile(std::string path, bool writable)
        : m_path(std::move(path))
        , m_writable(writable)
    {
        zip_error_init(&m_error);
    }
    ~BufferedFile()
    {
        closeReading();
        discardWriting();
        zip_error_fini(&m_error);
    }

    static zip_int64_t callback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command)
    {
        return static_cast<BufferedFile*>(state)->handle(data, length, command);
    }

private:
    zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command);
    zip_int64_t stat(void* data, zip_uint64_t length);
    zip_int64_t openReading();
    zip_int64_t seek(std::FILE* file, void* data, zip_uint64_t length);
    zip_int64_t beginWriting();
    zip_int64_t commitWriting();
    zip_int64_t failure(int zipCode, int systemCode = 0)
    {
        zip_error_set(&m_error, zipCode, systemCode);
        return -1;
    }
    void closeReading();
    void discardWriting();

    std::string m_path;
    bool m_writable;
    std::string m_temporary;
    std::FILE* m_in = nullptr;
    std::FILE* m_out = nullptr;
    std::unique_ptr<char[]> m_inBuffer;
    std::unique_ptr<char[]> m_outBuffer;
    zip_error_t m_error;
};

zip_int64_t BufferedFile::handle(void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    switch (command) {
    case ZIP_SOURCE_SUPPORTS:
        if (!m_writable)
            return ZIP_SOURCE_SUPPORTS_SEEKABLE;
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
            ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_BEGIN_WRITE,
            ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_WRITE, ZIP_SOURCE_SEEK_WRITE,
            ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE, -1);
    case ZIP_SOURCE_STAT:
        return stat(data, length);
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&m_error, data, length);
    case ZIP_SOURCE_OPEN:
        return openReading();
    case ZIP_SOURCE_READ: {
        const std::size_t read = std::fread(data, 1, length, m_in);
        return read < length && std::ferror(m_in) ? failure(ZIP_ER_READ, errno) : zip_int64_t(read);
    }
    case ZIP_SOURCE_CLOSE:
        closeReading();
        return 0;
    case ZIP_SOURCE_SEEK:
        return seek(m_in, data, length);
    case ZIP_SOURCE_TELL:
        return zip_int64_t(ftello(m_in));
    case ZIP_SOURCE_BEGIN_WRITE:
        return beginWriting();
    case ZIP_SOURCE_WRITE:
        return std::fwrite(data, 1, length, m_out) == length ? zip_int64_t(length) : failure(ZIP_ER_WRITE, errno);
    case ZIP_SOURCE_SEEK_WRITE:
        return seek(m_out, data, length);
    case ZIP_SOURCE_TELL_WRITE:
        return zip_int64_t(ftello(m_out));
    case ZIP_SOURCE_COMMIT_WRITE:
        return commitWriting();
    case ZIP_SOURCE_ROLLBACK_WRITE:
        discardWriting();
        return 0;
    case ZIP_SOURCE_REMOVE:
        return unlink(m_path.c_str()) == 0 || errno == ENOENT ? 0 : failure(ZIP_ER_REMOVE, errno);
    case ZIP_SOURCE_FREE:
        delete this;
        return 0;
    default:
        return failure(ZIP_ER_OPNOTSUPP);
    }
}

zip_int64_t BufferedFile::stat(void* data, zip_uint64_t length)
{
    zip_stat_t* out = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &m_error);
    if (!out)
        return -1;
    struct stat st
    {
    };
    // A missing archive is what ZIP_CREATE starts a new one from.
    if (::stat(m_path.c_str(), &st) != 0)
        return failure(ZIP_ER_READ, errno);
    zip_stat_init(out);
    out->size = zip_uint64_t(st.st_size);
    out->mtime = st.st_mtime;
    out->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
    return sizeof(zip_stat_t);
}

zip_int64_t BufferedFile::openReading()
{
    closeReading();
    m_in = std::fopen(m_path.c_str(), "rb");
    if (!m_in)
        return failure(ZIP_ER_OPEN, errno);
    // Not zeroed: stdio fills it, and zeroing a megabyte per file cost more than adding a small one.
    m_inBuffer = std::make_unique_for_overwrite<char[]>(BufferBytes);
    std::setvbuf(m_in, m_inBuffer.get(), _IOFBF, BufferBytes);
    return 0;
}

zip_int64_t BufferedFile::seek(std::FILE* file, void* data, zip_uint64_t length)
{
    // The end of a file being written is what has been written so far.
    const off_t here = ftello(file);
    if (fseeko(file, 0, SEEK_END) != 0)
        return failure(ZIP_ER_SEEK, errno);
    const off_t size = ftello(file);
    const zip_int64_t offset
        = zip_source_seek_compute_offset(zip_uint64_t(here), zip_uint64_t(size), data, length, &m_error);
    if (offset < 0)
        return -1;
    return fseeko(file, off_t(offset), SEEK_SET) == 0 ? 0 : failure(ZIP_ER_SEEK, errno);
}

zip_int64_t BufferedFile::beginWriting()
{
    discardWriting();
    std::string name = m_path + ".XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return failure(ZIP_ER_TMPOPEN, errno);
    m_out = fdopen(fd, "w+b");
    if (!m_out) {
        const int error = errno;
        close(fd);
        unlink(name.c_str());
        return failure(ZIP_ER_TMPOPEN, error);
    }
    m_temporary = name;
    m_outBuffer = std::make_unique_for_overwrite<char[]>(BufferBytes);
    std::setvbuf(m_out, m_outBuffer.get(), _IOFBF, BufferBytes);
    return 0;
}

zip_int64_t BufferedFile::commitWriting()
{
    // The archive keeps the mode it had; a new one gets what the umask allows, as any new file.
    struct stat st
    {
    };
    mode_t mode = 0;
    if (::stat(m_path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(022);
        umask(mask);
        mode = 0666 & ~mask;
    }
    const int fd = fileno(m_out);
    if (std::fflush(m_out) != 0 || fchmod(fd, mode) != 0) {
        const int error = errno;
        discardWriting();
        return failure(ZIP_ER_WRITE, error);
    }
    if (std::fclose(std::exchange(m_out, nullptr)) != 0) {
        const int error = errno;
        discardWriting();
        return failure(ZIP_ER_WRITE, error);
    }
    m_outBuffer.reset();
    if (std::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        discardWriting();
        return failure(ZIP_ER_RENAME, error);
    }
    m_temporary.clear();
    return 0;
}

void BufferedFile::closeReading()
{
    if (m_in)
        std::fclose(std::exchange(m_in, nullptr));
    m_inBuffer.reset();
}

void BufferedFile::discardWriting()
{
    if (m_out)
        std::fclose(std::exchange(m_out, nullptr));
    m_outBuffer.reset();
    if (!m_temporary.empty())
        unlink(std::exchange(m_temporary, std::string()).c_str());
}

} // namespace

zip_source_t* bufferedFileSource(const std::string& path, bool writable, zip_error_t* error)
{
    auto* file = new BufferedFile(path, writable);
    zip_source_t* source = zip_source_function_create(&BufferedFile::callback, file, error);
    if (!source)
        delete file;
    return source;
}
