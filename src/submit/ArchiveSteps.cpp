#include "submit/ArchiveSteps.h"

#include "archive/TZipBuilder.h"
#include "core/Dialogs.h"
#include "core/LineFile.h"
#include "core/TextWrap.h"
#include "submit/RunControls.h"
#include "submit/RunWindow.h"

#include <QFile>

#include <cstdio>

namespace {

QString str(const char* text)
{
    return QString::fromLatin1(text);
}

// Adds files to archive through the component; true when the library added them.
bool addFiles(TZipBuilder& zip, const QString& archive, const QStringList& files)
{
    zip.setZipFilename(archive);
    zip.Load_Zip_Dll();
    zip.Load_Unz_Dll();
    zip.FSpecArgs() = files;
    zip.Add();
    return zip.SuccessCnt() > 0;
}

// Why the component made no archive, in its own words.
QString problemOf(const TZipBuilder& zip, const QString& archive)
{
    const QString problem = zip.LastProblem();
    return problem.isEmpty() ? QStringLiteral("No files were added to ") + archive : problem;
}

} // namespace

ArchiveTexts ArchiveSteps::textsOf(const RunWindow& window)
{
    // The notes and the long description go into the files wrapped at 72 columns; the window and
    // the record keep the author's text as typed.
    return ArchiveTexts([&window](const QString& control) {
        const QString text = window.text(control);
        if (control == QLatin1String("Memo2") || control == QLatin1String("longdesc"))
            return wrapLines(text);
        return text;
    });
}

void ArchiveSteps::writeTextFile(const QString& path, const QStringList& lines, TextEncoding recordEncoding)
{
    writeLineFileIn(path, lines, recordEncoding);
}

QString ArchiveSteps::makeArchive(
    RunWindow& window, ZipAction action, const ArchiveFiles& files, const QString& localpath, const QString& libraryDir)
{
    if (action == ZipAction::KeepExisting)
        return {};
    TZipBuilder zip;
    zip.setLibraryDir(libraryDir);
    zip.setAddCompLevel(9);
    QObject::connect(&zip, &TZipBuilder::OnProgress, [&window](int, const QString& name, qint64 size) {
        window.setText(RunControl::genlabel, str("Zipping: ") + name + str(" - Size: ") + QString::number(size));
    });

    if (action == ZipAction::AddBoth)
        return addFiles(zip, files.archive, {localpath, files.description}) ? QString() : problemOf(zip, files.archive);

    // A copy of the program's archive with the description added, built under a name of its own
    // and renamed into place only when complete.
    const QString partial
        = files.folder + QLatin1Char('/') + QStringLiteral(".partial-") + files.archive.section(QLatin1Char('/'), -1);
    QFile::remove(partial);
    if (!QFile::copy(localpath, partial)) {
        const QString problem = QStringLiteral("Cannot copy %1 to %2").arg(localpath, files.archive);
        dialogs().showMessage(problem);
        return problem;
    }
    bool added = false;
    try {
        added = addFiles(zip, partial, {files.description});
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!added) {
        QFile::remove(partial);
        return problemOf(zip, files.archive);
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(files.archive).constData()) != 0) {
        QFile::remove(partial);
        return QStringLiteral("Cannot create file ") + files.archive;
    }
    return {};
}
