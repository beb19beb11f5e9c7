// Whole files read and replaced without trusting what other users may put under their names.
#pragma once

#include <cstddef>
#include <string>

namespace corlink::detail {

// The first bytes of a regular file (a symbolic link to one is followed), at most limit + 1 of
// them. A FIFO, socket, device or folder is refused with 75 without blocking and without being
// read; 52 no name, 53 / 76 the file or its folder is missing, 70 no permission, 75 a failed read.
std::string ReadRegularFile(const std::string& name, std::size_t limit);

// Makes the regular file of this name hold the bytes, so that it holds its old bytes or the new
// ones whole, and stays what it was: owner, group, other names, ACL, extended attributes and
// permission bits. A new file is made as the system makes any (0666 less the umask).
//
// The bytes go to a temporary file beside it that is this user's alone until it is complete and
// has become what the old file was, and that then takes the file's name; where it cannot become
// that (another user's file, a group this user is not in, several names, attributes that cannot
// be copied) or take the name (a sticky folder, a file mounted on its own), or where no file may
// be made beside it, the file itself is written, and given its old bytes back on a failure.
//
// The name is looked up one part at a time, where the system's lookup goes: an automount point
// on the way is mounted, a link on /proc leads to what it stands for (a process's root or working
// folder, an open file, which is then written in place unless its text names that very file),
// and a link on a file system mounted nosymfollow is refused. A symbolic link is followed to the
// file it names, which need not exist, so the link stays; but a link in a sticky folder that the
// group or others may write is followed only when it is this user's or the folder owner's,
// wherever it is met: in the name's folders, at its end or in the text of another link. This is
// stricter than the kernel's guard against links planted in shared folders, which judges only
// the link a name ends in, and only in folders the world may write: the system follows a
// colleague's folder link in /tmp even with fs.protected_symlinks 1.
//
// Errors, with the old file kept: 52 no name, 70 no permission (a write-protected file, a link
// refused), 76 a missing folder (or a link with an empty text), 61 a full disk, 75 anything else
// (a folder, FIFO, socket or device under the name, a name of 4096 bytes or more, a link on a
// nosymfollow mount, a failed write or sync). A failed sync of the folder after the new file took
// the name gives 75 (61) as well: the file holds the new bytes, but may not after a power cut.
void ReplaceFile(const std::string& name, const std::string& bytes);

}  // namespace corlink::detail
