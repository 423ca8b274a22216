// libqunzip.so: the unzip library TZipBuilder loads beside the zip library. The program only adds
// to archives, so extracting is not offered: "UnzLibExec" extracts nothing and says so.

#include "archive/ZipLibInterface.h"

#define QUNZIP_EXPORT extern "C" __attribute__((visibility("default")))

QUNZIP_EXPORT int32_t UnzLibExec(const unsigned char*)
{
    return 0;
}

QUNZIP_EXPORT int32_t GetUnzLibVersion()
{
    return ziplib::InterfaceVersion;
}
