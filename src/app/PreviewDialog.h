#pragma once

#include <QDialog>
#include <QTemporaryDir>

#include <memory>

class QPlainTextEdit;
class QTreeWidget;
class RunRecord;

// What a preview run wrote, one row per file (http/0001.req, mail/0001.eml, ftp/host/…) with the
// site it was written for, in the order of the run; the chosen one shown read-only. The dialog
// owns the preview folder and removes it on closing.
class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    PreviewDialog(std::unique_ptr<QTemporaryDir> folder, const RunRecord& record, QWidget* parent = nullptr);
    ~PreviewDialog() override;

    QTreeWidget* items() const { return m_items; }
    QPlainTextEdit* viewer() const { return m_viewer; }

    // Shown of a file at most; a program or archive could be far larger than a viewer should hold.
    static constexpr qint64 ShownLimit = 1024 * 1024;
    // What the viewer shows of a file's bytes.
    static QString shownText(const QByteArray& bytes, qint64 size);

private:
    void showItem();

    std::unique_ptr<QTemporaryDir> m_folder;
    QTreeWidget* m_items;
    QPlainTextEdit* m_viewer;
};
