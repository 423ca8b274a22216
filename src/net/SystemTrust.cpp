#include "net/SystemTrust.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdlib>
#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace {

// Whether any of the folders (separated by ':') holds a certificate under its hashed name.
bool holdsHashedNames(const QByteArray& folders)
{
    static const QRegularExpression hashed(QStringLiteral("^[0-9a-f]{8}\\.[0-9]+$"));
    for (const QByteArray& folder : folders.split(':')) {
        if (folder.isEmpty())
            continue;
        QDir dir(QString::fromLocal8Bit(folder));
        dir.setFilter(QDir::Files | QDir::System);
        for (const QString& name : dir.entryList()) {
            if (hashed.match(name).hasMatch())
                return true;
        }
    }
    return false;
}

QString canonical(const char* path)
{
    return QFileInfo(QString::fromLocal8Bit(path)).canonicalFilePath();
}

} // namespace

void SystemTrust::addTo(SSL_CTX* context)
{
    const char* folderVariable = std::getenv(X509_get_default_cert_dir_env());
    const QByteArray folders = folderVariable ? folderVariable : X509_get_default_cert_dir();
    if (!holdsHashedNames(folders)) {
        SSL_CTX_set_default_verify_paths(context);
        return;
    }
    SSL_CTX_load_verify_dir(context, folders.constData());
    // A bundle named on purpose is read as well, unless it names the default bundle, whose roots
    // the default folder holds.
    const char* file = std::getenv(X509_get_default_cert_file_env());
    if (file && canonical(file) != canonical(X509_get_default_cert_file()))
        SSL_CTX_load_verify_file(context, file);
}

QByteArray SystemTrust::settings()
{
    return qgetenv(X509_get_default_cert_dir_env()) + '|' + qgetenv(X509_get_default_cert_file_env());
}
