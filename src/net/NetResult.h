#pragma once

#include <QString>

// What a client's step ended with. Socket codes, a port's own codes, file errors, HTTP and FTP
// replies share one integer space; the kind says which one a number is. The number and the text
// are exactly what the user sees.
struct NetResult
{
    enum class Kind {
        Ok,
        Socket, // a Windows Sockets or resolver code of the socket layer (10004 ... 11004)
        System, // a system error number the socket layer has no sockets code for
        Port, // a port's own code (100, 101, 102, 104, 116, 310 a failed TLS handshake)
        Client, // a client's own code ("152: No server specified in URL.")
        Http, // 151: the server's answer was not a success
        FtpReply, // an FTP server's reply code
        File, // a file that could not be read: the system's error number and message
        Cancelled, // 301 "Interrupted": Skip, Cancel or closing the window ended the wait; the mail
                   // client's "Operation has been canceled" (code 0)
        MailReply, // a mail server's unexpected reply, or the mail client's refusal to go on
        MailMessage, // a mail or session property missing or invalid: the mail client's message id
        TimedOut, // the mail client's countdown ran out
        Program, // one of the program's own errors on the way (a file that cannot be read)
    };

    Kind kind = Kind::Ok;
    int code = 0;
    QString text;
    // The HTTP server's status code when an answer came (200, 302, 404 ...); 0 otherwise.
    int httpStatus = 0;

    bool ok() const { return kind == Kind::Ok; }
    // "code: text", as the HTTP and FTP clients' error classes raise it.
    QString message() const { return QString::number(code) + QStringLiteral(": ") + text; }

    static NetResult of(Kind kind, int code, const QString& text) { return {kind, code, text}; }
};
