#include "app/RunResultsDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

int RunResultsDialog::rank(SiteResult::Outcome outcome)
{
    using O = SiteResult::Outcome;
    switch (outcome) {
    case O::Failed:
        return 0;
    case O::Skipped:
        return 1;
    case O::NotReached:
        return 2;
    case O::NotSetUp:
        return 3;
    case O::Refused:
        return 4;
    case O::Sent:
        break;
    }
    return 5;
}

QString RunResultsDialog::siteText(const SiteResult& site)
{
    QString text = site.label.isEmpty() ? site.siteKey : site.label;
    text += QStringLiteral(": ") + SiteResult::outcomeName(site.outcome);
    if (!site.step.isEmpty())
        text += QStringLiteral(" (") + site.step + QLatin1Char(')');
    if (!site.detail.isEmpty())
        text += QStringLiteral("\n") + site.detail;
    text += QStringLiteral("\n\nLog:\n");
    text += site.logLines.isEmpty() ? QStringLiteral("(nothing)") : site.logLines.join(QLatin1Char('\n'));
    if (!site.replies.isEmpty())
        text += QStringLiteral("\n\nReply:\n") + site.replies;
    return text;
}

RunResultsDialog::RunResultsDialog(
    const RunRecord& record, std::function<void(const QStringList&)> tick, QWidget* parent)
    : QDialog(parent)
    , m_record(record)
{
    setObjectName(QStringLiteral("RunResultsDialog"));
    setWindowTitle(QStringLiteral("Last Run Results"));
    resize(640, 420);
    auto* layout = new QVBoxLayout(this);

    counts = new QLabel(record.sites.empty() ? QStringLiteral("No run yet") : record.countsText(), this);
    counts->setObjectName(QStringLiteral("counts"));
    QFont bold = counts->font();
    bold.setBold(true);
    counts->setFont(bold);
    layout->addWidget(counts);

    sites = new QTreeWidget(this);
    sites->setObjectName(QStringLiteral("sites"));
    sites->setRootIsDecorated(false);
    sites->setHeaderLabels(
        {QStringLiteral("Site"), QStringLiteral("Outcome"), QStringLiteral("Detail"), QStringLiteral("Seconds")});
    std::vector<std::size_t> order(record.sites.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&record](std::size_t a, std::size_t b) {
        return rank(record.sites[a].outcome) < rank(record.sites[b].outcome);
    });
    for (std::size_t i : order) {
        const SiteResult& s = record.sites[i];
        auto* item = new QTreeWidgetItem(sites,
            {s.label.isEmpty() ? s.siteKey : s.label, SiteResult::outcomeName(s.outcome), s.detail,
                s.outcome == SiteResult::Outcome::NotReached ? QString() : QString::number(s.seconds, 'f', 2)});
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    sites->header()->setStretchLastSection(false);
    sites->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    sites->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    sites->resizeColumnToContents(0);
    sites->resizeColumnToContents(1);
    connect(sites, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { showSite(item); });
    layout->addWidget(sites);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    tickFailed = buttons->addButton(QStringLiteral("Tick Only Failed Sites"), QDialogButtonBox::ActionRole);
    tickFailed->setObjectName(QStringLiteral("tickFailed"));
    tickFailed->setEnabled(!boxesToRetry(record).isEmpty() && tick != nullptr);
    connect(tickFailed, &QPushButton::clicked, this, [this, tick] {
        tick(boxesToRetry(m_record));
        tickFailed->setEnabled(false);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void RunResultsDialog::showSite(QTreeWidgetItem* item)
{
    const auto index = item->data(0, Qt::UserRole).toULongLong();
    if (index >= m_record.sites.size())
        return;
    const SiteResult& site = m_record.sites[index];
    auto* view = new QDialog(this);
    view->setObjectName(QStringLiteral("siteLog"));
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowTitle(item->text(0));
    view->resize(site.replies.isEmpty() ? QSize(520, 260) : QSize(640, 480));
    auto* layout = new QVBoxLayout(view);
    auto* text = new QPlainTextEdit(siteText(site), view);
    text->setReadOnly(true);
    layout->addWidget(text);
    view->show();
}
