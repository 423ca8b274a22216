// The Sites page's filter, "Tick none" and count of ticked sites.
#include "FormOnBase.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>

namespace {

class SitesPageTest : public FormOnBase
{
protected:
    SitesPage& page() { return *form.sitespage(); }
    QCheckBox* tick(const char* name) { return form.findChild<QCheckBox*>(QString::fromLatin1(name)); }
    // The update tick boxes of the rows the filter shows, top to bottom.
    QStringList shownRows()
    {
        QList<QCheckBox*> shown;
        for (QCheckBox* box : form.sitesbox()->findChildren<QCheckBox*>()) {
            if (!box->isHidden() && box->text().startsWith(q("Update ")))
                shown.append(box);
        }
        std::sort(shown.begin(), shown.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
        QStringList names;
        for (QCheckBox* box : shown)
            names.append(box->objectName());
        return names;
    }
};

} // namespace

TEST_F(SitesPageTest, TheFilterShowsTheRowsWhoseLabelHoldsItClosedUp)
{
    struct Case
    {
        const char* typed;
        QStringList rows;
    };
    const Case cases[] = {
        {"winsock", {q("wsockwhcb"), q("papaup")}},
        {"KELL", {q("kccb")}},
        {"shareware s", {q("swshopup"), q("swspup")}},
        {"no such site", {}},
    };
    for (const Case& c : cases) {
        page().sitesfilter()->clear();
        QTest::keyClicks(page().sitesfilter(), q(c.typed));
        EXPECT_EQ(shownRows(), c.rows) << c.typed;
        const QStringList rows = shownRows();
        if (!rows.isEmpty()) {
            EXPECT_EQ(form.findChild<QCheckBox*>(rows.first())->y(), form.findChild<QCheckBox*>(q("tucowscb"))->y());
        }
    }
    page().sitesfilter()->clear();
    EXPECT_EQ(shownRows().size(), 57);
}

TEST_F(SitesPageTest, TheCountFollowsTheTicksAndTickNoneClearsThemAll)
{
    EXPECT_EQ(page().tickcount()->text(), q("0 of 57 sites ticked"));
    tick("tucowsnewcb")->setChecked(true);
    tick("tucowscb")->setChecked(true); // one site, two ticks
    tick("wsockwhcb")->setChecked(true);
    EXPECT_EQ(page().tickcount()->text(), q("2 of 57 sites ticked"));
    tick("tucowsnewcb")->setChecked(false); // its other box still ticks the site
    EXPECT_EQ(page().tickcount()->text(), q("2 of 57 sites ticked"));
    tick("tucowscb")->setChecked(false);
    EXPECT_EQ(page().tickcount()->text(), q("1 of 57 sites ticked"));
    tick("tucowscb")->setChecked(true);
    // A row filtered out is cleared too.
    QTest::keyClicks(page().sitesfilter(), q("tucows"));
    QTest::mouseClick(page().ticknone(), Qt::LeftButton);
    EXPECT_EQ(page().tickedSites(), 0);
    EXPECT_FALSE(tick("wsockwhcb")->isChecked());
    EXPECT_EQ(page().tickcount()->text(), q("0 of 57 sites ticked"));
}
