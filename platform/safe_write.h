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

// A save that failed midway through an in-place rewrite and could not put the old bytes back
// either: the file on disk is damaged. m_cause tells what failed first.
class CFileDamagedException : public CFileException
{
public:
    using CFileException::CFileException;
};

// Runs write on a new file beside the target, then (for a document) syncs it, and renames it
// over the target. The callback must close any archive it built on the file, so that everything
// reached the file. The new file has no name until it is complete where the file system allows
// it (where it makes unnamed files but will not link them, it gets a named copy), so a save
// killed halfway leaves nothing behind, or at most a complete temporary. The new file keeps the
// old one's owner, group and mode, without setuid and setgid. A document whose folder allows no
// new file, or whose new file could not keep the owner, group or mode, is written over in place
// instead (see RewriteInPlace). Every step works relative to the folder, so any path that can
// be opened can be saved. A target that is not a regular file, or that the real user may not
// write, is refused before anything is written (accessDenied); so is a symbolic link the system
// would refuse to follow (one in a sticky, world-writable folder that belongs to neither the
// user nor the folder's owner). On any failure the temporary is removed, the target is left
// byte for byte as it was and the exception propagates (CFileException* naming path for the
// file's own failures; CFileDamagedException* in the one case where an in-place rewrite could
// not restore it). A hard link to the old file keeps the old content, except after an in-place
// rewrite.
void WriteFileSafely(const char* path, const std::function<void(CFile&)>& write,
                     SafeWriteKind kind = SafeWriteKind::document);

// Writes size bytes from data as WriteFileSafely does; false, with the old file as it was, when
// the save fails (whatever made it fail).
bool WriteBytesSafely(const char* path, const void* data, size_t size,
                      SafeWriteKind kind = SafeWriteKind::document);
