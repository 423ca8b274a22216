// What the fuzz targets share: a failure that stops the run and the input layout of the port
// targets that cuts the byte stream into pieces. Their ports are fed through SocketPairPort, the
// network tests' socket pair.
#pragma once

#include "support/SocketPairPort.h"

#include <QByteArray>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

// Reports a broken property, named after the fuzz target, and aborts so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what)
{
    fprintf(stderr, "%s: %s\n", program_invocation_short_name, what);
    abort();
}

// The port targets' input: byte 0 holds the target's own switches (bit 7 makes the cut lengths
// 64 times larger), bytes 1..8 give up to 8 cut lengths (0 = no cut), the rest is the stream.
struct CutInput
{
    uint8_t switches = 0;
    QByteArray stream;
    std::vector<QByteArray> chunks; // stream, cut where the lengths say
};

inline std::optional<CutInput> cutInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return std::nullopt;
    CutInput input;
    input.switches = data[0];
    input.stream = QByteArray(reinterpret_cast<const char*>(data + 9), qsizetype(size - 9));
    qsizetype from = 0;
    for (size_t i = 1; i < 9; ++i) {
        if (data[i] == 0)
            continue;
        if (from >= input.stream.size())
            break;
        const int length = data[i] * (data[0] & 0x80 ? 64 : 1);
        input.chunks.push_back(input.stream.mid(from, length));
        from += length;
    }
    if (from < input.stream.size())
        input.chunks.push_back(input.stream.mid(from));
    return input;
}
