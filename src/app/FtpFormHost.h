#pragma once

#include <QString>

class QLabel;
class QListWidget;
class SiteReport;

// What the FTP driver form reads from and reports to the window that runs it: the error flag and
// its text, the Check / Options authority file, the run's FTP trace and status, debug mode and the
// report of the site under way.
class FtpFormHost
{
public:
    virtual ~FtpFormHost() = default;

    virtual bool ftperror() const = 0;
    virtual void setFtperror(bool set) = 0;
    virtual const QString& ftperrortext() const = 0;
    virtual void setFtperrortext(const QString& text) = 0;
    virtual QString caFile() const = 0;
    virtual QListWidget* ftplist() const = 0;
    virtual QLabel* ftpstatus() const = 0;
    virtual bool debugmode() const = 0;
    virtual SiteReport& report() = 0;
};
