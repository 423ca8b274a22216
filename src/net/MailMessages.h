#pragma once

#include <QString>

// The mail stack's message table, by numeric id (57000 "Operation timed out" ...).
namespace MailMessages {

enum Id {
    TimedOut = 57000,
    Canceled = 57001,
    ServerRequired = 57002,
    InvalidWinsockVersion = 57003,
    ResolveFailed = 57004,
    ServiceRequired = 57005,
    NotConnected = 57008,
    FunctionNotFound = 57010,
    WinsockNotLoaded = 57011,
    WinsockNotFound = 57012,
    SenderRequired = 57100,
    RecipientRequired = 57101,
    MailMessageRequired = 57102,
    // An envelope address that would break its command (its text is built with the address).
    InvalidAddress = 57103,
};

// The text of a message id; empty for an id that is not in the table.
QString text(int id);
// The text of a sockets error code ("[10061] Connection refused"), or "Error #" + code.
QString socketErrorText(int code);

} // namespace MailMessages
