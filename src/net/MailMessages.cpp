#include "net/MailMessages.h"

#include "net/SocketErrorTexts.h"

#include <QHash>

namespace MailMessages {

QString text(int id)
{
    static const QHash<int, const char*> table{
        {57000, "Operation timed out"},
        {57001, "Operation has been canceled"},
        {57002, "Server property is required"},
        {57003, "Invalid Winsock version"},
        {57004, "Error resolving remote host"},
        {57005, "Service name is required"},
        {57006, "Proxy port is required"},
        {57007, "Invalid URL"},
        {57008, "You have to connect to the server first"},
        {57009, "Server is busy"},
        {57010, "Function %s not found"},
        {57011, "Winsock is not loaded"},
        {57012, "Winsock not found"},
        {57013, "Invalid query format.  @ symbol not present"},
        {57014, "Server returned invalid reply"},
        {57015, "IDs in the query and response are different"},
        {57016, "This is not a response"},
        {57017, "Domain server was unable to interpret a query"},
        {57018, "Domain server failure"},
        {57019, "Domain name does not exist"},
        {57020, "Not implemented"},
        {57021, "Domain server refused to return the information"},
        {57100, "The address of sender is required"},
        {57101, "At least one Recipient, CC or BCC must be entered"},
        {57102, "MailMessage property must be assigned"},
    };
    const char* found = table.value(id, nullptr);
    return found ? QString::fromLatin1(found) : QString();
}

QString socketErrorText(int code)
{
    const QString text = SocketErrorTexts::mailClient(code);
    if (text.isEmpty())
        return QStringLiteral("Error #%1").arg(code);
    return QStringLiteral("[%1] %2").arg(code).arg(text);
}

} // namespace MailMessages
