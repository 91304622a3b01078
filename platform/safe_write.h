// safe_write.h -- saving a file so that a failed save leaves the old file as it was.
#pragma once

#include "platform/file.h"

#include <functional>

// What is written, which settles what a symbolic link in the target's place means and whether the
// new file must reach the disk before it replaces the old one.
enum class SafeWriteKind
{
    document,  // the user's file: written through links (the file a chain names is replaced,
               // the links stay) and synced, so a power loss leaves the old file or the new one
    scratch    // a file only the running program reads back: a link there is replaced, never
               // followed, and nothing waits for the disk
};

// Runs write on a new file beside the target, then (for a document) syncs it, and renames it
// over the target. The callback must close any archive it built on the file, so that everything
// reached the file. The new file has no name until it is complete where the file system allows
// it (where it makes unnamed files but will not link them, it gets a named copy), so a save
// killed halfway leaves nothing behind, or at most a complete temporary. The new file keeps the
// old one's owner, group and mode. A document whose folder allows no new file, or whose new
// file could not keep the owner or group, is written over in place instead: its bytes complete
// in memory first, then written in one pass, cut to length and synced. Every step works
// relative to the folder, so any path that can be opened can be saved. A target that is not a
// regular file, or that the real user may not write, is refused before anything is written
// (accessDenied). On any failure the temporary is removed, the target is untouched (short of
// a failure midway through an in-place rewrite) and the exception propagates (CFileException*
// naming path for the file's own failures). A hard link to the old file keeps the old content,
// except after an in-place rewrite.
void WriteFileSafely(const char* path, const std::function<void(CFile&)>& write,
                     SafeWriteKind kind = SafeWriteKind::document);
