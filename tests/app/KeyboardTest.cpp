// Keyboard and help: Ctrl+S saves, F1 opens the guide at the page shown, mnemonics are unique
// where they are active together, the guide covers every README section, and the CA file has a
// browse button.
#include "FormOnBase.h"

#include "app/HelpFile.h"
#include "app/WebBrowser.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

QChar mnemonic(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
}

using KeyboardTest = FormOnBase;

TEST_F(KeyboardTest, CtrlSSavesTheRecord)
{
    form.show();
    QApplication::setActiveWindow(&form);
    form.appname()->setEditText(q("Keyed"));
    form.version()->setText(q("2.0"));
    QTest::keySequence(&form, QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_TRUE(base.read(q("data/Keyed.dat")).contains("2.0"));
    EXPECT_FALSE(form.hasUnsavedEdits());
}

TEST_F(KeyboardTest, F1OpensTheGuideAtThePageShown)
{
    EXPECT_EQ(form.Help2()->shortcut(), QKeySequence(Qt::Key_F1));
    const struct
    {
        QWidget* page;
        const char* section;
    } cases[] = {
        {form.appinfopage(), "appinfo"},
        {form.companypage(), "company"},
        {form.sitespage(), "sites"},
        {form.submitpage(), "submit"},
        {form.optionspage(), "options"},
    };
    const QString guide = QString::fromUtf8(helpText());
    QStringList opened;
    qputenv("XDG_CACHE_HOME", base.file(q("cache")).toUtf8());
    WebBrowser::setLauncher([&](const QString& address) {
        opened.append(address);
        return true;
    });
    for (const auto& c : cases) {
        form.PageControl1()->setCurrentWidget(c.page);
        form.Help2()->trigger();
        ASSERT_FALSE(opened.isEmpty()) << c.section;
        EXPECT_TRUE(opened.last().endsWith(q("#") + q(c.section))) << opened.last().toStdString();
        EXPECT_TRUE(guide.contains(q("id=\"%1\"").arg(q(c.section)))) << c.section;
    }
    WebBrowser::setLauncher(nullptr);
    qunsetenv("XDG_CACHE_HOME");
}

TEST_F(KeyboardTest, MenusAndButtonsHaveMnemonicsNoneTwiceWhereActiveTogether)
{
    // Each group: what is reachable by Alt at the same time.
    QList<QStringList> groups;
    for (QMenu* menu : form.menuBar()->findChildren<QMenu*>()) {
        QStringList texts;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts.append(action->text());
        }
        groups.append(texts);
    }
    for (QWidget* page : {static_cast<QWidget*>(form.submitpage()), static_cast<QWidget*>(form.sitespage()),
             static_cast<QWidget*>(form.companypage())}) {
        QStringList texts;
        for (QAction* menu : form.menuBar()->actions())
            texts.append(menu->text());
        for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
            if (!qobject_cast<QCheckBox*>(button) && !button->text().isEmpty())
                texts.append(button->text());
        }
        groups.append(texts);
    }
    for (const QStringList& texts : groups) {
        QList<QChar> seen;
        for (const QString& text : texts) {
            const QChar key = mnemonic(text);
            EXPECT_FALSE(key.isNull()) << text.toStdString();
            EXPECT_FALSE(seen.contains(key)) << text.toStdString();
            seen.append(key);
        }
    }
}

TEST(Guide, EveryReadmeSectionHasASectionOfTheGuide)
{
    QFile readme(QStringLiteral(QUILLET_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(helpText());
    static const QRegularExpression heading(QStringLiteral("(?m)^## (.+)$"));
    int sections = 0;
    for (const QRegularExpressionMatch& m : heading.globalMatch(QString::fromUtf8(readme.readAll()))) {
        ++sections;
        // The guide's headings carry the README's words, HTML-escaped.
        const QString title = m.captured(1).remove(QLatin1Char('`')).toHtmlEscaped();
        const QRegularExpression inHeading(
            QStringLiteral("<h[23][^>]*>(\\d+\\. )?%1</h[23]>").arg(QRegularExpression::escape(title)));
        EXPECT_TRUE(guide.contains(inHeading)) << title.toStdString();
    }
    EXPECT_GE(sections, 10);
}

} // namespace

namespace {

TEST_F(KeyboardTest, TheCaFileIsPickedWithABrowseButtonAndKept)
{
    const struct
    {
        const char* picked;
        const char* kept;
    } cases[] = {{"/etc/ssl/local-ca.pem", "/etc/ssl/local-ca.pem"}, {"", "/etc/ssl/local-ca.pem"}};
    for (const auto& c : cases) {
        fake.fileNames = {q(c.picked)};
        QTest::mouseClick(form.optionspage()->cafilebrowse(), Qt::LeftButton);
        EXPECT_EQ(form.cafileedit()->text(), q(c.kept));
        EXPECT_TRUE(base.read(q("cat/settings.dat")).contains("CAFILE=" + QByteArray(c.kept)));
    }
}

} // namespace
