#pragma once

#include <QString>

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

// The client side of one TLS connection (OpenSSL) over a connected non-blocking socket that the
// caller owns and waits on. Nothing here blocks: every step says whether it is done or which
// readiness of the socket it needs next. The server's certificate is verified against the
// system's trust store (and an extra CA file when one is given) and against the host name;
// verification cannot be turned off.
class TlsSession
{
public:
    enum class Step { Done, WantRead, WantWrite, Closed, Failed };

    TlsSession() = default;
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    // Prepares the handshake on fd for host (a name or a dotted address). False with errorText()
    // when the context cannot be set up (an unreadable CA file, for one). The context of a CA file
    // is made once per process and shared. resumeFrom: an established session whose TLS session
    // this one offers to resume (an FTP data connection resumes its control connection's).
    bool begin(int fd, const QString& host, const QString& caFile, const TlsSession* resumeFrom = nullptr);
    Step handshake();
    bool established() const { return m_established; }
    // The handshake resumed an earlier session instead of a full one.
    bool resumed() const;
    // Done with *count bytes (at least one), Closed at the end of the peer's data, or a wait.
    Step read(char* data, qint64 size, qint64* count);
    // Done with *count bytes taken (possibly fewer than size), or a wait. After a wait the same
    // bytes must be offered again.
    Step write(const char* data, qint64 size, qint64* count);
    // Decrypted bytes held inside the session that the socket's readiness will not announce.
    qint64 pending() const;
    // Sends the closing alert when the socket takes it at once; never waits.
    void shutdown();

    // Why the last step failed, naming the reason (expired, wrong host, unknown issuer ...).
    QString errorText() const { return m_errorText; }

private:
    Step failure(int sslError, int result);

    SSL_CTX* m_context = nullptr;
    SSL* m_ssl = nullptr;
    QString m_host;
    bool m_established = false;
    QString m_errorText;
};
