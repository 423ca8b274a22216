#pragma once

#include <QString>

#include <functional>

class QObject;

// A name look-up that does not hold up the event loop: the resolver runs on a thread of its own
// and the answer comes back as a queued call on the receiver's thread, where waits, Skip and Cancel
// go on meanwhile. The same answers as CWinsock::resolve: a dotted address at once, a name under
// ".invalid" never resolves, failures as sockets codes (11001 not found, 11002 try again ...).
namespace HostLookup {

// done(code, address): 0 with the first IPv4 address (network byte order), or the sockets code.
using Done = std::function<void(int code, quint32 address)>;

// Starts the look-up; the id it returns names it to abort(). done never runs before start returns.
int start(const QString& host, QObject* receiver, Done done);
// Drops the look-up's answer: done never runs. Call it before the receiver goes.
void abort(int id);

} // namespace HostLookup
