#pragma once

#include "net/NetResult.h"

#include <QString>

class FtpChannel;
class RunWindow;

// The FTP upload steps a recipe performs through the FTP driver form, and the log lines they end
// in. FTP failures never stop the run: the buttons' results are collected (as the driver form's
// flag collects them) and each result line reports and clears them. After a failed log-on the
// later steps send nothing: each fails at once with the log-on's error (a silent host would
// otherwise cost one time-out per step).
//
// The usual sequence (one file, "<site>: Uploaded <name> to FTP" on success):
//
//     FtpUpload ftp(visit.window, visit.channels.ftp, QStringLiteral("Tucows"));
//     ftp.logon(QStringLiteral("logging on to Tucows FTP"), visit.endpoints.ftpHost,
//         QStringLiteral("Anonymous"), window.text("conmail"), window.text("localpath"));
//     ftp.upload(QStringLiteral("uploads/"), window.text("filename"));
//     ftp.logResult(QStringLiteral("Uploaded ") + window.text("filename") + QStringLiteral(" to Tucows FTP"));
//     ftp.logoff(QStringLiteral("logging off of Tucows FTP"));
//
// Archive sites call changeDirectory() after logon(), upload() and logResult() once per file
// (another local file through the localFile argument), and may log a result after logoff().
class FtpUpload
{
public:
    static inline const QString ErrorText = QStringLiteral("There was an FTP error: ");

    // logName: the site's log name, which begins every error line ("Simtel").
    FtpUpload(RunWindow& window, FtpChannel& ftp, const QString& logName);

    // ftpstatus shows statusText; the form gets the host ("host" or "host:port"), user, password,
    // the local file and an empty remote file; Logon is pressed. The flag is cleared first, so a
    // site's steps never start with an earlier site's failure.
    void logon(const QString& statusText, const QString& host, const QString& user, const QString& password,
        const QString& localFile);
    // Puts folder into the remote folder box and presses Change Directory.
    void changeDirectory(const QString& folder);
    // The generated archive of files/ whose uploads are read before they go.
    void checkArchive(const QString& archive) { m_archive = archive; }
    // Only fills the remote folder box (no folder change is made).
    void setRemotePath(const QString& folder);
    // Uploads under the remote name remotePrefix + the last path component of name ("/" or "\"
    // separated), so that a typed file name or a local path never puts "../" or a folder of its
    // own into the STOR. A name without a usable last component ("", ".", "..") is not uploaded:
    // the result line reports it. localFile, when given, replaces the form's local file first. The
    // archive named by checkArchive() is read first: a damaged or empty one is not sent, and the
    // result line says so.
    void upload(const QString& remotePrefix, const QString& name, const QString& localFile = QString());
    // Logs uploadedLine when no failure is flagged, else logName + ": " + errorText + the failure's
    // text; clears the flag and lets pending window messages run. Returns whether it was a success.
    bool logResult(const QString& uploadedLine, const QString& errorText = ErrorText);
    // ftpstatus shows statusText; Logoff is pressed; ftpstatus shows "Idle".
    void logoff(const QString& statusText);

    // The last path component of a name, "/" and "\" both separating.
    static QString lastComponent(const QString& name);

private:
    // Keeps a button's failure for the next result line.
    void take(const NetResult& result);
    // Keeps step as the one that failed when it is the first to leave a failure.
    void noteStep(const QString& step);
    // After a failed log-on: step fails with the log-on's error, nothing is sent. True then.
    bool failWithLogon(const QString& step);

    RunWindow& m_window;
    FtpChannel& m_ftp;
    QString m_logName;
    NetResult m_failure; // the last failure since the last result line
    QString m_refused; // why the last upload was not attempted
    QString m_failedStep; // the first step that failed since the last result line
    QString m_localFile; // the file the next upload sends
    QString m_archive; // see checkArchive()
    QString m_logonFailure; // why the log-on failed; empty while it has not
};
