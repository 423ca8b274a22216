#pragma once

#include <QByteArray>

typedef struct ssl_ctx_st SSL_CTX;

// The system's trust anchors for a client context. Where the certificate folder holds hashed
// names (as c_rehash and update-ca-certificates make them), a handshake reads the one root it
// needs from it; only without one is the whole bundle file parsed up front, which costs more
// than the handshakes of a run. SSL_CERT_DIR and SSL_CERT_FILE are honoured as OpenSSL's
// defaults honour them (SSL_CERT_FILE naming the default bundle adds nothing to the folder).
namespace SystemTrust {

void addTo(SSL_CTX* context);
// The environment's trust settings as one text, to tell contexts made under other ones apart.
QByteArray settings();

} // namespace SystemTrust
