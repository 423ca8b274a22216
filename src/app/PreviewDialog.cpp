#include "app/PreviewDialog.h"

#include "submit/RunRecord.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

PreviewDialog::PreviewDialog(std::unique_ptr<QTemporaryDir> folder, const RunRecord& record, QWidget* parent)
    : QDialog(parent)
    , m_folder(std::move(folder))
    , m_items(new QTreeWidget(this))
    , m_viewer(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Preview Submission"));
    m_items->setObjectName(QStringLiteral("previewitems"));
    m_items->setRootIsDecorated(false);
    m_items->setHeaderLabels({QStringLiteral("Item"), QStringLiteral("Site")});
    m_viewer->setObjectName(QStringLiteral("previewviewer"));
    m_viewer->setReadOnly(true);
    // A form post's body is one long line: wrapped, it reads without scrolling sideways.
    m_viewer->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_viewer->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_items);
    splitter->addWidget(m_viewer);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addWidget(buttons);
    resize(780, 480);

    // The sites' files in the order of the run, then anything the record does not name.
    QStringList listed;
    for (const SiteResult& site : record.sites) {
        for (const QString& item : site.previewItems) {
            new QTreeWidgetItem(m_items, {item, site.label.isEmpty() ? site.siteKey : site.label});
            listed.append(item);
        }
    }
    const QDir root(m_folder->path());
    QStringList others;
    QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = root.relativeFilePath(it.next());
        if (!listed.contains(name))
            others.append(name);
    }
    others.sort();
    for (const QString& name : others)
        new QTreeWidgetItem(m_items, {name});
    m_items->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(m_items, &QTreeWidget::currentItemChanged, this, &PreviewDialog::showItem);
    if (m_items->topLevelItemCount() > 0)
        m_items->setCurrentItem(m_items->topLevelItem(0));
}

PreviewDialog::~PreviewDialog() = default;

QString PreviewDialog::shownText(const QByteArray& bytes, qint64 size)
{
    if (bytes.contains('\0'))
        return QStringLiteral("(%1 bytes of binary data, as they would be uploaded)").arg(size);
    QString text = QString::fromLatin1(bytes);
    if (size > bytes.size())
        text += QStringLiteral("\n(… the first %1 of %2 bytes)").arg(bytes.size()).arg(size);
    return text;
}

void PreviewDialog::showItem()
{
    m_viewer->clear();
    const QTreeWidgetItem* item = m_items->currentItem();
    if (!item)
        return;
    QFile file(QDir(m_folder->path()).filePath(item->text(0)));
    if (file.open(QIODevice::ReadOnly))
        m_viewer->setPlainText(shownText(file.read(ShownLimit), file.size()));
    else
        m_viewer->setPlainText(QStringLiteral("Cannot read %1: %2").arg(file.fileName(), file.errorString()));
}
