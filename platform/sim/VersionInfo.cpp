#include <cstring>

#include "platform/sim/Process.h"

namespace sim {
namespace detail {

// The size field is all that tells the two records apart, and a Windows that does not
// know a size refuses it; only as many bytes as the caller declared are written.
BOOL GetVersionInfo(const Scenario& s, OSVERSIONINFOA* info)
{
    if (!info) return Fail(kErrorNoAccess);
    const DWORD size = info->dwOSVersionInfoSize;
    const bool accepted = (size == sizeof(OSVERSIONINFOEXA) && s.accepts156) ||
                          (size == sizeof(OSVERSIONINFOA) && s.accepts148);
    if (!accepted) return Fail(ERROR_INVALID_PARAMETER);

    OSVERSIONINFOEXA full;
    std::memset(&full, 0, sizeof full);
    full.dwMajorVersion = s.major;
    full.dwMinorVersion = s.minor;
    full.dwBuildNumber = s.build;
    full.dwPlatformId = s.platformId;
    std::strncpy(full.szCSDVersion, s.csdVersion.c_str(), sizeof full.szCSDVersion - 1);
    full.wServicePackMajor = s.servicePackMajor;
    full.wServicePackMinor = s.servicePackMinor;
    full.wProductType = 1;  // VER_NT_WORKSTATION
    const std::size_t skip = sizeof full.dwOSVersionInfoSize;
    std::memcpy(reinterpret_cast<char*>(info) + skip, reinterpret_cast<const char*>(&full) + skip,
                size - skip);
    return TRUE;
}

}  // namespace detail
}  // namespace sim
