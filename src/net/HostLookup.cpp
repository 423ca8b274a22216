#include "net/HostLookup.h"

#include "net/CWinsock.h"

#include <QHash>
#include <QMetaObject>
#include <QObject>

#include <memory>
#include <mutex>
#include <thread>

namespace {

// What the resolver's thread and the receiver's thread share of one look-up.
struct Pending
{
    std::mutex mutex;
    QObject* receiver = nullptr; // cleared by abort(): the answer is dropped
    HostLookup::Done done;
};

// The look-ups not yet answered, by id; touched on the receivers' thread only.
QHash<int, std::shared_ptr<Pending>>& pendingLookups()
{
    static QHash<int, std::shared_ptr<Pending>> lookups;
    return lookups;
}

} // namespace

namespace HostLookup {

int start(const QString& host, QObject* receiver, Done done)
{
    static int lastId = 0;
    const int id = ++lastId;
    auto pending = std::make_shared<Pending>();
    pending->receiver = receiver;
    pending->done = std::move(done);
    pendingLookups().insert(id, pending);
    std::thread([pending, host, id] {
        quint32 address = 0;
        const int code = CWinsock::resolveName(host, &address);
        // Posted while the receiver is known to be there; a receiver deleted after this loses
        // the posted call with its other events.
        const std::lock_guard<std::mutex> lock(pending->mutex);
        if (!pending->receiver)
            return;
        QMetaObject::invokeMethod(
            pending->receiver,
            [pending, id, code, address] {
                Done done;
                {
                    const std::lock_guard<std::mutex> lock(pending->mutex);
                    if (!pending->receiver)
                        return;
                    pending->receiver = nullptr;
                    done = std::move(pending->done);
                }
                pendingLookups().remove(id);
                done(code, address);
            },
            Qt::QueuedConnection);
    }).detach();
    return id;
}

void abort(int id)
{
    const std::shared_ptr<Pending> pending = pendingLookups().take(id);
    if (!pending)
        return;
    const std::lock_guard<std::mutex> lock(pending->mutex);
    pending->receiver = nullptr;
}

} // namespace HostLookup
