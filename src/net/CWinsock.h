#pragma once

#include <QString>

// The sockets binding of one component: a use-counted, process-wide library state, and the one
// place where POSIX errno and resolver errors become the Windows Sockets codes (10061, 11001 ...)
// whose texts the user sees.
//
// The POSIX sockets need no loading; the state is kept because components and their users
// observe it: operations of a component that has not loaded the library fail with 10093, and
// WinsockStatus reads "Down" until it is loaded.
class CWinsock
{
public:
    CWinsock() = default;
    // A component that loaded the library releases it when destroyed.
    ~CWinsock();
    CWinsock(const CWinsock&) = delete;
    CWinsock& operator=(const CWinsock&) = delete;

    bool loaded() const { return m_loaded; }
    // true loads (once per component, counted process-wide); false releases.
    void setLoaded(bool loaded);
    // The library's description, empty until first loaded.
    QString info() const { return m_info; }
    // The library's status text, "Down" while not loaded.
    QString status() const;
    // Components holding the library right now, process-wide.
    static int useCount();

    // Resolves a dotted address or a host name to its first IPv4 address (network byte order).
    // Returns 0 or a sockets code: 10093 when not loaded, 11001 ... 11004 for look-up failures.
    int resolve(const QString& host, quint32* address) const;
    // The same look-up without the library's state: safe on any thread (HostLookup runs it on one
    // of its own).
    static int resolveName(const QString& host, quint32* address);
    // The answers that need no resolver (a dotted address, an empty name, a name under
    // ".invalid"): true with *code and *address set; false when the resolver has to be asked.
    static bool resolveLocally(const QString& host, quint32* address, int* code);

    // The Windows Sockets code for a POSIX errno value.
    static int codeFromErrno(int error);
    // A non-blocking stream socket bound to localAddress (network byte order, 0: any local
    // address) and localPort (0: any port). Returns 0 with the socket in fd, or the error code.
    static int openBoundSocket(quint16 localPort, int& fd, quint32 localAddress = 0);
    // The Windows Sockets code for a getaddrinfo() result (errno as it was right after the call).
    static int codeFromResolver(int result, int error);
    // The sockets error table's text for code, empty when the code is not in the table.
    static QString errorText(int code);
    // The standard description of an error without one of its own: "Ok" for 0,
    // "[10061] Connection refused." for a listed code, "[151] (no description available)." otherwise.
    static QString describe(int code);

private:
    bool m_loaded = false;
    QString m_info;
};
