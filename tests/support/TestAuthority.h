#pragma once

#include <QString>
#include <QTemporaryDir>

// A throw-away certificate authority made with the openssl command, and server certificates
// signed by it: one for 127.0.0.1 and localhost, one for another host name, one that has expired.
class TestAuthority
{
public:
    TestAuthority();

    bool ready() const { return m_ready; }
    QString errors() const { return m_errors; }
    QString caFile() const { return path(QStringLiteral("ca.pem")); }
    // Certificate and key files of a server certificate: "good", "wronghost" or "expired".
    QString certFile(const QString& name) const { return path(name + QStringLiteral(".pem")); }
    QString keyFile(const QString& name) const { return path(name + QStringLiteral(".key")); }

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    bool run(const QStringList& args);
    bool issue(const QString& name, const QString& altNames, int days);

    QTemporaryDir m_dir;
    bool m_ready = false;
    QString m_errors;
};
