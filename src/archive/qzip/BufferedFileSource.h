#pragma once

#include <zip.h>

#include <string>

// A file as a libzip source that reads and writes through large buffers. libzip's own file source
// reads in 8 KB and writes the new archive in 4 KB pieces; this one hands the system 1 MB blocks.
// As with libzip's, a new archive is written to a temporary file beside the old one and renamed
// into place only when everything was written, so a failed or cancelled operation leaves the
// archive as it was.
//
// Returns a source (for zip_open_from_source() when writable, else for zip_file_add()), or nullptr
// with error set.
zip_source_t* bufferedFileSource(const std::string& path, bool writable, zip_error_t* error);
