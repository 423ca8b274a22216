#pragma once

#include <QString>

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

// The sessions servers offer for resumption, kept per client context and server (host and port):
// the next connection to the same server under the same trust resumes one instead of a full
// handshake, so the server's certificates are not parsed and verified again for every mail of a
// run. A TLS 1.3 session is offered once (its tickets are meant for one use; each connection brings
// the server's next ones); a TLS 1.2 one as long as the server resumes it.
namespace TlsSessionCache {

// Makes a context keep the sessions its connections are offered. Only for contexts that live as
// long as the program: the kept sessions are found by the context's address.
void enable(SSL_CTX* context);
// Ties a connection on fd to the server it reaches as host: the sessions it is offered are kept
// for that server, and one kept for it before is offered for resumption.
void attach(SSL* ssl, int fd, const QString& host);

} // namespace TlsSessionCache
