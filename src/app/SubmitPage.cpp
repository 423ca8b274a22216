#include "app/SubmitPage.h"

#include "app/ControlRegistry.h"
#include "app/GrowingControls.h"
#include "app/PageLayout.h"
#include "ui/TFlatButton.h"
#include "ui/TLed.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

using namespace PageLayout;

SubmitPage::SubmitPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("submitpage"));
    QWidget* page = this;
    // In the order of m_buttons.
    struct Button
    {
        const char* name;
        const char* caption;
    };
    static const Button buttons[] = {
        {"submit", "Save/S&ubmit"},
        {"skip", "S&kip"},
        {"cancel", "&Cancel"},
        {"save", "Sa&ve Log"},
        {"print", "&Print Log"},
        {"exitb", "E&xit"},
    };
    int y = 10;
    for (int i = 0; i < 6; ++i) {
        m_buttons[i] = controls.named(new TFlatButton(QString::fromLatin1(buttons[i].caption), page), buttons[i].name);
        m_buttons[i]->setGeometry(8, y, 88, 28);
        y += 34;
    }

    m_runcounts = controls.named(new QLabel(page), "runcounts");
    m_runcounts->setGeometry(8, y + 4, 96, 110);
    m_runcounts->setWordWrap(true);
    m_runcounts->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const int left = 112;
    const int status = 276;
    const int right = 584;
    Placer p(page, left, 10, 22);
    p.label(QStringLiteral("Current Site:"));
    p.at(status);
    m_currentsite = p.field(controls.named(new QLabel(page), "currentsite"), right - status);
    QFont bold = m_currentsite->font();
    bold.setBold(true);
    m_currentsite->setFont(bold);

    // In the order of m_leds.
    struct Lamp
    {
        const char* ledName;
        const char* lampText;
        const char* statusText;
        const char* statusName;
        const char* secondName;
    };
    static const Lamp lamps[] = {
        {"httpled", "HTTP", "HTTP Status:", "httpstatus", "httpbytes"},
        {"ftpled", "FTP", "FTP Status:", "ftpstatus", nullptr},
        {"mailled", "Mail", "Mail Status:", "mailstatus", "mail2"},
    };
    p.nextRow(28);
    for (int i = 0; i < 3; ++i) {
        const Lamp& lamp = lamps[i];
        m_leds[i] = p.field(controls.named(new TLed(page), lamp.ledName), 17, 17, 6);
        m_leds[i]->move(m_leds[i]->x(), p.y() + 2);
        p.label(QString::fromLatin1(lamp.lampText));
        p.at(status - 84);
        p.label(QString::fromLatin1(lamp.statusText));
        p.at(status);
        m_statuses[i]
            = p.field(controls.named(new QLabel(QStringLiteral("Idle"), page), lamp.statusName), right - status);
        if (lamp.secondName) {
            p.nextRow(18);
            p.at(status);
            m_seconds[i] = p.field(controls.named(new QLabel(page), lamp.secondName), right - status);
        }
        p.nextRow(24);
    }
    m_genlabel = controls.named(new QLabel(page), "genlabel");
    m_genlabel->setGeometry(left, p.y(), right - left, FieldHeight);
    p.nextRow(24);
    m_progress = controls.named(new QProgressBar(page), "ProgressBar1");
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_progress->setGeometry(left, p.y(), right - left, 14);
    p.nextRow(20);
    m_ftplist = controls.named(new QListWidget(page), "ftplist", HelpRunLists);
    m_ftplist->setGeometry(left, p.y(), right - left, 70);
    p.nextRow(76);
    m_log = controls.named(new QListWidget(page), "log", HelpRunLists);
    m_log->setGeometry(left, p.y(), right - left, 370 - p.y());

    // Reachable only through its Alt+D accelerator: zero size, but visible, so the accelerator
    // works while this page shows and not on the others.
    m_db = controls.named(new QPushButton(QStringLiteral("&db"), page), "db");
    m_db->setGeometry(0, 0, 0, 0);
    m_db->setFocusPolicy(Qt::NoFocus);
}

void SubmitPage::addGrowing(GrowingControls& growing) const
{
    for (QLabel* line :
        {m_currentsite, m_statuses[0], m_statuses[1], m_statuses[2], m_seconds[0], m_seconds[2], m_genlabel})
        growing.add(line, GrowingControls::Wider);
    growing.add(m_progress, GrowingControls::Wider);
    growing.add(m_ftplist, {0, 0, 1, 1.0 / 3});
    growing.add(m_log, {0, 1.0 / 3, 1, 2.0 / 3});
}
