#include "app/PreviewDialog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>

PreviewDialog::PreviewDialog(std::unique_ptr<QTemporaryDir> folder, QWidget* parent)
    : QDialog(parent)
    , m_folder(std::move(folder))
    , m_items(new QListWidget(this))
    , m_viewer(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Preview Submission"));
    m_items->setObjectName(QStringLiteral("previewitems"));
    m_viewer->setObjectName(QStringLiteral("previewviewer"));
    m_viewer->setReadOnly(true);
    m_viewer->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_items, 1);
    layout->addWidget(m_viewer, 3);
    resize(760, 460);

    const QDir root(m_folder->path());
    QStringList names;
    QDirIterator it(root.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(root.relativeFilePath(it.next()));
    names.sort();
    m_items->addItems(names);
    connect(m_items, &QListWidget::currentRowChanged, this, &PreviewDialog::showItem);
    if (!names.isEmpty())
        m_items->setCurrentRow(0);
}

PreviewDialog::~PreviewDialog() = default;

void PreviewDialog::showItem(int row)
{
    m_viewer->clear();
    if (row < 0)
        return;
    QFile file(QDir(m_folder->path()).filePath(m_items->item(row)->text()));
    if (file.open(QIODevice::ReadOnly))
        m_viewer->setPlainText(QString::fromLatin1(file.readAll()));
}
