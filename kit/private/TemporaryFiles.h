// The temporary files that safe writes have open, removed if the process is ended by
// SIGTERM, SIGINT or SIGHUP while they exist.
//
// While a temporary file is registered, each of those signals whose handling is still the
// default one (ending the process) is caught: the handler removes every registered file,
// then ends the process by the same signal, as it would have ended. A signal the program
// handles itself (the application turns them into a quit request, which lets writes
// finish) or ignores is left alone.
#pragma once

#include <string>

namespace kit {

// A slot for path, or -1 when all slots are taken (the file is then not removed by a
// signal, only by its owner).
int RegisterTemporaryFile(const std::string& path);
// The slot is free again; its file was removed or renamed by its owner.
void ForgetTemporaryFile(int slot);

} // namespace kit
