#pragma once

#include <QDialog>
#include <QTemporaryDir>

#include <memory>

class QListWidget;
class QPlainTextEdit;

// What a preview run wrote, one item per file (http/0001.req, mail/0001.eml, ftp/host/…), the
// chosen one shown read-only. The dialog owns the preview folder and removes it on closing.
class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    PreviewDialog(std::unique_ptr<QTemporaryDir> folder, QWidget* parent = nullptr);
    ~PreviewDialog() override;

    QListWidget* items() const { return m_items; }
    QPlainTextEdit* viewer() const { return m_viewer; }

private:
    void showItem(int row);

    std::unique_ptr<QTemporaryDir> m_folder;
    QListWidget* m_items;
    QPlainTextEdit* m_viewer;
};
