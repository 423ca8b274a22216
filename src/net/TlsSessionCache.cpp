#include "net/TlsSessionCache.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <utility>

namespace {

using Server = std::pair<SSL_CTX*, QByteArray>;

// A run talks to a few dozen servers at most.
constexpr std::size_t MostServers = 64;

struct Kept
{
    std::mutex lock;
    std::map<Server, SSL_SESSION*> sessions;
};

Kept& kept()
{
    static Kept k;
    return k;
}

void freeServerName(void*, void* name, CRYPTO_EX_DATA*, int, long, void*)
{
    delete static_cast<QByteArray*>(name);
}

// Where a connection keeps the name of the server it reaches ("host:port").
int serverNameIndex()
{
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, freeServerName);
    return index;
}

int keepOffered(SSL* ssl, SSL_SESSION* session)
{
    const auto* name = static_cast<const QByteArray*>(SSL_get_ex_data(ssl, serverNameIndex()));
    if (!name || !SSL_SESSION_is_resumable(session))
        return 0;
    Kept& k = kept();
    const std::lock_guard<std::mutex> hold(k.lock);
    const Server server{SSL_get_SSL_CTX(ssl), *name};
    if (const auto found = k.sessions.find(server); found != k.sessions.end()) {
        SSL_SESSION_free(found->second);
        found->second = session;
        return 1;
    }
    if (k.sessions.size() >= MostServers) {
        SSL_SESSION_free(k.sessions.begin()->second);
        k.sessions.erase(k.sessions.begin());
    }
    k.sessions.emplace(server, session);
    return 1; // the reference is ours now
}

} // namespace

void TlsSessionCache::enable(SSL_CTX* context)
{
    SSL_CTX_set_session_cache_mode(context, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
    SSL_CTX_sess_set_new_cb(context, keepOffered);
}

void TlsSessionCache::attach(SSL* ssl, int fd, const QString& host)
{
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sin_family != AF_INET)
        return;
    const QByteArray name = host.toUtf8() + ':' + QByteArray::number(ntohs(peer.sin_port));
    SSL_set_ex_data(ssl, serverNameIndex(), new QByteArray(name));
    Kept& k = kept();
    const std::lock_guard<std::mutex> hold(k.lock);
    const auto found = k.sessions.find(Server{SSL_get_SSL_CTX(ssl), name});
    if (found == k.sessions.end())
        return;
    SSL_set_session(ssl, found->second);
    // A TLS 1.3 ticket is for one use, and the connection brings the next; a TLS 1.2 session is
    // offered again, since a resumed one is not handed on anew.
    if (SSL_SESSION_get_protocol_version(found->second) >= TLS1_3_VERSION) {
        SSL_SESSION_free(found->second);
        k.sessions.erase(found);
    }
}
