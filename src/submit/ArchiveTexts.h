#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The texts the archive sites receive as files and mail, built line by line from the listing's
// control texts (read through the function given, so tests feed a map). Pure: nothing is read
// from or written to disk here.
class ArchiveTexts
{
public:
    // The control's text as the window shows it; memos with their lines joined by CR LF.
    using ControlText = std::function<QString(const QString& control)>;

    // The archive description file's two layouts: simtel's (conditional lines, the label
    // "Submitted By:") and winsite's (every line).
    enum class Layout { Simtel, Winsite };

    explicit ArchiveTexts(ControlText text);

    QStringList description(Layout layout) const;
    // The TML fill-in form of the winsite upload.
    QStringList tmlForm() const;
    // The simtel announcement's file line (also its subject): "name.zip" padded to 16 characters,
    // then the short description.
    QString announcementFileLine() const;
    QStringList announcement() const;

    // "Windows 95" or "Windows 95 and NT": the platforms the uploads' win95 folder takes.
    static bool isWin95(const QString& platforms);
    static bool isWinNT(const QString& platforms);

private:
    QString value(const char* control) const;
    // A memo's text as lines; an empty memo gives no line.
    QStringList memoLines(const char* control) const;

    ControlText m_text;
};
