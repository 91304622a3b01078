// safe_write.h -- saving a file so that a failed save leaves the old file as it was.
#pragma once

#include "platform/file.h"

#include <functional>

// What a save does with a symbolic link in the target's place.
enum class LinkAtTarget
{
    writeThrough,  // the file the link names (through a chain of links) is replaced; the link stays
    replace        // the link itself is replaced by the new file, never followed
};

// Runs write on a new file beside the target, then syncs it and renames it over the target. The
// callback must close any archive it built on the file, so that everything reached the file.
// The new file has no name until it is complete where the file system allows it, so a save
// killed halfway leaves nothing behind. A target that is not a regular file, or that the real
// user may not write, is refused before anything is written (accessDenied). On any failure the
// temporary is removed, the target is untouched and the exception propagates (CFileException*
// naming path for the file's own failures). A hard link to the old file keeps the old content.
void WriteFileSafely(const char* path, const std::function<void(CFile&)>& write,
                     LinkAtTarget links = LinkAtTarget::writeThrough);
