#include "../randomsource.h"

#include <windows.h>

#include <bcrypt.h>

namespace platform {

bool fillRandom(unsigned char *data, std::size_t size)
{
    while (size > 0) {
        const ULONG count = size > 0x10000 ? 0x10000 : static_cast<ULONG>(size);
        const NTSTATUS status = BCryptGenRandom(nullptr,
                                                data,
                                                count,
                                                BCRYPT_USE_SYSTEM_PREFERRED_RNG);
        if (status != 0) {
            // An NTSTATUS has no Win32 code of its own; it is telling enough as it stands.
            SetLastError(static_cast<DWORD>(status));
            return false;
        }
        data += count;
        size -= count;
    }
    return true;
}

} // namespace platform
