#include "app/FormRunWindow.h"

#include "app/ControlText.h"
#include "app/ListEnd.h"
#include "app/TForm1.h"
#include "app/TStringView.h"
#include "core/Errors.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>

FormRunWindow::FormRunWindow(TForm1& form)
    : m_form(form)
{
}

FormRunWindow::~FormRunWindow()
{
    setBusy(false);
}

QWidget* FormRunWindow::find(const QString& name) const
{
    QWidget* control = m_form.control(name);
    if (!control)
        throw QuilletError(QStringLiteral("The window has no control named %1").arg(name));
    return control;
}

QString FormRunWindow::text(const QString& control) const
{
    const QWidget* c = find(control);
    // A memo's lines go out as they were typed on the system the sites were written for: CR LF.
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(c))
        return memoTextWithCrLf(memo);
    return controlText(c);
}

void FormRunWindow::setText(const QString& control, const QString& text)
{
    setControlText(find(control), text);
    if (control == QLatin1String("currentsite"))
        m_currentSite = text;
}

bool FormRunWindow::isChecked(const QString& control) const
{
    const auto* box = qobject_cast<const QCheckBox*>(find(control));
    if (!box)
        throw QuilletError(QStringLiteral("%1 is not a tick box").arg(control));
    return box->isChecked();
}

void FormRunWindow::setChecked(const QString& control, bool checked)
{
    auto* box = qobject_cast<QCheckBox*>(find(control));
    if (!box)
        throw QuilletError(QStringLiteral("%1 is not a tick box").arg(control));
    box->setChecked(checked);
}

void FormRunWindow::setLamp(const QString& lamp, bool lit)
{
    // A lamp is lit while enabled.
    find(lamp)->setEnabled(lit);
}

void FormRunWindow::clearList(const QString& list)
{
    if (auto* l = qobject_cast<QListWidget*>(find(list)))
        l->clear();
}

void FormRunWindow::appendLog(const QString& line)
{
    addLineAtEnd(m_form.log(), line);
}

void FormRunWindow::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void FormRunWindow::processMessages()
{
    QCoreApplication::processEvents();
}

bool FormRunWindow::cancelFlag() const
{
    return m_form.cancelflag();
}

void FormRunWindow::setCancelFlag(bool set)
{
    m_form.setCancelflag(set);
}

bool FormRunWindow::debugMode() const
{
    return m_form.debugmode();
}

void FormRunWindow::debugEcho(const QString& text)
{
    m_form.stringview()->Memo1->setPlainText(text);
}

TextEncoding FormRunWindow::recordEncoding() const
{
    return m_form.recordEncoding();
}

QString FormRunWindow::basedir() const
{
    return m_form.basedir();
}

void FormRunWindow::savesettings()
{
    m_form.savesettings();
}

void FormRunWindow::getsettings()
{
    m_form.getsettings();
}

void FormRunWindow::savesite()
{
    m_form.savesite();
}

const UserSites* FormRunWindow::userSites() const
{
    return &m_form.sitespage()->userSites();
}
