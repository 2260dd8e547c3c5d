#include "../tempfolder.h"

namespace platform {

bool temporaryFolderIsPerUser()
{
    return true;
}

} // namespace platform
