#include "net/TlsSession.h"

#include "net/SystemTrust.h"
#include "net/TlsSessionCache.h"

#include <QFileInfo>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <map>
#include <mutex>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>

namespace {

QString verifyReason(long result)
{
    switch (result) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
        return QStringLiteral("the server's certificate has expired");
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return QStringLiteral("the server's certificate is not valid yet");
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return QStringLiteral("the server's certificate is for another host (wrong host)");
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        return QStringLiteral("the server's certificate comes from an unknown issuer");
    case X509_V_ERR_CERT_REVOKED:
        return QStringLiteral("the server's certificate has been revoked");
    default:
        return QStringLiteral("the server's certificate was not accepted (%1)")
            .arg(QString::fromLatin1(X509_verify_cert_error_string(result)));
    }
}

// The oldest queued OpenSSL error as text, and the queue emptied.
QString takeLibraryError()
{
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0)
        return {};
    const char* reason = ERR_reason_error_string(code);
    return QString::fromLatin1(reason ? reason : "unknown TLS error");
}

// The client context for one CA file (or none), made once and kept: building one costs more than
// a handshake. A CA file that changes on disk, or other system trust settings, get a context of
// their own. Each session holds a reference of its own.
SSL_CTX* sharedContext(const QString& caFile, QString* errorText)
{
    static std::mutex lock;
    static std::map<QByteArray, SSL_CTX*> contexts;
    // The key names the file's version too: path, inode, size and change time to the nanosecond.
    QByteArray key;
    QByteArray path;
    bool keep = true;
    if (!caFile.isEmpty()) {
        path = QFileInfo(caFile).absoluteFilePath().toLocal8Bit();
        struct stat file
        {
        };
        keep = ::stat(path.constData(), &file) == 0;
        key = path + '|' + QByteArray::number(qulonglong(file.st_ino)) + '|'
            + QByteArray::number(qlonglong(file.st_size)) + '|' + QByteArray::number(qlonglong(file.st_mtim.tv_sec))
            + '.' + QByteArray::number(qlonglong(file.st_mtim.tv_nsec));
    }
    key += '|' + SystemTrust::settings();
    const std::lock_guard<std::mutex> hold(lock);
    if (const auto found = contexts.find(key); keep && found != contexts.end()) {
        SSL_CTX_up_ref(found->second);
        return found->second;
    }
    SSL_CTX* context = SSL_CTX_new(TLS_client_method());
    if (!context) {
        *errorText = QStringLiteral("The secure connection could not be prepared: %1.").arg(takeLibraryError());
        return nullptr;
    }
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    // A server that closes without the closing alert ends its data like a plain connection does.
    SSL_CTX_set_options(context, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_mode(context, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    SystemTrust::addTo(context);
    if (!path.isEmpty() && SSL_CTX_load_verify_locations(context, path.constData(), nullptr) != 1) {
        ERR_clear_error();
        SSL_CTX_free(context);
        *errorText = QStringLiteral("The CA file %1 could not be read.").arg(caFile);
        return nullptr;
    }
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    if (keep) {
        TlsSessionCache::enable(context);
        contexts.emplace(key, context);
        SSL_CTX_up_ref(context);
    }
    return context;
}

} // namespace

TlsSession::~TlsSession()
{
    if (m_ssl)
        SSL_free(m_ssl);
    if (m_context)
        SSL_CTX_free(m_context);
}

bool TlsSession::begin(int fd, const QString& host, const QString& caFile, const TlsSession* resumeFrom)
{
    // OpenSSL writes to the socket with write(), which raises SIGPIPE on a connection the peer has
    // closed; the error code is all we want.
    static std::once_flag ignorePipe;
    std::call_once(ignorePipe, [] { std::signal(SIGPIPE, SIG_IGN); });
    m_host = host;
    m_established = false;
    m_errorText.clear();
    ERR_clear_error();
    m_context = sharedContext(caFile, &m_errorText);
    if (!m_context)
        return false;

    m_ssl = SSL_new(m_context);
    if (!m_ssl || SSL_set_fd(m_ssl, fd) != 1) {
        m_errorText = QStringLiteral("The secure connection could not be prepared: %1.").arg(takeLibraryError());
        return false;
    }
    const QByteArray name = host.toLatin1();
    in_addr v4{};
    if (inet_pton(AF_INET, name.constData(), &v4) == 1) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_ssl), name.constData());
    } else {
        SSL_set_tlsext_host_name(m_ssl, name.constData());
        SSL_set1_host(m_ssl, name.constData());
    }
    // A data connection resumes its control connection's session: no second full handshake, and
    // servers that insist on the same session (as many FTP servers do) accept it.
    if (resumeFrom && resumeFrom->m_ssl && resumeFrom->m_established) {
        // A copy each time: a session used for resumption is marked used, and every data connection
        // resumes the same one.
        if (SSL_SESSION* session = SSL_get1_session(resumeFrom->m_ssl)) {
            SSL_SESSION* copy = SSL_SESSION_is_resumable(session) ? SSL_SESSION_dup(session) : nullptr;
            if (copy)
                SSL_set_session(m_ssl, copy);
            SSL_SESSION_free(copy);
            SSL_SESSION_free(session);
        }
    } else {
        TlsSessionCache::attach(m_ssl, fd, host);
    }
    SSL_set_connect_state(m_ssl);
    return true;
}

bool TlsSession::resumed() const
{
    return m_ssl && m_established && SSL_session_reused(m_ssl) == 1;
}

TlsSession::Step TlsSession::failure(int sslError, int result)
{
    if (sslError == SSL_ERROR_WANT_READ)
        return Step::WantRead;
    if (sslError == SSL_ERROR_WANT_WRITE)
        return Step::WantWrite;
    if (sslError == SSL_ERROR_ZERO_RETURN)
        return Step::Closed;

    const QString where = QStringLiteral("Secure connection to %1 failed: ").arg(m_host);
    if (!m_established && SSL_get_verify_result(m_ssl) != X509_V_OK) {
        ERR_clear_error();
        m_errorText = where + verifyReason(SSL_get_verify_result(m_ssl)) + QLatin1Char('.');
        return Step::Failed;
    }
    QString reason = takeLibraryError();
    if (reason.isEmpty()) {
        if (sslError == SSL_ERROR_SYSCALL && result == 0)
            reason = QStringLiteral("the server closed the connection");
        else if (sslError == SSL_ERROR_SYSCALL && errno != 0)
            reason = QString::fromLocal8Bit(std::strerror(errno));
        else
            reason = QStringLiteral("TLS error %1").arg(sslError);
    } else if (reason == QLatin1String("unexpected eof while reading")) {
        reason = QStringLiteral("the server closed the connection");
    }
    if (!m_established)
        reason += QStringLiteral(" during the handshake");
    m_errorText = where + reason + QLatin1Char('.');
    return Step::Failed;
}

TlsSession::Step TlsSession::handshake()
{
    if (m_established)
        return Step::Done;
    ERR_clear_error();
    errno = 0;
    const int result = SSL_do_handshake(m_ssl);
    if (result == 1) {
        m_established = true;
        return Step::Done;
    }
    const Step step = failure(SSL_get_error(m_ssl, result), result);
    if (step == Step::Closed) {
        m_errorText = QStringLiteral("Secure connection to %1 failed: the server closed the connection during the "
                                     "handshake.")
                          .arg(m_host);
        return Step::Failed;
    }
    return step;
}

TlsSession::Step TlsSession::read(char* data, qint64 size, qint64* count)
{
    *count = 0;
    ERR_clear_error();
    errno = 0;
    size_t done = 0;
    const int result = SSL_read_ex(m_ssl, data, size_t(size), &done);
    if (result == 1) {
        *count = qint64(done);
        return Step::Done;
    }
    const int sslError = SSL_get_error(m_ssl, result);
    // An end without the closing alert counts as a clean one only between records: the start of
    // a record left unfinished means the connection was cut, and what came before may be cut short.
    if (sslError == SSL_ERROR_ZERO_RETURN && SSL_has_pending(m_ssl)) {
        m_errorText = QStringLiteral("Secure connection to %1 failed: the server closed the connection in the "
                                     "middle of a TLS record.")
                          .arg(m_host);
        return Step::Failed;
    }
    return failure(sslError, result);
}

TlsSession::Step TlsSession::write(const char* data, qint64 size, qint64* count)
{
    *count = 0;
    if (size <= 0)
        return Step::Done;
    ERR_clear_error();
    errno = 0;
    size_t done = 0;
    const int result = SSL_write_ex(m_ssl, data, size_t(size), &done);
    if (result == 1) {
        *count = qint64(done);
        return Step::Done;
    }
    const Step step = failure(SSL_get_error(m_ssl, result), result);
    return step == Step::Closed ? Step::Failed : step;
}

qint64 TlsSession::pending() const
{
    return m_ssl ? SSL_pending(m_ssl) : 0;
}

void TlsSession::shutdown()
{
    if (m_ssl && m_established) {
        SSL_shutdown(m_ssl);
        ERR_clear_error();
    }
}
