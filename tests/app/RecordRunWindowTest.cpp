// The run's view of a stored record without the window gives the run exactly what the window
// gives it, and saves the same files.
#include "FormOnBase.h"

#include "app/FormRunWindow.h"
#include "app/SitesPage.h"
#include "batch/RecordLayout.h"
#include "batch/RecordRunWindow.h"
#include "core/Errors.h"
#include "submit/RecipeBook.h"
#include "submit/SubmissionRun.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

class RecordRunWindowTest : public FormOnBase
{
protected:
    RecordRunWindowTest()
    {
        base.write(QStringLiteral("data/apps.dat"), "Odd One\r\n");
        base.write(QStringLiteral("data/Odd One.dat"),
            "[COMPANY]\r\nCONAME=Inkwell\r\nCONTACT=Ann\r\n[APPINFO]\r\n8CHAR=oddone\r\nVERSION=1.0\r\nDAY=7\r\n"
            "MONTH=12\r\nYEAR=2026\r\nSTATUS=Shareware\r\nDL1=\r\nSHORTDESC=  spaced \xc2\xa0 out  \r\n"
            "[SITES]\r\nsimtelpd=win95/desktop\r\nwinsitenew=1\r\nsharedirup=1\r\n");
        base.write(QStringLiteral("data/Odd One.lds"),
            "plain line\r\nno\xc2\xa0"
            "break and\xe2\x80\xa8line separator\r\na lone\rreturn\r\n"
            "paragraph\xe2\x80\xa9separator\r\n\r\n\ttabbed\r\n");
        base.write(QStringLiteral("data/Odd One.nts"), "note\r\n");
        base.write(QStringLiteral("cat/settings.dat"),
            "[SETTINGS]\r\nSMTP=127.0.0.1:25\r\nEMAIL=ann@inkwell.example\r\nSECURITY=tls\r\nTIMEOUT=30\r\n");
        form.getsettings();
        form.appnameEnter();
        form.appname()->setEditText(QStringLiteral("Odd One"));
        form.appnameChange();
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

TEST_F(RecordRunWindowTest, GivesTheRunWhatTheWindowGives)
{
    FormRunWindow shown(form);
    RecordRunWindow stored(base.path(), QStringLiteral("Odd One"), &form.sitespage()->userSites());
    stored.getsettings();
    for (const QString& name : names()) {
        if (name == QLatin1String("log") || name == QLatin1String("ftplist"))
            continue;
        if (qobject_cast<QCheckBox*>(form.control(name)))
            EXPECT_EQ(stored.isChecked(name), shown.isChecked(name)) << name.toStdString();
        else
            EXPECT_EQ(stored.text(name), shown.text(name)) << name.toStdString();
    }
    for (QLatin1StringView box : RecordLayout::tickBoxes())
        EXPECT_EQ(stored.isChecked(QString(box)), shown.isChecked(QString(box))) << box.data();
    EXPECT_THROW(stored.text(QStringLiteral("nosuchcontrol")), QuilletError);
    EXPECT_THROW(stored.isChecked(QStringLiteral("appname")), QuilletError);
}

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
