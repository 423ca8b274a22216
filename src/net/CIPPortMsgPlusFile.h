#pragma once

#include "net/CIPPortMsg.h"

// A message-mode port that can also send a file.
class CIPPortMsgPlusFile : public CIPPortMsg
{
    Q_OBJECT

public:
    // One read and one send per block: large blocks keep the system calls (and, over TLS, the
    // records) few; a block is four full TLS records.
    static constexpr qint64 FileBlockSize = 64 * 1024;

    explicit CIPPortMsgPlusFile(QObject* parent = nullptr);

    // Sends the file's bytes in blocks of FileBlockSize with sendAll(), calling sendProgress()
    // after each block. length >= 0 sends exactly that many bytes (what was announced to the
    // peer): a file that turned out shorter is an error, a longer one is cut. A file error
    // returns the system's error number, with its message as lastResultDescription().
    int sendFile(const QString& fileName, qint64 length = -1);
};
