// The run's view of a stored record without the window gives the run exactly what the window
// gives it, and saves the same files.
#include "FormOnBase.h"

#include "app/FormRunWindow.h"
#include "app/SitesPage.h"
#include "batch/RecordLayout.h"
#include "batch/RecordRunWindow.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "submit/RecipeBook.h"
#include "submit/SubmissionRun.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

// A stored record as the files hold it; a null text file is missing.
struct StoredRecord
{
    const char* name;
    const char* dat;
    const char* lds;
    const char* nts;
};

const StoredRecord records[] = {
    {"Odd One",
        "[COMPANY]\r\nCONAME=Inkwell\r\nCONTACT=Ann\r\n[APPINFO]\r\n8CHAR=oddone\r\nVERSION=1.0\r\nDAY=7\r\n"
        "MONTH=12\r\nYEAR=2026\r\nSTATUS=Shareware\r\nDL1=\r\nSHORTDESC=  spaced \xc2\xa0 out  \r\n"
        "[SITES]\r\nsimtelpd=win95/desktop\r\nwinsitenew=1\r\nsharedirup=1\r\n",
        "plain line\r\nno\xc2\xa0"
        "break and\xe2\x80\xa8line separator\r\na lone\rreturn\r\n"
        "paragraph\xe2\x80\xa9separator\r\n\r\n\ttabbed\r\n",
        "note\r\n"},
    // Windows-1252 throughout, a year the two-digit field does not stand for.
    {"Caf\xc3\xa9", "[COMPANY]\r\nCONAME=Caf\xe9 Soft\r\n[APPINFO]\r\nDAY=1\r\nMONTH=2\r\nYEAR=1979\r\n",
        "caf\xe9\r\n\x80\r\n", "na\xefve"},
    // No description file: neither memo is loaded; a month that is no number leaves no date.
    {"Bare", "[APPINFO]\r\nMONTH=May\r\nYEAR=99\r\n[SITES]\r\nfilemine=1\r\n", nullptr, "notes alone\r\n"},
    // No sections at all: every default.
    {"Empty", "", "", nullptr},
};

class RecordRunWindowTest : public FormOnBase, public ::testing::WithParamInterface<StoredRecord>
{
protected:
    RecordRunWindowTest()
    {
        write(records[0]);
        load(form, QString::fromUtf8(records[0].name));
    }

    void write(const StoredRecord& r)
    {
        const QString name = QString::fromUtf8(r.name);
        base.write(QStringLiteral("data/apps.dat"), name.toUtf8() + "\r\n");
        base.write(QStringLiteral("data/") + name + QStringLiteral(".dat"), r.dat);
        for (const auto& [extension, text] : {std::pair{".lds", r.lds}, std::pair{".nts", r.nts}}) {
            if (text)
                base.write(QStringLiteral("data/") + name + QString::fromLatin1(extension), text);
        }
        base.write(QStringLiteral("cat/settings.dat"),
            "[SETTINGS]\r\nSMTP=127.0.0.1:25\r\nEMAIL=ann@inkwell.example\r\nSECURITY=tls\r\nTIMEOUT=30\r\n");
    }

    static void load(TForm1& window, const QString& name)
    {
        window.getsettings();
        window.appnameEnter();
        window.appname()->setEditText(name);
        guarded([&] { window.appnameChange(); });
    }

    QStringList names() const
    {
        QStringList all = RecipeBook::controlNames() + SubmissionRun::controlNames();
        for (const auto keys : {RecordLayout::companyKeys(), RecordLayout::appInfoKeys(), RecordLayout::categoryKeys()})
            for (const RecordKey& key : keys)
                all.append(QString(key.control));
        all << QStringLiteral("longdesc") << QStringLiteral("Memo2") << QStringLiteral("timeoutedit");
        return all;
    }
};

// Every control the run names holds what the window shows after picking the program.
TEST_P(RecordRunWindowTest, GivesTheRunWhatTheWindowGives)
{
    // A window of its own for each record: one that loaded another keeps its memos where the
    // description file is missing.
    const StoredRecord& r = GetParam();
    const QString name = QString::fromUtf8(r.name);
    TForm1 window;
    window.setBasedir(base.path());
    write(r);
    load(window, name);
    FormRunWindow shown(window);
    RecordRunWindow stored(base.path(), name, &window.sitespage()->userSites());
    stored.getsettings();
    for (const QString& control : names()) {
        if (control == QLatin1String("log") || control == QLatin1String("ftplist"))
            continue;
        if (qobject_cast<QCheckBox*>(window.control(control)))
            EXPECT_EQ(stored.isChecked(control), shown.isChecked(control)) << control.toStdString();
        else
            EXPECT_EQ(stored.text(control), shown.text(control)) << control.toStdString();
    }
    for (QLatin1StringView box : RecordLayout::tickBoxes())
        EXPECT_EQ(stored.isChecked(QString(box)), shown.isChecked(QString(box))) << box.data();
    EXPECT_EQ(stored.recordEncoding(), shown.recordEncoding());
    EXPECT_THROW(stored.text(QStringLiteral("nosuchcontrol")), QuilletError);
    EXPECT_THROW(stored.isChecked(QStringLiteral("appname")), QuilletError);
}

INSTANTIATE_TEST_SUITE_P(Records, RecordRunWindowTest, ::testing::ValuesIn(records));

TEST_F(RecordRunWindowTest, SavesTheFilesTheWindowSaves)
{
    const QStringList files{QStringLiteral("data/Odd One.dat"), QStringLiteral("data/Odd One.lds"),
        QStringLiteral("data/Odd One.nts"), QStringLiteral("data/apps.dat"), QStringLiteral("data/companies.dat"),
        QStringLiteral("data/Inkwell.dat"), QStringLiteral("cat/settings.dat")};
    RecordRunWindow stored(base.path(), QStringLiteral("Odd One"), &form.sitespage()->userSites());
    stored.getsettings();
    QHash<QString, QByteArray> before;
    for (const QString& file : files) {
        if (QFile::exists(base.file(file)))
            before.insert(file, base.read(file));
    }
    FormRunWindow shown(form);
    for (RunWindow* window : {static_cast<RunWindow*>(&shown), static_cast<RunWindow*>(&stored)})
        window->setText(QStringLiteral("bytesize"), QStringLiteral("4096"));
    shown.savesettings();
    shown.savesite();
    QList<QByteArray> saved;
    for (const QString& file : files)
        saved.append(base.read(file));
    for (const QString& file : files) {
        QFile::remove(base.file(file));
        if (before.contains(file))
            base.write(file, before.value(file));
    }
    stored.savesettings();
    stored.savesite();
    for (qsizetype i = 0; i < files.size(); ++i)
        EXPECT_EQ(base.read(files[i]).toStdString(), saved[i].toStdString()) << files[i].toStdString();
}

} // namespace
