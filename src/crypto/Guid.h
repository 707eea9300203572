#pragma once
// New random GUIDs from the operating system: CoCreateGuid on Windows, the
// kernel's cryptographic random source (getrandom) elsewhere.

#include <QByteArray>
#include <cstdint>

/// A GUID laid out in memory as the Windows GUID structure.
struct TGuid {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(TGuid) == 16, "TGuid must have the layout of the Windows GUID");

/// A new version-4 (random) GUID with the RFC 4122 variant bits.
/// Throws std::system_error when the system's random source fails.
TGuid CreateGuid();

/// The 16 bytes of the GUID exactly as it lies in memory.
QByteArray GuidBytes(const TGuid& guid);
