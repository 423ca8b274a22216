#pragma once

#include <QString>

// The mail form's own settings: an ini file named after the executable, beside it, section
// "Setup"; where that folder cannot be written (or the copy is installed), in the user's
// configuration folder.
namespace MailFormIni {

struct Setup
{
    QString server;
    QString address;
    QString name;
    QString logFile;
    int charSet = 0; // 0 or 1
    int encoding = 0; // 0 or 1
};

QString path();
Setup read();
void write(const Setup& setup);

} // namespace MailFormIni
