#include "net/NetResult.h"

#include "net/CIPPort.h"
#include "net/CIPPortMsg.h"

NetResult NetResult::fromPort(int code)
{
    return fromPort(code, QString());
}

NetResult NetResult::fromPort(int code, const QString& description)
{
    const QString text = description.isEmpty() ? CIPPort::describe(code) : description;
    if (code == 0)
        return {Kind::Ok, 0, text};
    if (code == CIPPortMsg::Interrupted)
        return {Kind::Cancelled, code, text};
    if (code >= 10000 && code < 12000)
        return {Kind::Socket, code, text};
    switch (code) {
    case 100:
    case 101:
    case 102:
    case 104:
    case 116:
    case CIPPort::TlsFailed:
        return {Kind::Port, code, text};
    default:
        return {Kind::System, code, text};
    }
}
