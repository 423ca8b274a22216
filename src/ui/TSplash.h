#pragma once

#include <QTimer>
#include <QWidget>

// The start-up window: borderless, centred on the screen, a picture and one line of text.
// It stays up at least MinimumMs: its flag is raised on creation and lowered by the first tick of
// its timer; start-up keeps processing events until then.
class TSplash : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MinimumMs = 1800;

    explicit TSplash(const QString& line, QWidget* parent = nullptr);

    bool stillShowing() const { return m_showing; }
    const QTimer& timer() const { return m_timer; }

    // The splash picture, also used by the about box.
    static QPixmap picture(const QSize& size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_line;
    QTimer m_timer;
    bool m_showing = true;
};
