#include "../tempfolder.h"

namespace platform {

bool temporaryFolderIsPerUser()
{
    return false;
}

} // namespace platform
