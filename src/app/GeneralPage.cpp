#include "app/GeneralPage.h"

#include "app/ControlRegistry.h"
#include "app/PageLayout.h"
#include "batch/InputRules.h"
#include "core/Dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace PageLayout;

GeneralPage::GeneralPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("generalpage"));
    QWidget* page = this;
    Placer p(page, 10, 12, 32);
    const int col = 126;
    auto named
        = [&](auto* widget, const char* name, int help = HelpGeneral) { return controls.named(widget, name, help); };

    p.label(QStringLiteral("Application Name:"));
    p.at(col);
    m_appname = p.field(named(dropDown(page), "appname"), 300);

    p.nextRow();
    p.label(QStringLiteral("8 Character Name:"));
    p.at(col);
    m_char8name = p.field(named(edit(page, {}, 8), "char8name"), 80);
    // As rich text the tip wraps to a readable width instead of running off the screen; pre-wrap
    // keeps its two blanks.
    m_char8name->setToolTip(
        QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>")
            .arg(QStringLiteral("Some site such as Simtel and Winsite require an 8 + 3 filename for "
                                "the upload.  The file created, zipped and uploaded will be the "
                                "name you enter here plus '.zip'.")
                     .toHtmlEscaped()));
    p.label(QStringLiteral("Application Filename"));
    m_filename = p.field(named(edit(page, {}, 16), "filename"), 120);
    p.label(QStringLiteral("Version"));
    m_version = p.field(named(edit(page), "version"), 70);

    p.nextRow();
    p.label(QStringLiteral("Release Month:"));
    p.at(col);
    m_month = p.field(named(edit(page, {}, 2), "month"), 28);
    p.label(QStringLiteral("Day"));
    m_day = p.field(named(edit(page, {}, 2), "day"), 28);
    p.label(QStringLiteral("Year"));
    // Room for a four-digit year, which is kept as the two digits the record holds.
    m_year = p.field(named(edit(page, {}, 4), "year"), 34);
    m_ldatel = p.field(named(new QLabel(page), "ldatel", 0), 110);
    m_ldatel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_ldatel->setAlignment(Qt::AlignCenter);

    p.nextRow();
    p.label(QStringLiteral("Platform(s)"));
    p.at(col);
    m_platforms = p.field(
        named(dropDown(page,
                  {QStringLiteral("Windows 95"), QStringLiteral("Windows NT"), QStringLiteral("Windows 95 and NT")}),
            "platforms"),
        160);
    p.label(QStringLiteral("Submitted By:"));
    m_diststatus = p.field(named(dropDown(page,
                                     {QStringLiteral("Author"), QStringLiteral("Distributor"), QStringLiteral("Dealer"),
                                         QStringLiteral("User")}),
                               "diststatus"),
        130);

    p.nextRow();
    p.label(QStringLiteral("File Size"));
    p.at(col);
    m_bytesize = p.field(named(edit(page), "bytesize"), 90, FieldHeight, 5);
    p.label(QStringLiteral("Bytes       Installed Size:"));
    m_instsize = p.field(named(edit(page), "instsize"), 90, FieldHeight, 5);
    p.label(QStringLiteral("Bytes"));

    p.nextRow();
    p.label(QStringLiteral("Price: $"));
    p.at(col);
    m_price = p.field(named(edit(page), "price"), 90);
    p.label(QStringLiteral("Status"));
    m_status = p.field(named(dropDown(page,
                                 {QStringLiteral("Feature Limit Demo"), QStringLiteral("Time Limit Demo"),
                                     QStringLiteral("Public Domain"), QStringLiteral("Freeware"),
                                     QStringLiteral("Shareware"), QStringLiteral("Beta")}),
                           "status"),
        160);

    p.nextRow();
    p.label(QStringLiteral("Evaluation Period"));
    p.at(col);
    m_eval = p.field(named(edit(page), "eval"), 90);
    p.label(QStringLiteral("Expiration Date (day-month-year):"));
    m_expiredate = p.field(named(edit(page), "expiredate"), 100);

    p.nextRow();
    p.label(QStringLiteral("Special Requirements:"));
    p.at(col);
    m_specreq = p.field(named(edit(page, QStringLiteral("None")), "specreq"), 420);

    p.nextRow();
    p.label(QStringLiteral("Expires After:"));
    p.at(col);
    m_expireafter = p.field(named(edit(page), "expireafter"), 50, FieldHeight, 5);
    p.label(QStringLiteral("Days"), 28);
    p.label(QStringLiteral("Install/Uninstall"));
    m_installer = p.field(named(dropDown(page,
                                    {QStringLiteral("No Install Feature"), QStringLiteral("Install Feature Only"),
                                        QStringLiteral("Uninstall Feature Only"), QStringLiteral("Install/Uninstall")}),
                              "installer"),
        170);
}

void GeneralPage::rebuildLongdate()
{
    if (const QString year = loadedYear(m_year->text()); year != m_year->text())
        m_year->setText(year);
    // On a conversion error longdate keeps the part built so far and ldatel is not updated.
    buildLongDate(m_day->text(), m_month->text(), m_year->text(), m_longdate);
    m_ldatel->setText(m_longdate);
}

void GeneralPage::char8nameExit()
{
    const QString text = m_char8name->text();
    if (!isAcceptable8CharName(text)) {
        dialogs().showMessage(QStringLiteral("You can only have alpha-numeric values in this field."));
        m_char8name->clear();
        m_char8name->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_char8name->setText(text.toLower());
}
