#pragma once

#include <QString>
#include <QStringList>

class SiteReport;

// What the FTP driver reads from and reports to the window that runs it: the error flag and its
// text, the Check / Options authority file, the run's FTP trace and status, debug mode and the
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
    // The run's FTP trace ("ftplist"), scrolled to its end as it grows, and the FTP status.
    virtual void addFtpTrace(const QString& line) = 0;
    virtual void clearFtpTrace() = 0;
    virtual QStringList ftpTrace() const = 0;
    virtual void setFtpStatus(const QString& text) = 0;
    virtual bool debugmode() const = 0;
    virtual SiteReport& report() = 0;
};
