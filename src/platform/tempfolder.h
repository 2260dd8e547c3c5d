#pragma once

namespace platform {

// Whether the system's temporary folder belongs to this user alone, as each user's %TEMP% does
// on Windows, rather than being shared by every user, as /tmp is on POSIX.
bool temporaryFolderIsPerUser();

} // namespace platform
