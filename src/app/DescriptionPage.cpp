#include "app/DescriptionPage.h"

#include "app/ControlRegistry.h"
#include "app/ControlText.h"
#include "app/GrowingControls.h"
#include "app/PageLayout.h"
#include "batch/InputRules.h"

#include <QLineEdit>
#include <QPlainTextEdit>

using namespace PageLayout;

namespace {

void wrapMemo(QPlainTextEdit* memo)
{
    const QString text = memoText(memo);
    const QString wrapped = wrapLines(text);
    if (wrapped != text)
        memo->setPlainText(wrapped);
}

} // namespace

DescriptionPage::DescriptionPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("descriptionpage"));
    QWidget* page = this;
    Placer p(page, 10, 8, 26);
    p.label(QStringLiteral("Short Description:"));
    m_shortdesc = p.field(controls.named(edit(page, {}, 46), "shortdesc", HelpDescription), 330);

    p.nextRow(28);
    p.label(QStringLiteral("Long Description"));
    p.nextRow(17);
    m_longdesc = p.field(controls.named(memo(page), "longdesc", HelpDescription), 556, 128);

    p.nextRow(134);
    m_notesLabel
        = p.label(QStringLiteral("Notes to reviewer if applicable.  (Reg code, Version Update Changes, etc.)"));
    p.nextRow(17);
    m_notes = p.field(controls.named(memo(page), "Memo2", HelpDescription), 556, 92);
}

void DescriptionPage::addGrowing(GrowingControls& growing) const
{
    growing.add(m_longdesc, {0, 0, 1, 0.5});
    growing.add(m_notesLabel, {0, 0.5, 0, 0});
    growing.add(m_notes, {0, 0.5, 1, 0.5});
}

void DescriptionPage::longdescwrap()
{
    wrapMemo(m_longdesc);
}

void DescriptionPage::memo2wrap()
{
    wrapMemo(m_notes);
}
