#include "testsupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testsupport {

std::shared_ptr<void> squatBlock(const std::string &name)
{
#ifdef _WIN32
    // A security descriptor with an empty access list grants nobody anything.
    SECURITY_DESCRIPTOR security;
    ACL acl;
    InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&security, TRUE, &acl, FALSE);
    SECURITY_ATTRIBUTES denied = {static_cast<DWORD>(sizeof denied), &security, FALSE};
    const std::wstring wide(name.begin(), name.end());
    const HANDLE mapping
        = CreateFileMappingW(INVALID_HANDLE_VALUE, &denied, PAGE_READWRITE, 0, 4096, wide.c_str());
    return std::shared_ptr<void>(mapping, [](HANDLE handle) { CloseHandle(handle); });
#else
    const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd >= 0 && (fchmod(fd, 0644) != 0 || ftruncate(fd, 4096) != 0 || close(fd) != 0))
        return nullptr;
    return std::shared_ptr<void>(nullptr, [name](void *) { shm_unlink(("/" + name).c_str()); });
#endif
}

} // namespace testsupport
