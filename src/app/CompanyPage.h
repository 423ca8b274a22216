#pragma once

#include <QWidget>

class ControlRegistry;
class QComboBox;
class QLineEdit;
class QPushButton;

// Company Info: the publishing company and its contact, with a button that saves them alone.
class CompanyPage : public QWidget
{
    Q_OBJECT

public:
    CompanyPage(ControlRegistry& controls, QWidget* parent);

    QComboBox* compname() const { return m_compname; }
    QLineEdit* conname() const { return m_edits[0]; }
    QLineEdit* contitle() const { return m_edits[1]; }
    QLineEdit* conmail() const { return m_edits[2]; }
    QLineEdit* conphone() const { return m_edits[3]; }
    QLineEdit* confax() const { return m_edits[4]; }
    QLineEdit* conaddr() const { return m_edits[5]; }
    QLineEdit* concity() const { return m_edits[6]; }
    QLineEdit* constate() const { return m_edits[7]; }
    QLineEdit* conzip() const { return m_edits[8]; }
    QLineEdit* concountry() const { return m_edits[9]; }
    QLineEdit* pubpage() const { return m_edits[10]; }
    QLineEdit* pubmail() const { return m_edits[11]; }
    QPushButton* savecompany() const { return m_savecompany; }

private:
    QComboBox* m_compname;
    QLineEdit* m_edits[12];
    QPushButton* m_savecompany;
};
