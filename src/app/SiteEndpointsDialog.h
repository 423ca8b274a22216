#pragma once

#include <QDialog>
#include <QHash>
#include <QString>

#include <memory>

class EndpointCheck;
class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// Check / Options' "Site Endpoints…": every catalogue site with the endpoints cat/catalogue.dat
// gives it (web host, FTP host, mailboxes, page, CA file; an empty cell is the built-in
// placeholder), whether it is set up, and a reachability check. Edits are checked as typed; a bad
// value keeps OK disabled. OK writes the file whole, keeping its other sections, keys and comments.
class SiteEndpointsDialog : public QDialog
{
    Q_OBJECT

public:
    // The site's label and whether it is set up, the editable cells (Host to CaFile), the check's result.
    enum Column { Label, SetUp, Host, FtpHost, Mailbox, Mailbox2, Page, CaFile, Result, ColumnCount };

    // stallSeconds bounds each endpoint of the check, as it bounds a wait of the run.
    SiteEndpointsDialog(const QString& basedir, int stallSeconds, QWidget* parent = nullptr);
    ~SiteEndpointsDialog() override;

    QTableWidget* table() const { return m_table; }
    QLabel* message() const { return m_message; }
    QPushButton* okButton() const;
    QPushButton* testButton() const { return m_test; }
    QProgressBar* progress() const { return m_progress; }
    // The row of a site key; row 0 is [ALL].
    int rowOf(const QString& section) const { return m_rows.value(section, -1); }

    // Why the cell's text cannot be saved, or empty.
    static QString cellError(int column, const QString& text);
    // Writes the edited cells into cat/catalogue.dat; false (said in message()) when it cannot.
    bool save();
    // Starts the reachability check of the endpoints as edited; results fill the Result column.
    void test();
    bool testing() const { return m_check != nullptr; }

signals:
    // The check started by test() has ended.
    void tested();

private:
    void load();
    void cellChanged(QTableWidgetItem* item);
    // A cell's editor holds text not yet taken: OK waits while it is bad.
    void typing(int column, const QString& text);
    void refreshSetUp();
    void showValidity();
    // A catalogue as edited: the file with the dialog's cells written over it, in a temporary copy.
    QString editedCopy(const QString& folder) const;
    void writeCells(const QString& path) const;

    QString m_basedir;
    int m_stallSeconds;
    QTableWidget* m_table;
    QLabel* m_message;
    QProgressBar* m_progress;
    QPushButton* m_test;
    QDialogButtonBox* m_buttons;
    QHash<QString, int> m_rows; // section -> row
    QHash<QTableWidgetItem*, QString> m_errors;
    std::unique_ptr<EndpointCheck> m_check;
    QString m_mailResult;
    bool m_loading = false;
};
