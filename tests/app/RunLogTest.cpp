#include "FormOnBase.h"
#include "PdfWords.h"
#include "app/ListEnd.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include "ui/TFlatButton.h"

namespace {

// Scripted dialogs whose print dialog picks a PDF file as the printer, leaving its page margins as
// Qt sets them.
class PdfDialogs : public FakeDialogs
{
public:
    bool choosePrinter(QPrinter& printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        printer.setPageSize(QPageSize(QPageSize::A4));
        return FakeDialogs::choosePrinter(printer);
    }
    QString pdfPath;
};

class RunLog : public FormOnBase
{
protected:
    void fillLog(const QStringList& lines)
    {
        form.log()->clear();
        form.log()->addItems(lines);
    }
};

TEST_F(RunLog, SaveAsksForTheFileAndWritesCrLfLines)
{
    fillLog(
        {q("Tucows: Completed HTTP Post"), q("Simtel: Zipped files\\notestak.zip"), q(""), q("FileMine: E-Mailed")});
    const QString path = base.file(q("files/run.txt"));
    base.write(q("files/run.txt"), "an older, longer log that is replaced whole\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    fake.fileNames = {path};
    form.save()->click();
    ASSERT_EQ(fake.fileRequests.size(), 1);
    const Dialogs::FileRequest& request = fake.fileRequests.first();
    EXPECT_EQ(request.title, q("Save Quillet Log"));
    EXPECT_EQ(request.filter, q("Text files|*.TXT"));
    EXPECT_EQ(request.defaultExt, q("TXT"));
    EXPECT_EQ(request.fileName, q("qtlog.txt"));
    EXPECT_EQ(base.read(q("files/run.txt")),
        QByteArray("Tucows: Completed HTTP Post\r\nSimtel: Zipped files\\notestak.zip\r\n\r\nFileMine: E-Mailed\r\n"));
    EXPECT_EQ(form.log()->count(), 4);
    EXPECT_TRUE(fake.shown.isEmpty());
}

TEST_F(RunLog, SaveCases)
{
    const QString target = base.file(q("files/qtlog.txt"));
    const struct
    {
        const char* name;
        QStringList lines;
        QString chosen;
        bool exists;
        QByteArray content;
        QString error;
    } cases[] = {
        {"emptyLogGivesEmptyFile", {}, target, true, "", {}},
        {"cancelWritesNothing", {q("line")}, q(""), false, "", {}},
        {"folderMissing", {q("line")}, base.file(q("nowhere/qtlog.txt")), false, "",
            q("Cannot create file ") + base.file(q("nowhere/qtlog.txt"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(target);
        fake.errors.clear();
        fillLog(c.lines);
        fake.fileNames = {c.chosen};
        form.save()->click();
        EXPECT_EQ(QFile::exists(c.chosen.isEmpty() ? target : c.chosen), c.exists);
        if (c.exists) {
            EXPECT_EQ(base.read(q("files/qtlog.txt")), c.content);
        }
        EXPECT_EQ(fake.errors, c.error.isEmpty() ? QStringList{} : QStringList{c.error});
        EXPECT_EQ(form.log()->count(), c.lines.size());
    }
}

TEST_F(RunLog, PrintingAnEmptyLogOnlyTellsSo)
{
    fake.acceptPrinter = true;
    form.print()->click();
    EXPECT_EQ(fake.shown, QStringList{q("You do not have a log to print.")});
    EXPECT_EQ(fake.printDialogs, 0);
}

TEST_F(RunLog, CancelledPrintDialogPrintsNothing)
{
    PdfDialogs pdf;
    QTemporaryDir dir;
    pdf.pdfPath = dir.filePath(q("log.pdf"));
    pdf.acceptPrinter = false;
    fillLog({q("one line")});
    form.print()->click();
    EXPECT_EQ(pdf.printDialogs, 1);
    EXPECT_FALSE(QFile::exists(pdf.pdfPath));
    EXPECT_TRUE(pdf.shown.isEmpty());
}

// The log's own lines, in the log's font, printed through the print dialog's printer.
TEST_F(RunLog, PrintedLogComesBackPageByPageInOrder)
{
    PdfDialogs pdf;
    QTemporaryDir dir;
    pdf.pdfPath = dir.filePath(q("log.pdf"));
    pdf.acceptPrinter = true;
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines.append(q("Site%1: Error Posting - 151: 404 Not Found").arg(i, 3, 10, QLatin1Char('0')));
    fillLog(lines);
    form.print()->click();
    EXPECT_TRUE(pdf.shown.isEmpty());
    EXPECT_EQ(pdf.printDialogs, 1);

    QString error;
    const QList<PdfPage> pages = readPdfWords(pdf.pdfPath, &error);
    ASSERT_GE(pages.size(), 2) << error.toStdString();
    QStringList readBack;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QList<PdfLine> printed = pdfLines(pages[p]);
        ASSERT_GE(printed.size(), 2);
        // Each page is headed by its number; the log follows.
        EXPECT_TRUE(printed.first().text().endsWith(q("Page %1 of %2").arg(p + 1).arg(pages.size())))
            << printed.first().text().toStdString();
        for (qsizetype i = 1; i < printed.size(); ++i)
            readBack.append(printed[i].text());
    }
    EXPECT_EQ(readBack, lines);
}

// Lines added while the Submit page is hidden are scrolled to once it shows; while it shows, at once.
TEST_F(RunLog, NewestLineIsInViewOnceThePageShows)
{
    form.resize(800, 600);
    form.show();
    form.PageControl1()->setCurrentIndex(0);
    for (int i = 0; i < 200; ++i)
        addLineAtEnd(form.log(), QStringLiteral("line %1").arg(i));
    form.PageControl1()->setCurrentWidget(form.submitpage());
    QCoreApplication::processEvents();
    QScrollBar* bar = form.log()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    bar->setValue(0);
    addLineAtEnd(form.log(), QStringLiteral("one more"));
    EXPECT_EQ(bar->value(), bar->maximum());
}

class ClosePrompt : public FormOnBase
{
protected:
    bool settingsSaved() const { return QFile::exists(base.file(q("cat/settings.dat"))); }
    bool programSaved() const { return QFile::exists(base.file(q("data/NoteStack.dat"))); }
};

TEST_F(ClosePrompt, Answers)
{
    const struct
    {
        const char* name;
        const char* program;
        QList<Dialogs::Answer> answers;
        bool asked;
        bool closes;
        bool saved;
        const char* version = "1.0"; // an edit to save
    } cases[] = {
        {"noProgram", "", {}, false, true, false, ""},
        {"nothingEdited", "NoteStack", {}, false, true, false, ""},
        {"yes", "NoteStack", {Dialogs::Answer::Yes}, true, true, true},
        {"no", "NoteStack", {Dialogs::Answer::No}, true, true, false},
        {"cancel", "NoteStack", {Dialogs::Answer::Cancel}, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempBase caseBase;
        FakeDialogs answers;
        answers.answers = c.answers;
        TForm1 window;
        window.setBasedir(caseBase.path());
        window.show();
        window.appname()->setEditText(q(c.program));
        window.version()->setText(q(c.version));
        const bool closed = window.close();
        EXPECT_EQ(closed, c.closes);
        EXPECT_EQ(answers.questions, c.asked ? QStringList{q("Would you like to save NoteStack?")} : QStringList{});
        EXPECT_EQ(QFile::exists(caseBase.file(q("data/NoteStack.dat"))), c.saved);
        // Settings are saved after every close, never when the window stays.
        EXPECT_EQ(QFile::exists(caseBase.file(q("cat/settings.dat"))), c.closes);
        EXPECT_TRUE(answers.errors.isEmpty());
    }
}

TEST_F(ClosePrompt, FailedSaveKeepsTheWindowOpen)
{
    fake.answers = {Dialogs::Answer::Yes};
    form.show();
    form.appname()->setEditText(q("NoteStack"));
    form.compname()->setEditText(q("../Larkspur"));
    EXPECT_FALSE(form.close());
    EXPECT_EQ(fake.errors, QStringList{q("Unable to write to ") + base.file(q("data/../Larkspur.dat"))});
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(settingsSaved());
}

} // namespace
