#include "app/SubmissionHistoryDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QString SubmissionHistoryDialog::runTitle(const RunRecord& record)
{
    QString title = record.program;
    if (!record.version.isEmpty())
        title += QLatin1Char(' ') + record.version;
    return title + QStringLiteral(", ") + QLocale::c().toString(record.start, QStringLiteral("d MMM yyyy hh:mm"));
}

SubmissionHistoryDialog::SubmissionHistoryDialog(
    const QString& program, std::vector<RunHistory::PastRun> pastRuns, OpenRun openRun, QWidget* parent)
    : QDialog(parent)
    , m_runs(std::move(pastRuns))
    , m_open(std::move(openRun))
{
    setObjectName(QStringLiteral("SubmissionHistoryDialog"));
    setWindowTitle(QStringLiteral("Submission History"));
    resize(560, 340);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(m_runs.empty() ? QStringLiteral("No run of %1 yet").arg(program)
                                              : QStringLiteral("Runs of %1, newest first").arg(program),
        this);
    heading->setObjectName(QStringLiteral("heading"));
    layout->addWidget(heading);

    runs = new QTreeWidget(this);
    runs->setObjectName(QStringLiteral("runs"));
    runs->setRootIsDecorated(false);
    runs->setHeaderLabels({QStringLiteral("Started"), QStringLiteral("Version"), QStringLiteral("Sites")});
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
        const RunRecord& record = m_runs[i].record;
        auto* item = new QTreeWidgetItem(runs,
            {QLocale::c().toString(record.start, QStringLiteral("yyyy-MM-dd hh:mm:ss")), record.version,
                record.countsText()});
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
        item->setToolTip(0, m_runs[i].path);
    }
    runs->header()->setStretchLastSection(true);
    runs->resizeColumnToContents(0);
    runs->resizeColumnToContents(1);
    if (!m_runs.empty())
        runs->setCurrentItem(runs->topLevelItem(0));
    connect(runs, &QTreeWidget::itemDoubleClicked, this, [this] { openCurrent(); });
    layout->addWidget(runs);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    open = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::ActionRole);
    open->setObjectName(QStringLiteral("open"));
    open->setEnabled(!m_runs.empty());
    connect(open, &QPushButton::clicked, this, [this] { openCurrent(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void SubmissionHistoryDialog::openCurrent()
{
    const QTreeWidgetItem* item = runs->currentItem();
    if (!item || !m_open)
        return;
    const auto index = item->data(0, Qt::UserRole).toULongLong();
    if (index < m_runs.size())
        m_open(m_runs[index]);
}
