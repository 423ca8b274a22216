#include "support/TestAuthority.h"

#include <QFile>
#include <QProcess>

TestAuthority::TestAuthority()
{
    const QStringList key = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
        QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    m_ready = m_dir.isValid()
        && run(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + key
            + QStringList{QStringLiteral("-keyout"), path(QStringLiteral("ca.key")), QStringLiteral("-out"), caFile(),
                QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                QStringLiteral("/CN=Quillet Test CA")})
        && issue(QStringLiteral("good"), QStringLiteral("IP:127.0.0.1,DNS:localhost"), 2)
        && issue(QStringLiteral("wronghost"), QStringLiteral("DNS:elsewhere.example"), 2)
        && issue(QStringLiteral("expired"), QStringLiteral("IP:127.0.0.1,DNS:localhost"), -1);
}

bool TestAuthority::run(const QStringList& args)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), args);
    if (!openssl.waitForFinished(30000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        m_errors += QString::fromLocal8Bit(openssl.readAllStandardError());
        return false;
    }
    return true;
}

bool TestAuthority::issue(const QString& name, const QString& altNames, int days)
{
    const QString extensions = path(name + QStringLiteral(".ext"));
    QFile ext(extensions);
    if (!ext.open(QIODevice::WriteOnly))
        return false;
    ext.write("subjectAltName=" + altNames.toLatin1() + "\n");
    ext.close();
    const QString request = path(name + QStringLiteral(".csr"));
    return run({QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
               QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
               keyFile(name), QStringLiteral("-out"), request, QStringLiteral("-subj"), QStringLiteral("/CN=") + name})
        && run({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), request, QStringLiteral("-CA"),
            caFile(), QStringLiteral("-CAkey"), path(QStringLiteral("ca.key")), QStringLiteral("-CAcreateserial"),
            QStringLiteral("-out"), certFile(name), QStringLiteral("-days"), QString::number(days),
            QStringLiteral("-extfile"), extensions});
}
