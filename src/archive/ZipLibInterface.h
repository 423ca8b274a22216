#pragma once

// The calling interface between TZipBuilder and the zip library libqzip.so. Plain C++ with no Qt:
// the library includes it too.
//
// One operation is one parameter block: the fixed record of 32-bit little-endian fields below,
// one address slot per file specification, then the texts. A 64-bit process cannot put a pointer
// into a 32-bit field, so every "address" in the record is the 32-bit offset of its target from the
// start of the block; the callback routine's pointer itself sits in an 8-byte slot inside the block.
// True is written as -1 and false as 0. The calling component is a 32-bit number that the library
// hands back in every callback record.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ziplib {

constexpr int32_t True = -1;
constexpr int32_t False = 0;
constexpr int32_t InterfaceVersion = 120;
// Each text (archive name, file specification) has a buffer of this size, zero included.
constexpr std::size_t TextBufferSize = 256;

// Offsets of the parameter record.
enum ParamOffset : std::size_t {
    ParamWindow = 0,
    ParamCaller = 4,
    ParamVersion = 8,
    ParamCallback = 12, // offset of the 8-byte slot holding the callback routine
    ParamTrace = 16,
    ParamAddHidden = 32,
    ParamFixed44 = 44,
    ParamVerbose = 52,
    ParamFixed56 = 56,
    ParamLevel = 60,
    ParamDiscardDirNames = 72,
    ParamRecurse = 76,
    ParamFixed80 = 80,
    ParamForceDos = 84,
    ParamMove = 88,
    ParamUpdate = 96,
    ParamFreshen = 100,
    ParamZipTime = 108,
    ParamSpecCount = 120,
    ParamArchiveName = 124, // offset of the archive name's buffer
    ParamFixed128 = 128,
    ParamSpecs = 132, // one offset per file specification
};

// Offsets of the callback record the library passes to the callback routine.
enum CallbackOffset : std::size_t {
    CallbackCaller = 4,
    CallbackKind = 16,
    CallbackError = 20,
    CallbackSize = 24,
    CallbackText = 28, // zero-terminated
};

// The kinds of callback.
enum CallbackKind : int32_t {
    KindNewFile = 1, // text: the file being added, size: its size
    KindProgress = 2,
    KindEndOfBatch = 3,
    KindMessage = 4, // error code and message text
};

// Returned by the callback routine to ask the library to stop.
constexpr int32_t CallbackCancel = -1;
// The longest callback text the library sends, zero excluded.
constexpr std::size_t MaxCallbackText = 1024;

using Callback = int32_t (*)(const unsigned char* record);
// "ZipLibExec": performs the operation of the parameter block; returns the number of files added
// (zero or negative when nothing was added).
using ZipLibExecFn = int32_t (*)(const unsigned char* params);
using GetZipLibVersionFn = int32_t (*)();

inline int32_t readInt32(const unsigned char* at)
{
    return int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24);
}

inline void writeInt32(unsigned char* at, int32_t value)
{
    const auto v = uint32_t(value);
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
    at[2] = static_cast<unsigned char>(v >> 16);
    at[3] = static_cast<unsigned char>(v >> 24);
}

inline int32_t flag(bool on)
{
    return on ? True : False;
}

} // namespace ziplib
