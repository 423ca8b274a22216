#include "app/SitesPage.h"

#include "app/ControlRegistry.h"
#include "app/GrowingControls.h"
#include "app/PageLayout.h"
#include "submit/RecipeBook.h"
#include "submit/SiteCatalogue.h"

#include <QApplication>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>

#include <algorithm>
#include <utility>

using namespace PageLayout;

namespace {

const int RowsTop = 30; // under the filter bar
const int HistoryWidth = 170; // the column right of the category controls

// The muted text right of a row's category controls that tells what the site last got.
QLabel* historyLabel(QWidget* box, const QString& siteKey, int x, int top)
{
    auto* history = new QLabel(box);
    history->setObjectName(siteKey + QStringLiteral("history"));
    history->setGeometry(x, top + 2, HistoryWidth, FieldHeight);
    history->setForegroundRole(QPalette::PlaceholderText); // muted, and still shows its tooltip
    return history;
}

QString receiptText(const RunHistory::Receipt& receipt)
{
    return QStringLiteral("%1 · %2 · %3")
        .arg(QLocale::c().toString(receipt.when.date(), QStringLiteral("d MMM yyyy")),
            receipt.version.isEmpty() ? QStringLiteral("no version") : receipt.version,
            SiteResult::outcomeName(receipt.outcome));
}

} // namespace

SitesPage::SitesPage(ControlRegistry& controls, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("sitespage"));
    // One row per site of the catalogue: "New", "Update " and the site's label, then its category
    // control(s).
    buildFilterBar();
    auto* box = new QWidget;
    box->setObjectName(QStringLiteral("sitesrows"));
    m_rowsBox = box;
    const int pitch = 24;
    const int categoryX = 300;
    const int categoryWidth = 250;
    Placer p(box, 8, 4, pitch);
    int rowIndex = 0;
    m_userSites = UserSites::load(QDir::currentPath());
    // Sites labelled by their domain take it from the catalogue of the folder the window is built
    // in (its basedir), read once for all rows.
    const SiteCatalogue catalogue = SiteCatalogue::forBase(QDir::currentPath());
    for (const Site& site : SiteCatalogue::sites()) {
        // Only the first two rows' tick boxes carry the sites' help context.
        const int tickHelp = rowIndex < 2 ? HelpSites : 0;
        const QString key = QString::fromLatin1(site.key);
        const QString label = catalogue.label(key);
        m_siteLabels.insert(key, label);
        const qsizetype widgetsBefore = box->children().size();
        const int top = p.y();
        auto* newBox = p.field(controls.named(new QCheckBox(QStringLiteral("New"), box), site.newBox, tickHelp), 52);
        const int updateX = p.x();
        auto* updateBox
            = p.field(controls.named(new QCheckBox(QStringLiteral("Update ") + label, box), site.updateBox, tickHelp),
                categoryX - p.x() - 6);

        p.at(categoryX);
        const SiteCategory& first = site.category.controls[0];
        const SiteCategory& second = site.category.controls[1];
        switch (site.category.layout) {
        case CategoryLayout::None:
            break;
        case CategoryLayout::PickList:
            p.field(controls.named(dropDown(box), first.control, HelpSites), categoryWidth);
            break;
        case CategoryLayout::Address:
            p.field(
                controls.named(edit(box, QString::fromLatin1(first.start)), first.control, HelpSites), categoryWidth);
            break;
        case CategoryLayout::WinCent:
            // Two lists whose entries run to twenty characters: a line of their own under the row.
            p.nextRow();
            p.at(updateX + 20);
            p.label(QStringLiteral("Cat:"), 3);
            m_wincentpd = p.field(controls.named(dropDown(box), first.control, HelpSites), 150);
            p.label(QStringLiteral("SubCat:"), 3);
            m_wcsubcat
                = p.field(controls.named(dropDown(box), second.control, HelpSites), categoryX + categoryWidth - p.x());
            break;
        case CategoryLayout::ShareDir: {
            const int half = (categoryWidth - 4) / 2;
            m_sharedirpd1 = p.field(controls.named(dropDown(box), first.control, HelpSites), half, FieldHeight, 4);
            m_sharedirpd2 = p.field(controls.named(dropDown(box), second.control, HelpSites), half);
            m_sharedirpd1->setEditText(QString::fromLatin1(first.start));
            m_sharedirpd2->setEditText(QString::fromLatin1(second.start));
            for (QComboBox* list : {m_sharedirpd1, m_sharedirpd2})
                list->lineEdit()->setCursorPosition(0);
            break;
        }
        }
        QLabel* history = historyLabel(box, key, categoryX + categoryWidth + 16, top);
        p.nextRow();
        ++rowIndex;
        addRow(key, label, history, newBox, updateBox, widgetsBefore, top, p.y());
    }
    // Sites of one's own: New and Update only; a refused definition shows why, in red.
    for (const auto& site : m_userSites.sites) {
        const qsizetype widgetsBefore = box->children().size();
        const int top = p.y();
        auto* newBox = p.field(new QCheckBox(QStringLiteral("New"), box), 52);
        controls.add(newBox, site->entry.newBox, HelpSites);
        auto* updateBox = p.field(new QCheckBox(QStringLiteral("Update ") + site->label, box), categoryX - p.x() - 6);
        controls.add(updateBox, site->entry.updateBox, HelpSites);
        m_siteLabels.insert(site->entry.siteKey, site->label);
        QLabel* history = historyLabel(box, site->entry.siteKey, categoryX + categoryWidth + 16, top);
        p.nextRow();
        addRow(site->entry.siteKey, site->label, history, newBox, updateBox, widgetsBefore, top, p.y());
        m_rows.back().setUpTip = site->file;
        showTips(m_rows.back());
    }
    for (const UserSiteProblem& problem : m_userSites.refused) {
        const qsizetype widgetsBefore = box->children().size();
        const int top = p.y();
        auto* error = p.label(QStringLiteral("Not used: ") + problem.text());
        error->setObjectName(QStringLiteral("refusedsite"));
        error->setStyleSheet(QStringLiteral("color: #b00000"));
        error->setFixedWidth(categoryX + categoryWidth - 8);
        p.nextRow();
        addRow(QString(), problem.file, nullptr, nullptr, nullptr, widgetsBefore, top, p.y());
    }
    // The rows end with the category controls; a window wide enough adds the history column (the
    // box clips it away otherwise), see eventFilter.
    m_narrowWidth = categoryX + categoryWidth + 12;
    m_wideWidth = categoryX + categoryWidth + 16 + HistoryWidth + 8;
    box->setFixedSize(m_narrowWidth, p.y() + 4);
    updateTickCount();

    m_sitesbox = controls.named(new QScrollArea(this), "sitesbox");
    m_sitesbox->setGeometry(2, RowsTop, 586, 374 - RowsTop);
    m_sitesbox->setWidget(box);
    m_sitesbox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_sitesbox->viewport()->installEventFilter(this);
    showSetUp(catalogue);
}

void SitesPage::showHistory(const QString& program, const QHash<QString, RunHistory::Receipt>& receipts)
{
    for (Row& row : m_rows) {
        if (!row.history)
            continue;
        const auto receipt = receipts.find(row.siteKey);
        QString tip;
        if (receipt == receipts.end()) {
            row.history->setText(program.isEmpty() ? QString() : QStringLiteral("not sent yet"));
            tip = program.isEmpty() ? QString()
                                    : QStringLiteral("%1 has not been sent to %2 yet").arg(program, row.label);
        } else {
            row.history->setText(receiptText(*receipt));
            tip = QStringLiteral("%1 %2 last went to %3 on %4: %5")
                      .arg(program, receipt->version, row.label,
                          QLocale::c().toString(receipt->when, QStringLiteral("d MMM yyyy hh:mm")),
                          SiteResult::outcomeName(receipt->outcome));
        }
        row.history->setToolTip(tip);
        row.historyTip = tip;
        showTips(row);
    }
}

void SitesPage::showTips(const Row& row)
{
    if (!row.newBox)
        return;
    row.newBox->setToolTip(row.setUpTip);
    // In the designed window the history column is clipped away: the Update box says it too.
    const bool both = !row.setUpTip.isEmpty() && !row.historyTip.isEmpty();
    row.updateBox->setToolTip(row.setUpTip + (both ? QStringLiteral("\n") : QString()) + row.historyTip);
}

bool SitesPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sitesbox->viewport() && event->type() == QEvent::Resize)
        m_rowsBox->setFixedWidth(m_sitesbox->viewport()->width() >= m_wideWidth ? m_wideWidth : m_narrowWidth);
    return QWidget::eventFilter(watched, event);
}

void SitesPage::historyChanged()
{
    m_historyStale = true;
    if (isVisible())
        refreshHistory();
}

void SitesPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshHistory();
}

void SitesPage::refreshHistory()
{
    if (!m_historyStale || !m_historySource)
        return;
    m_historyStale = false;
    const auto [program, receipts] = m_historySource();
    showHistory(program, receipts);
}

QString SitesPage::historyText(const QString& siteKey) const
{
    for (const Row& row : m_rows)
        if (row.siteKey == siteKey && row.history)
            return row.history->text();
    return QString();
}

void SitesPage::showSetUp(const SiteCatalogue& catalogue)
{
    const QStringList builtIn = SiteCatalogue::siteKeys();
    for (Row& row : m_rows) {
        if (!row.newBox || !builtIn.contains(row.siteKey))
            continue; // a site of one's own names its endpoints; a refused definition has no boxes
        const QStringList missing = catalogue.missingSettings(row.siteKey, RecipeBook::endpointUses(row.siteKey));
        const QString tip = missing.isEmpty()
            ? QString()
            : QStringLiteral("Not set up: %1 of cat/catalogue.dat is still the built-in placeholder (Site Endpoints…)")
                  .arg(missing.join(QStringLiteral(", ")));
        for (QCheckBox* tick : {row.newBox, row.updateBox}) {
            QPalette palette = tick->palette();
            palette.setColor(QPalette::WindowText,
                missing.isEmpty() ? QApplication::palette().color(QPalette::WindowText) : QColor(Qt::gray));
            tick->setPalette(palette);
            tick->setProperty("notSetUp", !missing.isEmpty());
        }
        row.setUpTip = tip;
        showTips(row);
    }
}

void SitesPage::addRow(const QString& siteKey, const QString& label, QLabel* history, QCheckBox* newBox,
    QCheckBox* updateBox, qsizetype widgetsBefore, int top, int bottom)
{
    Row row{siteKey, label, history, newBox, updateBox, {}, {}, {}, {}, top, bottom - top};
    for (qsizetype i = widgetsBefore; i < m_rowsBox->children().size(); ++i) {
        if (auto* widget = qobject_cast<QWidget*>(m_rowsBox->children().at(i))) {
            row.widgets.append(widget);
            row.designedY.append(widget->y());
        }
    }
    if (newBox && updateBox) {
        ++m_siteCount;
        // The count follows each toggle: recounting every row on each one made loading a record of
        // many sites quadratic. A site counts while either of its boxes is ticked.
        for (const auto& [tick, other] : {std::pair{newBox, updateBox}, std::pair{updateBox, newBox}}) {
            connect(tick, &QCheckBox::toggled, this, [this, other = other](bool on) {
                if (!other->isChecked())
                    m_tickedCount += on ? 1 : -1;
                updateTickCount();
            });
        }
    }
    m_rows.append(row);
}

QStringList SitesPage::userTickBoxes() const
{
    QStringList boxes;
    for (const auto& site : m_userSites.sites)
        boxes << site->entry.newBox << site->entry.updateBox;
    return boxes;
}

void SitesPage::addGrowing(GrowingControls& growing) const
{
    growing.add(m_sitesbox, GrowingControls::Both);
}

void SitesPage::buildFilterBar()
{
    Placer p(this, 8, 4, FieldHeight);
    auto* label = p.label(QStringLiteral("Fi&lter:"));
    m_filter = p.field(edit(this), 180);
    m_filter->setObjectName(QStringLiteral("sitesfilter"));
    m_filter->setPlaceholderText(QStringLiteral("Part of a site's name"));
    m_filter->setClearButtonEnabled(true);
    label->setBuddy(m_filter);
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) { filterRows(text); });
    m_ticknone = p.field(new QPushButton(QStringLiteral("Tick &none"), this), 80, FieldHeight + 2);
    m_ticknone->move(m_ticknone->x(), p.y() - 1);
    m_ticknone->setObjectName(QStringLiteral("ticknone"));
    m_ticknone->setToolTip(QStringLiteral("Clears every site's New and Update ticks, filtered out or not"));
    connect(m_ticknone, &QPushButton::clicked, this, [this] { tickNone(); });
    m_tickcount = p.field(new QLabel(this), 150);
    m_endpoints = p.field(new QPushButton(QStringLiteral("Site &Endpoints…"), this), 110, FieldHeight + 2);
    m_endpoints->move(m_endpoints->x(), p.y() - 1);
    m_endpoints->setObjectName(QStringLiteral("siteendpoints"));
    m_endpoints->setToolTip(QStringLiteral("Where each site's submissions go, which sites are set up, and whether "
                                           "they can be reached"));
    m_tickcount->setObjectName(QStringLiteral("tickcount"));
}

int SitesPage::tickedSites() const
{
    return m_tickedCount;
}

void SitesPage::updateTickCount()
{
    if (m_tickcount)
        m_tickcount->setText(QStringLiteral("%1 of %2 sites ticked").arg(m_tickedCount).arg(m_siteCount));
}

void SitesPage::tickNone()
{
    for (const Row& row : m_rows) {
        if (row.newBox) {
            row.newBox->setChecked(false);
            row.updateBox->setChecked(false);
        }
    }
}

void SitesPage::filterRows(const QString& text)
{
    const QString wanted = text.trimmed();
    int y = m_rows.isEmpty() ? 0 : m_rows.first().top;
    for (const Row& row : m_rows) {
        const bool shown = row.label.contains(wanted, Qt::CaseInsensitive);
        for (qsizetype i = 0; i < row.widgets.size(); ++i) {
            QWidget* widget = row.widgets[i];
            widget->move(widget->x(), y + row.designedY[i] - row.top);
            widget->setVisible(shown);
        }
        if (shown)
            y += row.height;
    }
    m_rowsBox->setFixedHeight(y + 4);
}
