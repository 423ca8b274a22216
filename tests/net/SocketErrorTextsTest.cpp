// The socket error texts as the socket layer and the mail client show them, from the one table.
#include "net/CWinsock.h"
#include "net/MailMessages.h"

#include <gtest/gtest.h>

namespace {

struct TextCase
{
    int code;
    const char* socketLayer; // CWinsock::describe
    const char* mailClient; // MailMessages::socketErrorText
};

TEST(SocketErrorTexts, EachUserReadsItsOwnWording)
{
    const TextCase cases[] = {
        {10061, "[10061] Connection refused.", "[10061] Connection refused"},
        {10004, "[10004] Interrupted system call.", "[10004] Interrupted function call"},
        {10013, "[10013] Access denied.", "[10013] Permission denied."},
        {10066, "[10066] Directory not empt.", "[10066] Directory not empty"},
        {10093, "[10093] Winsock not loaded yet (WSANOTINITIALISED).",
            "[10093] Successful WSAStartup() not yet performed"},
        {10094, "[10094] (no description available).", "[10094] Graceful shutdown in progress"},
        {11001, "[11001] Host not found.", "[11001] Host not found"},
        {11004, "[11004] Valid name, no data record (check DNS setup).",
            "[11004] Valid name, no data record of requested type"},
        {10100, "[10100] (no description available).", "Error #10100"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(CWinsock::describe(c.code).toStdString(), c.socketLayer);
        EXPECT_EQ(MailMessages::socketErrorText(c.code).toStdString(), c.mailClient);
    }
    EXPECT_TRUE(CWinsock::errorText(10094).isEmpty());
}

} // namespace
