#include "batch/MailPassword.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace {

const QString Service = QStringLiteral("Quillet SMTP");

} // namespace

namespace MailPassword {

void read(const QString& user, QObject* context, std::function<void(const QString&)> done)
{
    if (user.isEmpty())
        return;
    auto* job = new QKeychain::ReadPasswordJob(Service);
    job->setKey(user);
    QPointer<QObject> guard(context);
    QObject::connect(job, &QKeychain::Job::finished, [guard, done](QKeychain::Job* finished) {
        const auto* reader = static_cast<QKeychain::ReadPasswordJob*>(finished);
        if (guard && reader->error() == QKeychain::NoError && !reader->textData().isEmpty())
            done(reader->textData());
    });
    job->start();
}

void write(const QString& user, const QString& password)
{
    if (user.isEmpty() || password.isEmpty())
        return;
    auto* job = new QKeychain::WritePasswordJob(Service);
    job->setKey(user);
    job->setTextData(password);
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(3000, &loop, &QEventLoop::quit);
    job->start();
    loop.exec();
}

} // namespace MailPassword
