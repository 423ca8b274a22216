#include "net/FtpControlPort.h"

FtpControlPort::FtpControlPort(QObject* parent)
    : CIPPortMsg(parent)
{
    setEol("\r\n", DelimiterMode::AnyChar);
}

void FtpControlPort::onConnected(int error)
{
    CIPPortMsg::onConnected(error);
    if (connected)
        connected(error);
}

void FtpControlPort::onDisconnected(int error)
{
    CIPPortMsg::onDisconnected(error);
    if (disconnected)
        disconnected(error);
}

void FtpControlPort::onError(int code, const QString& text)
{
    if (failed)
        failed(code, text);
}

int FtpControlPort::waitTurn()
{
    return turn ? turn() : 0;
}
