// safe_write.h -- saving a file so that a failed save leaves the old file as it was.
#pragma once

#include "platform/file.h"

#include <functional>

// Runs write on a temporary file beside path, then syncs it and renames it over path. The
// callback must close any archive it built on the file, so that everything reached the file.
// On any failure the temporary is removed, path is untouched and the exception propagates
// (CFileException* for the file's own failures).
void WriteFileSafely(const char* path, const std::function<void(CFile&)>& write);
