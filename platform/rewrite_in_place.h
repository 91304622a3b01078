// rewrite_in_place.h -- writing a file over itself where no new file can stand in for it.
#pragma once

#include <cstddef>
#include <sys/stat.h>

// Writes the length bytes at data over the file name in the folder dir, as GLib's
// g_file_replace does where it cannot make a new file. Before the first byte: the length is
// checked against the file-size limit; the file is opened without waiting and without following
// a link, and must still be the regular file old describes (device and inode), else accessDenied;
// its bytes are read, to be put back; the whole new length is reserved (where the file system
// cannot, by writing past the old end as posix_fallocate does). The bytes then go out in
// pieces, the file is cut to their length and synced. Owner, group, mode and hard links stay
// the file's (the system drops setuid and setgid when another user writes it). On a failure
// the old bytes and length are put back and synced, and CFileException* naming path is thrown;
// only when even that fails is CFileDamagedException* thrown.
void RewriteInPlace(int dir, const char* name, const struct stat& old, const char* data,
                    size_t length, const char* path);
