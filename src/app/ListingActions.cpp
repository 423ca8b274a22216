#include "app/ListingActions.h"

#include "app/FileMenu.h"
#include "app/PadRecords.h"
#include "app/TForm1.h"
#include "core/Dialogs.h"
#include "core/Errors.h"
#include "core/WholeFile.h"
#include "pad/PadExport.h"
#include "ui/TFlatButton.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

QString findingsText(const std::vector<Finding>& findings)
{
    QStringList lines;
    int errors = 0;
    for (const Finding& f : findings) {
        lines.append(f.text());
        errors += f.severity == Finding::Severity::Error;
    }
    lines.append(QStringLiteral("%1 errors, %2 warnings").arg(errors).arg(int(findings.size()) - errors));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

ListingActions::ListingActions(TForm1& form)
    : QObject(&form)
    , m_form(form)
{
    setObjectName(QStringLiteral("listingActions"));
    if (QAction* importAction
        = FileMenu::addBeforeExit(form, QStringLiteral("Import PAD…"), QStringLiteral("ImportPAD1")))
        connect(importAction, &QAction::triggered, this, [this] { guarded([this] { importPad(); }); });
    if (QAction* exportAction
        = FileMenu::addBeforeExit(form, QStringLiteral("Export PAD…"), QStringLiteral("ExportPAD1")))
        connect(exportAction, &QAction::triggered, this, [this] { guarded([this] { exportPad(); }); });
    // Under the page's other buttons; the run's counts move down by one button.
    auto* button = new TFlatButton(QStringLiteral("Check &Listing"), form.exitb()->parentWidget());
    button->setObjectName(QStringLiteral("checklisting"));
    button->setGeometry(form.exitb()->x(), form.exitb()->y() + 34, form.exitb()->width(), form.exitb()->height());
    form.runcounts()->move(form.runcounts()->x(), form.runcounts()->y() + 34);
    connect(button, &QPushButton::clicked, this, [this] { guarded([this] { checkListing(); }); });
    form.run().setMaySubmit([this] { return maySend(); });
}

void ListingActions::importPad()
{
    const QString path = dialogs().openFileName({QStringLiteral("Import PAD File"),
        QStringLiteral("PAD files|*.xml|All files|*.*"), QStringLiteral("xml"), {}});
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<QByteArray> bytes = PadRecords::readSource(path, m_form.basedir(), &error);
    std::optional<PadDocument> pad;
    if (bytes)
        pad = PadDocument::parse(*bytes, &error);
    if (!pad)
        throw QuilletError(QStringLiteral("Cannot import %1: %2").arg(path, error));
    const PadImport imported = PadImport::from(*pad, PadRecords::categoryLists(m_form.basedir()));
    if (!imported.values.contains(QStringLiteral("appname")))
        throw QuilletError(QStringLiteral("Cannot import %1: it names no program that can have a record").arg(path));
    const PadRecords::Stored stored
        = PadRecords::storeImport(m_form, imported, [](const QString& name, const QStringList& changed) {
              return dialogs().askYesNoCancel(
                         QStringLiteral("\"%1\" already has a record. Update %2 of its fields from the PAD file (%3)?")
                             .arg(name)
                             .arg(changed.size())
                             .arg(changed.join(QStringLiteral(", "))),
                         false)
                  == Dialogs::Answer::Yes;
          });
    if (stored == PadRecords::Stored::Created || stored == PadRecords::Stored::Updated)
        dialogs().showMessage(PadRecords::summary(imported, stored, path, pad->version).join(QLatin1Char('\n')));
}

void ListingActions::exportPad()
{
    const QString program = m_form.appname()->currentText();
    if (program.isEmpty())
        throw QuilletError(QStringLiteral("Pick a program under \"Application Name:\" to export."));
    const QString path = dialogs().saveFileName({QStringLiteral("Export PAD File"),
        QStringLiteral("PAD files|*.xml|All files|*.*"), QStringLiteral("xml"), program + QStringLiteral(".xml")});
    if (path.isEmpty())
        return;
    const PadExport out = PadExport::from(PadRecords::windowValues(m_form));
    if (!writeFileWhole(path, out.xml))
        throw ECreateError(path);
    QStringList lines{QStringLiteral("Wrote %1 (PAD 4.0) of \"%2\".").arg(path, program)};
    for (const QString& why : out.leftOut)
        lines.append(QStringLiteral("  left out: ") + why);
    dialogs().showMessage(lines.join(QLatin1Char('\n')));
}

void ListingActions::checkListing()
{
    const std::vector<Finding> findings = PadRecords::checkWindow(m_form);
    dialogs().showMessage(findings.empty() ? QStringLiteral("The listing has no findings.") : findingsText(findings));
}

bool ListingActions::maySend()
{
    const std::vector<Finding> findings = PadRecords::checkWindow(m_form);
    if (!ListingCheck::hasErrors(findings))
        return true;
    if (dialogs().askTwoWay(QStringLiteral("The listing has errors:\n\n") + findingsText(findings),
            QStringLiteral("Send anyway"), QStringLiteral("Go back")))
        return true;
    for (const Finding& f : findings) {
        if (f.severity == Finding::Severity::Error && !f.field.isEmpty()) {
            if (QWidget* control = m_form.findChild<QWidget*>(f.field)) {
                showControl(control);
                break;
            }
        }
    }
    return false;
}

void ListingActions::showControl(QWidget* control)
{
    for (QWidget* w = control; w && w->parentWidget(); w = w->parentWidget()) {
        if (qobject_cast<QStackedWidget*>(w->parentWidget()))
            if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
                tabs->setCurrentWidget(w);
    }
    control->setFocus();
}
