#pragma once

#include <QWidget>

class ControlRegistry;
class GrowingControls;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TFlatButton;
class TLed;

// Submit: the run's buttons, the counts of the last run, the current site, the lamps and status
// texts of the three channels, the progress bar, the FTP trace and the run log.
class SubmitPage : public QWidget
{
    Q_OBJECT

public:
    SubmitPage(ControlRegistry& controls, QWidget* parent);

    TFlatButton* submit() const { return m_buttons[0]; }
    TFlatButton* skip() const { return m_buttons[1]; }
    TFlatButton* cancel() const { return m_buttons[2]; }
    TFlatButton* save() const { return m_buttons[3]; }
    TFlatButton* print() const { return m_buttons[4]; }
    TFlatButton* exitb() const { return m_buttons[5]; }
    QLabel* runcounts() const { return m_runcounts; }
    QLabel* currentsite() const { return m_currentsite; }
    TLed* httpled() const { return m_leds[0]; }
    TLed* ftpled() const { return m_leds[1]; }
    TLed* mailled() const { return m_leds[2]; }
    QLabel* httpstatus() const { return m_statuses[0]; }
    QLabel* ftpstatus() const { return m_statuses[1]; }
    QLabel* mailstatus() const { return m_statuses[2]; }
    QLabel* httpbytes() const { return m_seconds[0]; }
    QLabel* mail2() const { return m_seconds[2]; }
    QLabel* genlabel() const { return m_genlabel; }
    QProgressBar* ProgressBar1() const { return m_progress; }
    QListWidget* ftplist() const { return m_ftplist; }
    QListWidget* log() const { return m_log; }
    // Zero-size, reachable only by Alt+D while this page shows.
    QPushButton* db() const { return m_db; }
    // The FTP trace and the run log take the room of a grown window, the trace a third of its
    // height; the status lines widen with them.
    void addGrowing(GrowingControls& growing) const;

private:
    TFlatButton* m_buttons[6];
    QLabel* m_runcounts;
    QLabel* m_currentsite;
    // HTTP, FTP and mail: the lamp, its status text and the line under it (none for FTP).
    TLed* m_leds[3];
    QLabel* m_statuses[3];
    QLabel* m_seconds[3] = {};
    QLabel* m_genlabel;
    QProgressBar* m_progress;
    QListWidget* m_ftplist;
    QListWidget* m_log;
    QPushButton* m_db;
};
