#pragma once

#include "net/NetResult.h"

class QuilletError;

// The mail client's errors as results and back again. Every error class of net/MailErrors.h has a
// kind of its own, so that raising a result gives the class and the message that were caught.
// The user sees a mail result's text alone (no code in front).
namespace MailResult {

NetResult of(const QuilletError& error);
[[noreturn]] void raise(const NetResult& result);

} // namespace MailResult
