#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class ControlRegistry;
class QComboBox;
class QLabel;
class QLineEdit;

// App Info / General: the program's name, file names, version, release date, platforms, sizes,
// price and terms. It keeps the release date text its date fields make.
class GeneralPage : public QWidget
{
    Q_OBJECT

public:
    GeneralPage(ControlRegistry& controls, QWidget* parent);

    QComboBox* appname() const { return m_appname; }
    QLineEdit* char8name() const { return m_char8name; }
    QLineEdit* filename() const { return m_filename; }
    QLineEdit* version() const { return m_version; }
    QLineEdit* month() const { return m_month; }
    QLineEdit* day() const { return m_day; }
    QLineEdit* year() const { return m_year; }
    QLabel* ldatel() const { return m_ldatel; }
    QComboBox* platforms() const { return m_platforms; }
    QComboBox* diststatus() const { return m_diststatus; }
    QLineEdit* bytesize() const { return m_bytesize; }
    QLineEdit* instsize() const { return m_instsize; }
    QLineEdit* price() const { return m_price; }
    QComboBox* status() const { return m_status; }
    QLineEdit* eval() const { return m_eval; }
    QLineEdit* expiredate() const { return m_expiredate; }
    QLineEdit* specreq() const { return m_specreq; }
    QLineEdit* expireafter() const { return m_expireafter; }
    QComboBox* installer() const { return m_installer; }

    // The release date fields, and every field that takes digits only.
    QList<QLineEdit*> dateFields() const { return {m_day, m_month, m_year}; }
    QList<QLineEdit*> digitFields() const { return {m_day, m_month, m_year, m_bytesize, m_instsize}; }

    // Release date text, e.g. "7-Mar-1999".
    const QString& longdate() const { return m_longdate; }
    // Rebuilds longdate from day, month and year and shows it in ldatel.
    void rebuildLongdate();
    // The 8 character name takes letters and digits only, and keeps them in lower case.
    void char8nameExit();

private:
    QComboBox* m_appname;
    QLineEdit* m_char8name;
    QLineEdit* m_filename;
    QLineEdit* m_version;
    QLineEdit* m_month;
    QLineEdit* m_day;
    QLineEdit* m_year;
    QLabel* m_ldatel;
    QComboBox* m_platforms;
    QComboBox* m_diststatus;
    QLineEdit* m_bytesize;
    QLineEdit* m_instsize;
    QLineEdit* m_price;
    QComboBox* m_status;
    QLineEdit* m_eval;
    QLineEdit* m_expiredate;
    QLineEdit* m_specreq;
    QLineEdit* m_expireafter;
    QComboBox* m_installer;
    QString m_longdate;
};
