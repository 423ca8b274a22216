#include "app/SiteEndpointsDialog.h"

#include "core/Dialogs.h"
#include "core/Errors.h"
#include "core/ProfileFile.h"
#include "net/EndpointCheck.h"
#include "submit/CheckTargets.h"
#include "submit/EndpointText.h"
#include "submit/RecipeBook.h"
#include "submit/SiteCatalogue.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

const QString kAll = QStringLiteral("ALL");

// The catalogue key each editable column holds.
QString keyOf(int column)
{
    switch (column) {
    case SiteEndpointsDialog::Host:
        return QStringLiteral("HOST");
    case SiteEndpointsDialog::FtpHost:
        return QStringLiteral("FTPHOST");
    case SiteEndpointsDialog::Mailbox:
        return QStringLiteral("MAILBOX");
    case SiteEndpointsDialog::Mailbox2:
        return QStringLiteral("MAILBOX2");
    case SiteEndpointsDialog::Page:
        return QStringLiteral("PAGE");
    case SiteEndpointsDialog::CaFile:
        return QStringLiteral("CAFILE");
    default:
        return {};
    }
}

bool editableInAll(int column)
{
    return column == SiteEndpointsDialog::Host || column == SiteEndpointsDialog::FtpHost
        || column == SiteEndpointsDialog::CaFile;
}

// Checks a cell's text at every key press, before the cell takes it.
class CheckedEditing : public QStyledItemDelegate
{
public:
    CheckedEditing(std::function<void(int column, const QString& text)> typed, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_typed(std::move(typed))
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const int column = index.column();
            QObject::connect(
                line, &QLineEdit::textEdited, line, [this, column](const QString& text) { m_typed(column, text); });
        }
        return editor;
    }

private:
    std::function<void(int, const QString&)> m_typed;
};

QTableWidgetItem* fixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

SiteEndpointsDialog::SiteEndpointsDialog(const QString& basedir, int stallSeconds, QWidget* parent)
    : QDialog(parent)
    , m_basedir(basedir)
    , m_stallSeconds(stallSeconds)
{
    setObjectName(QStringLiteral("SiteEndpointsDialog"));
    setWindowTitle(QStringLiteral("Site Endpoints"));
    resize(1180, 560);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Where each site's submissions go (cat/catalogue.dat). An empty cell keeps "
                                            "the built-in placeholder under .example: a site that uses one is not set "
                                            "up and is not sent to. [ALL] gives every site without its own a web "
                                            "host, FTP host and CA file."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("endpoints"));
    m_table->setColumnCount(ColumnCount);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Site"), QStringLiteral("Set up"), QStringLiteral("Web host"),
        QStringLiteral("FTP host"), QStringLiteral("Mailbox"), QStringLiteral("Mailbox 2"), QStringLiteral("Page"),
        QStringLiteral("CA file"), QStringLiteral("Reachability")});
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    layout->addWidget(m_message);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setValue(0);
    layout->addWidget(m_progress);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_test = m_buttons->addButton(QStringLiteral("&Test"), QDialogButtonBox::ActionRole);
    m_test->setObjectName(QStringLiteral("test"));
    m_test->setToolTip(QStringLiteral("Tries every configured endpoint as edited: look-up, connect, TLS, greeting. "
                                      "Nothing is sent."));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save())
            accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_test, &QPushButton::clicked, this, [this] { guarded([this] { test(); }); });
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) { cellChanged(item); });
    m_table->setItemDelegate(
        new CheckedEditing([this](int column, const QString& text) { typing(column, text); }, this));
    load();
}

SiteEndpointsDialog::~SiteEndpointsDialog() = default;

QPushButton* SiteEndpointsDialog::okButton() const
{
    return m_buttons->button(QDialogButtonBox::Ok);
}

void SiteEndpointsDialog::load()
{
    m_loading = true;
    const ProfileFile file(SiteCatalogue::cataloguePath(m_basedir));
    const SiteCatalogue catalogue(SiteCatalogue::cataloguePath(m_basedir));
    const QStringList keys = SiteCatalogue::siteKeys();
    m_table->setRowCount(int(keys.size()) + 1);
    auto fill = [&](int row, const QString& section, const QString& label) {
        m_rows.insert(section, row);
        m_table->setItem(row, Label, fixedItem(label));
        const SiteEndpoints builtIn = SiteCatalogue::builtIn(section);
        for (int column = Host; column <= CaFile; ++column) {
            auto* item = new QTableWidgetItem(file.readString(section, keyOf(column)));
            if (section == kAll && !editableInAll(column)) {
                item->setFlags(Qt::NoItemFlags);
            } else if (section != kAll) {
                const QString placeholder = QStringList{builtIn.host, builtIn.ftpHost, builtIn.mailbox,
                    builtIn.mailbox2, builtIn.page, QString()}[column - Host];
                if (!placeholder.isEmpty())
                    item->setToolTip(QStringLiteral("Empty: the built-in %1").arg(placeholder));
            }
            m_table->setItem(row, column, item);
        }
        m_table->setItem(row, SetUp, fixedItem(QString()));
        m_table->setItem(row, Result, fixedItem(QString()));
    };
    fill(0, kAll, QStringLiteral("[ALL]"));
    for (qsizetype i = 0; i < keys.size(); ++i)
        fill(int(i) + 1, keys[i], catalogue.label(keys[i]));
    m_loading = false;
    m_table->resizeColumnsToContents();
    for (int column = Host; column <= Mailbox2; ++column)
        m_table->setColumnWidth(column, std::max(m_table->columnWidth(column), 120));
    for (int column : {Page, CaFile})
        m_table->setColumnWidth(column, 90);
    m_table->setColumnWidth(SetUp, 130);
    refreshSetUp();
    // A file that holds a bad value already says so at once.
    for (int row = 0; row < m_table->rowCount(); ++row) {
        for (int column = Host; column <= CaFile; ++column)
            cellChanged(m_table->item(row, column));
    }
}

QString SiteEndpointsDialog::cellError(int column, const QString& text)
{
    const QString value = text.trimmed();
    if (value.isEmpty())
        return {};
    QString error;
    switch (column) {
    case Host:
        EndpointText::webHost(value, &error);
        return error;
    case FtpHost:
        EndpointText::ftpHost(value, &error);
        return error;
    case Mailbox:
    case Mailbox2:
        return EndpointText::mailboxError(value);
    case Page: {
        const QUrl url(value, QUrl::StrictMode);
        if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
            || url.host().isEmpty())
            return QStringLiteral("A page is an http:// or https:// address");
        return {};
    }
    case CaFile:
        return QFileInfo(value).isFile() ? QString() : QStringLiteral("There is no file %1").arg(value);
    default:
        return {};
    }
}

void SiteEndpointsDialog::cellChanged(QTableWidgetItem* item)
{
    if (m_loading || !item || item->column() < Host || item->column() > CaFile)
        return;
    const QString error = cellError(item->column(), item->text());
    if (error.isEmpty()) {
        m_errors.remove(item);
        item->setBackground(QBrush());
    } else {
        m_errors.insert(item,
            m_table->item(item->row(), Label)->text() + QStringLiteral(", ")
                + m_table->horizontalHeaderItem(item->column())->text() + QStringLiteral(": ") + error);
        item->setBackground(QColor(255, 210, 210));
    }
    showValidity();
    refreshSetUp();
}

void SiteEndpointsDialog::typing(int column, const QString& text)
{
    const QString error = cellError(column, text);
    if (error.isEmpty()) {
        showValidity();
        return;
    }
    okButton()->setEnabled(false);
    m_message->setText(m_table->horizontalHeaderItem(column)->text() + QStringLiteral(": ") + error);
}

void SiteEndpointsDialog::showValidity()
{
    okButton()->setEnabled(m_errors.isEmpty());
    m_message->setText(m_errors.isEmpty() ? QString() : m_errors.values().constFirst());
}

void SiteEndpointsDialog::refreshSetUp()
{
    if (m_loading)
        return;
    m_loading = true;
    for (const QString& key : SiteCatalogue::siteKeys()) {
        const int row = m_rows.value(key);
        const unsigned uses = RecipeBook::endpointUses(key);
        QStringList missing;
        for (const EndpointUse use : {UsesWebHost, UsesFtpHost, UsesMailbox, UsesMailbox2}) {
            if (!(uses & use))
                continue;
            const int column = use == UsesWebHost ? Host
                : use == UsesFtpHost              ? FtpHost
                : use == UsesMailbox              ? Mailbox
                                                  : Mailbox2;
            const bool shared = use == UsesWebHost || use == UsesFtpHost;
            if (m_table->item(row, column)->text().trimmed().isEmpty()
                && !(shared && !m_table->item(0, column)->text().trimmed().isEmpty()))
                missing.append(SiteCatalogue::settingKey(use));
        }
        QTableWidgetItem* cell = m_table->item(row, SetUp);
        cell->setText(
            missing.isEmpty() ? QStringLiteral("yes") : QStringLiteral("no: ") + missing.join(QStringLiteral(", ")));
        cell->setForeground(missing.isEmpty() ? QBrush() : QBrush(Qt::gray));
    }
    m_loading = false;
}

void SiteEndpointsDialog::writeCells(const QString& path) const
{
    ProfileFile file(path);
    bool changed = false;
    // In the table's order, so that new sections follow the order of the sites.
    for (const QString& section : QStringList{kAll} + SiteCatalogue::siteKeys()) {
        for (int column = Host; column <= CaFile; ++column) {
            if (section == kAll && !editableInAll(column))
                continue;
            const QString value = m_table->item(m_rows.value(section), column)->text().trimmed();
            // Only what was edited: an untouched file keeps every byte.
            if (value != file.readString(section, keyOf(column))) {
                file.writeString(section, keyOf(column), value);
                changed = true;
            }
        }
    }
    if (changed)
        file.commit();
}

bool SiteEndpointsDialog::save()
{
    if (!m_errors.isEmpty()) {
        showValidity();
        return false;
    }
    try {
        writeCells(SiteCatalogue::cataloguePath(m_basedir));
    } catch (const QuilletError& e) {
        m_message->setText(e.message());
        return false;
    }
    return true;
}

QString SiteEndpointsDialog::editedCopy(const QString& folder) const
{
    const QString copy = folder + QStringLiteral("/catalogue.dat");
    QFile::copy(SiteCatalogue::cataloguePath(m_basedir), copy);
    QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    writeCells(copy);
    return copy;
}

void SiteEndpointsDialog::test()
{
    if (m_check || !m_errors.isEmpty()) {
        showValidity();
        return;
    }
    QTemporaryDir folder;
    const SiteCatalogue catalogue(editedCopy(folder.path()));
    std::vector<ProbeTarget> targets;
    std::vector<int> rows;
    for (const QString& key : SiteCatalogue::siteKeys()) {
        for (ProbeTarget& t : CheckTargets::forSite(catalogue, key, RecipeBook::endpointUses(key))) {
            targets.push_back(std::move(t));
            rows.push_back(m_rows.value(key));
        }
        m_table->item(m_rows.value(key), Result)->setText(QString());
        m_table->item(m_rows.value(key), Result)->setToolTip(QString());
    }
    if (std::optional<ProbeTarget> mail = CheckTargets::mailServer(m_basedir)) {
        targets.push_back(std::move(*mail));
        rows.push_back(-1);
    }
    if (targets.empty()) {
        m_message->setText(QStringLiteral("No endpoint is configured yet: give a site a host first."));
        return;
    }
    m_message->setText(QStringLiteral("Trying %1 endpoints…").arg(targets.size()));
    m_progress->setRange(0, int(targets.size()));
    m_progress->setValue(0);
    m_test->setEnabled(false);
    m_check = std::make_unique<EndpointCheck>(targets, m_stallSeconds);
    connect(m_check.get(), &EndpointCheck::progress, m_progress, &QProgressBar::setValue);
    connect(m_check.get(), &EndpointCheck::endpointDone, this, [this, rows](int index) {
        const ProbeTarget& t = m_check->targets()[index];
        const ProbeResult& r = m_check->results()[index];
        const QString line = t.endpoint + QStringLiteral(": ") + r.text();
        if (rows[index] < 0) {
            m_mailResult = line;
            return;
        }
        // The cell names the kind of endpoint ("web", "FTP"); its tooltip the whole address.
        const QString shortLine = t.endpoint.section(QLatin1Char(' '), 0, 0) + QStringLiteral(": ") + r.text();
        QTableWidgetItem* cell = m_table->item(rows[index], Result);
        const bool first = cell->text().isEmpty();
        cell->setText(first ? shortLine : cell->text() + QStringLiteral("; ") + shortLine);
        cell->setToolTip(first ? line : cell->toolTip() + QLatin1Char('\n') + line);
        cell->setForeground(r.reachable ? QBrush() : QBrush(Qt::darkRed));
    });
    connect(m_check.get(), &EndpointCheck::finished, this, [this] {
        int reachable = 0;
        for (const ProbeResult& r : m_check->results())
            reachable += r.reachable ? 1 : 0;
        QString text = QStringLiteral("%1 of %2 endpoints reachable.").arg(reachable).arg(m_check->results().size());
        if (!m_mailResult.isEmpty())
            text += QStringLiteral(" Mail server, ") + m_mailResult;
        m_message->setText(text);
        m_check.release()->deleteLater();
        m_test->setEnabled(true);
        emit tested();
    });
    m_mailResult.clear();
    m_check->start();
}
