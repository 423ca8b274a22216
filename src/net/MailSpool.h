#pragma once

#include <QByteArray>
#include <QIODevice>

#include <vector>

// A message encoded in memory as a run of pieces: what is written goes into pieces of its own, and
// a large piece that already exists (a body a run sends in every mail) is taken by reference, not
// copied. Reads give the pieces one after another.
class MailSpool : public QIODevice
{
    Q_OBJECT

public:
    MailSpool();

    // Takes bytes as the next piece without copying them.
    void appendShared(const QByteArray& bytes);
    const std::vector<QByteArray>& pieces() const { return m_pieces; }
    // Whether piece i was taken by appendShared (bytes that live on elsewhere), not written.
    bool taken(std::size_t i) const { return m_taken[i]; }
    qint64 size() const override { return m_size; }
    bool isSequential() const override { return false; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::vector<QByteArray> m_pieces;
    std::vector<bool> m_taken; // per piece: taken by appendShared
    bool m_lastShared = false; // the last piece was taken by reference: writes start a new one
    qint64 m_size = 0;
};
