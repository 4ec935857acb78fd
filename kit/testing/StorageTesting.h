// Hooks that let tests put files into situations that are hard to make for real. The
// program never uses them.
#pragma once

namespace kit::testing {

// While refuse is true, the temporary file of every safe-write file (BDirectory::CreateFile)
// cannot be made, as in a folder that the user may not write: an existing file that may be
// written is then written in place. Tests run as the superuser, whom a read-only folder
// does not stop, so this is how they see what a user would.
void RefuseTemporaryFiles(bool refuse);
// While true, safe-write files make named temporary files, as on a file system that has no
// unnamed ones (FAT, some network file systems).
void UseNamedTemporaryFiles(bool named);

} // namespace kit::testing
