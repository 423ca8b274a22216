#include "batch/RecordRunWindow.h"

#include "core/LineFile.h"

#include "batch/InputRules.h"
#include "batch/MailPassword.h"
#include "batch/NameFile.h"
#include "batch/RecordLayout.h"
#include "batch/SettingsFile.h"
#include "core/Errors.h"
#include "core/LineFile.h"
#include "core/RecordName.h"
#include "submit/MemoBody.h"
#include "submit/RecipeBook.h"
#include "submit/RunControls.h"
#include "submit/SubmissionRun.h"
#include "submit/UserSites.h"

#include <QCoreApplication>

RecordRunWindow::RecordRunWindow(const QString& basedir, const QString& program, const UserSites* own)
    : m_basedir(basedir)
    , m_own(own)
{
    // Every control the run may name is there, empty until something fills it.
    for (const QString& name : RecipeBook::controlNames() + SubmissionRun::controlNames())
        m_texts.insert(name, QString());
    for (const QString& name : {QStringLiteral("proxyedit"), QStringLiteral("portedit"), QStringLiteral("timeoutedit")})
        m_texts.insert(name, QString());
    // What the window's own fields start with: the requirements are sent, not stored.
    m_texts.insert(QStringLiteral("specreq"), QStringLiteral("None"));
    for (const QString& status : {RunControl::httpstatus, RunControl::ftpstatus, RunControl::mailstatus})
        m_texts.insert(status, QStringLiteral("Idle"));
    for (QLatin1StringView box : RecordLayout::tickBoxes())
        m_ticksInOrder.append(QString(box));
    if (own) {
        for (const auto& site : own->sites) {
            for (const QString& box : {site->entry.newBox, site->entry.updateBox}) {
                if (!box.isEmpty()) {
                    m_userTicks.append(box);
                    m_ticksInOrder.append(box);
                }
            }
        }
    }
    m_texts.insert(QStringLiteral("appname"), program);
    for (const QString& memo : {QStringLiteral("longdesc"), QStringLiteral("Memo2")}) {
        m_memos.insert(memo);
        m_texts.insert(memo, QString());
    }
    const RecordValues values = RecordFiles::read(dataPath(program), isSafeRecordName(program), m_userTicks);
    for (const auto& [control, text] : values.texts)
        setText(control, text);
    for (const auto& [box, ticked] : values.ticks)
        m_ticks.insert(box, ticked);
    // What the General page derives on loading: the year as its field takes it, and the release
    // date spelt out.
    m_texts.insert(QStringLiteral("year"), loadedYear(m_texts.value(QStringLiteral("year"))));
    QString longdate;
    try {
        buildLongDate(m_texts.value(QStringLiteral("day")), m_texts.value(QStringLiteral("month")),
            m_texts.value(QStringLiteral("year")), longdate);
        m_texts.insert(QStringLiteral("ldatel"), longdate);
    } catch (const EConvertError&) {
        // The date shown stays as it was: empty.
    }
}

QString RecordRunWindow::dataPath(const QString& name) const
{
    return recordPath(m_basedir + QStringLiteral("/data"), name, QString());
}

QString RecordRunWindow::text(const QString& control) const
{
    if (m_memos.contains(control)) {
        auto crLf = m_memoCrLf.constFind(control);
        if (crLf == m_memoCrLf.cend())
            crLf = m_memoCrLf.insert(control, withCrLfBreaks(m_texts.value(control)));
        return *crLf;
    }
    if (control == RunControl::log)
        return m_log.join(QLatin1Char('\n'));
    const auto found = m_texts.constFind(control);
    if (found == m_texts.cend())
        throw QuilletError(QStringLiteral("The window has no control named %1").arg(control));
    return *found;
}

void RecordRunWindow::setText(const QString& control, const QString& text)
{
    if (m_memos.contains(control)) {
        m_memoCrLf.remove(control);
        m_texts.insert(control, MemoBody::asMemoRawText(text));
        return;
    }
    m_texts.insert(control, text);
}

bool RecordRunWindow::isChecked(const QString& control) const
{
    const auto found = m_ticks.constFind(control);
    if (found == m_ticks.cend())
        throw QuilletError(QStringLiteral("%1 is not a tick box").arg(control));
    return *found;
}

void RecordRunWindow::setChecked(const QString& control, bool checked)
{
    if (!m_ticks.contains(control))
        throw QuilletError(QStringLiteral("%1 is not a tick box").arg(control));
    m_ticks.insert(control, checked);
}

void RecordRunWindow::tickOnly(const QStringList& boxes)
{
    for (auto it = m_ticks.begin(); it != m_ticks.end(); ++it)
        it.value() = boxes.contains(it.key());
}

QStringList RecordRunWindow::tickedBoxes() const
{
    QStringList ticked;
    for (const QString& box : m_ticksInOrder) {
        if (m_ticks.value(box))
            ticked.append(box);
    }
    return ticked;
}

void RecordRunWindow::clearList(const QString& list)
{
    if (list == RunControl::log)
        m_log.clear();
    else if (list == RunControl::ftplist && m_clearFtpTrace)
        m_clearFtpTrace();
}

void RecordRunWindow::appendLog(const QString& line)
{
    m_log.append(line);
    if (m_onLog)
        m_onLog(line);
}

void RecordRunWindow::processMessages()
{
    QCoreApplication::processEvents();
}

TextEncoding RecordRunWindow::recordEncoding() const
{
    const QString name = m_texts.value(QStringLiteral("appname"));
    return isSafeRecordName(name) ? m_encoding.of(dataPath(name)) : TextEncoding::Utf8;
}

void RecordRunWindow::getsettings()
{
    const Settings s = Settings::read(m_basedir);
    s.toControls([this](const QString& control, const QString& text) { m_texts.insert(control, text); });
    if (m_texts.value(QStringLiteral("smtppassword")).isEmpty()) {
        MailPassword::read(s.user, &m_keyringContext, [this](const QString& stored) {
            if (m_texts.value(QStringLiteral("smtppassword")).isEmpty())
                m_texts.insert(QStringLiteral("smtppassword"), stored);
        });
    }
    if (m_onSettings)
        m_onSettings(*this);
}

void RecordRunWindow::savesettings()
{
    const Settings s = Settings::fromControls([this](const QString& control) { return m_texts.value(control); });
    s.write(m_basedir);
    MailPassword::write(s.user, m_texts.value(QStringLiteral("smtppassword")));
}

void RecordRunWindow::savesite()
{
    const QString name = m_texts.value(QStringLiteral("appname"));
    if (name.isEmpty())
        return;
    m_encoding.forget();
    RecordFiles::saveProgram(
        m_basedir + QStringLiteral("/data"), name, m_texts.value(QStringLiteral("compname")),
        [this](const QString& control) { return m_texts.value(control); },
        [this](const QString& box) { return m_ticks.value(box); }, m_userTicks,
        [](RecordFiles::NameList, const QString& path, const QString& added) { addToNameFile(path, added); });
}
