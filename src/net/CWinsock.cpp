#include "net/CWinsock.h"

#include "net/SocketErrorTexts.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_useCount = 0;

// Names under the reserved "invalid" domain never exist (RFC 6761, 6.4): answer at once
// instead of asking a name server.
bool isReservedInvalid(const QString& host)
{
    QString name = host.toLower();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name == QLatin1String("invalid") || name.endsWith(QLatin1String(".invalid"));
}

} // namespace

CWinsock::~CWinsock()
{
    setLoaded(false);
}

void CWinsock::setLoaded(bool loaded)
{
    if (loaded == m_loaded)
        return;
    m_loaded = loaded;
    if (loaded) {
        ++g_useCount;
        m_info = QStringLiteral("POSIX sockets 1.1");
    } else {
        --g_useCount;
    }
}

QString CWinsock::status() const
{
    return m_loaded ? QStringLiteral("Running") : QStringLiteral("Down");
}

int CWinsock::useCount()
{
    return g_useCount;
}

int CWinsock::resolve(const QString& host, quint32* address) const
{
    *address = 0;
    if (!m_loaded)
        return 10093;
    return resolveName(host, address);
}

bool CWinsock::resolveLocally(const QString& host, quint32* address, int* code)
{
    *address = 0;
    *code = 11001;
    const QByteArray name = host.trimmed().toUtf8();
    if (name.isEmpty())
        return true;
    in_addr dotted{};
    if (inet_pton(AF_INET, name.constData(), &dotted) == 1) {
        *address = dotted.s_addr;
        *code = 0;
        return true;
    }
    return isReservedInvalid(host.trimmed());
}

int CWinsock::resolveName(const QString& host, quint32* address)
{
    if (int code = 0; resolveLocally(host, address, &code))
        return code;
    const QByteArray name = host.trimmed().toUtf8();

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    errno = 0;
    const int result = getaddrinfo(name.constData(), nullptr, &hints, &found);
    const int error = errno;
    if (result != 0)
        return codeFromResolver(result, error);
    int code = 11004;
    for (addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr) {
            *address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
            code = 0;
            break;
        }
    }
    freeaddrinfo(found);
    return code;
}

int CWinsock::codeFromErrno(int error)
{
    switch (error) {
    case 0:
        return 0;
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EWOULDBLOCK:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
        return 10054;
    case ENOBUFS:
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
    case EPIPE:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    case EUSERS:
        return 10068;
    case EDQUOT:
        return 10069;
    case ESTALE:
        return 10070;
    case EREMOTE:
        return 10071;
    default:
        // Not a sockets condition of the table: pass the system's own number on rather than
        // dress it up as an unrelated sockets code.
        return error;
    }
}

int CWinsock::codeFromResolver(int result, int error)
{
    switch (result) {
    case 0:
        return 0;
    case EAI_NONAME:
        return 11001;
    case EAI_AGAIN:
        return 11002;
    case EAI_FAIL:
        return 11003;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return 11004;
    case EAI_MEMORY:
        return 10055;
    case EAI_SYSTEM:
        return error ? codeFromErrno(error) : 11003;
    default:
        return 11003;
    }
}

QString CWinsock::errorText(int code)
{
    return SocketErrorTexts::socketLayer(code);
}

QString CWinsock::describe(int code)
{
    if (code == 0)
        return QStringLiteral("Ok");
    QString text = errorText(code);
    if (text.isEmpty())
        text = QStringLiteral("(no description available)");
    return QLatin1Char('[') + QString::number(code) + QStringLiteral("] ") + text + QLatin1Char('.');
}

int CWinsock::openBoundSocket(quint16 localPort, int& fd, quint32 localAddress)
{
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return codeFromErrno(errno);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = localAddress != 0 ? localAddress : htonl(INADDR_ANY);
    local.sin_port = htons(localPort);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        const int code = codeFromErrno(errno);
        ::close(fd);
        fd = -1;
        return code;
    }
    return 0;
}
