#include "net/SocketErrorTexts.h"

namespace {

struct Row
{
    int code;
    const char* socketLayer; // nullptr: none
    const char* mailClient; // nullptr: the socket layer's
};

// Ordered by code.
constexpr Row Table[] = {
    {10004, "Interrupted system call", "Interrupted function call"},
    {10009, "Bad file number", nullptr},
    {10013, "Access denied", "Permission denied."},
    {10014, "Bad address", nullptr},
    {10022, "Invalid argument", nullptr},
    {10024, "Too many open files", nullptr},
    {10035, "Operation would block", "Resource temporarily not available"},
    {10036, "Operation now in progress", nullptr},
    {10037, "Operation already in progress", nullptr},
    {10038, "Socket operation on non-socket", nullptr},
    {10039, "Destination address required", nullptr},
    {10040, "Message too long", nullptr},
    {10041, "Protocol wrong type for socket", nullptr},
    {10042, "Bad protocol option", nullptr},
    {10043, "Protocol not supported", nullptr},
    {10044, "Socket type not supported", nullptr},
    {10045, "Operation not supported on socket", "Operation not supported"},
    {10046, "Protocol family not supported", nullptr},
    {10047, "Address family not supported by protocol family", nullptr},
    {10048, "Address already in use", nullptr},
    {10049, "Can't assign requested address", "Cannot assign requested address"},
    {10050, "Network is down", nullptr},
    {10051, "Network is unreachable", nullptr},
    {10052, "Net dropped connection or reset", "Network dropped connection or reset"},
    {10053, "Software caused connection abort", nullptr},
    {10054, "Connection reset by peer", nullptr},
    {10055, "No buffer space available", nullptr},
    {10056, "Socket is already connected", nullptr},
    {10057, "Socket is not connected", nullptr},
    {10058, "Can't send after socket shutdown", nullptr},
    {10059, "Too many references, can't splice", nullptr},
    {10060, "Connection timed out", nullptr},
    {10061, "Connection refused", nullptr},
    {10062, "Too many levels of symbolic links", nullptr},
    {10063, "File name too long", nullptr},
    {10064, "Host is down", nullptr},
    {10065, "No route to host", "No Route to Host"},
    {10066, "Directory not empt", "Directory not empty"},
    {10067, "Too many processes", nullptr},
    {10068, "Too many users", nullptr},
    {10069, "Disc Quota Exceeded", nullptr},
    {10070, "Stale NFS file handle", nullptr},
    {10071, "Too many levels of remote in path", nullptr},
    {10091, "Network subsystem is unavailable", nullptr},
    {10092, "WINSOCK DLL Version out of range", nullptr},
    {10093, "Winsock not loaded yet (WSANOTINITIALISED)", "Successful WSAStartup() not yet performed"},
    {10094, nullptr, "Graceful shutdown in progress"},
    {11001, "Host not found", nullptr},
    {11002, "Non-authoritative 'Host not found' (try again or check DNS setup)", "Non-Authoritative Host not found"},
    {11003, "Non-recoverable errors: FORMERR, REFUSED, NOTIMP", "Non-Recoverable errors: FORMERR, REFUSED, NOTIMP"},
    {11004, "Valid name, no data record (check DNS setup)", "Valid name, no data record of requested type"},
};

const Row* find(int code)
{
    for (const Row& row : Table) {
        if (row.code == code)
            return &row;
    }
    return nullptr;
}

} // namespace

namespace SocketErrorTexts {

QString socketLayer(int code)
{
    const Row* row = find(code);
    return row && row->socketLayer ? QString::fromLatin1(row->socketLayer) : QString();
}

QString mailClient(int code)
{
    const Row* row = find(code);
    if (!row)
        return QString();
    return QString::fromLatin1(row->mailClient ? row->mailClient : row->socketLayer);
}

} // namespace SocketErrorTexts
