#include "crypto/Guid.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <objbase.h>
#else
#include <sys/random.h>
#endif

namespace {

#ifndef _WIN32
// Fills the buffer from the kernel's random source; getrandom may be
// interrupted by a signal or return fewer bytes than asked.
void FillRandom(void* buffer, size_t size)
{
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = getrandom(out + done, size - done, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw std::system_error(errno, std::generic_category(), "getrandom");
        }
        done += static_cast<size_t>(n);
    }
}
#endif

} // namespace

TGuid CreateGuid()
{
    TGuid guid;
#ifdef _WIN32
    static_assert(sizeof(GUID) == sizeof(TGuid));
    GUID g;
    const HRESULT hr = CoCreateGuid(&g);
    if (FAILED(hr))
        throw std::system_error(static_cast<int>(hr), std::system_category(), "CoCreateGuid");
    std::memcpy(&guid, &g, sizeof guid);
#else
    FillRandom(&guid, sizeof guid);
    guid.Data3 = static_cast<uint16_t>((guid.Data3 & 0x0FFF) | 0x4000); // version 4
    guid.Data4[0] = static_cast<uint8_t>((guid.Data4[0] & 0x3F) | 0x80); // variant 10xx
#endif
    return guid;
}

QByteArray GuidBytes(const TGuid& guid)
{
    return QByteArray(reinterpret_cast<const char*>(&guid), sizeof guid);
}
