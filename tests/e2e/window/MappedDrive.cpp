#include "MappedDrive.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

#include "Files.h"

namespace {

// Wine's mount manager extension that winecfg uses; the layout is Wine's own.
constexpr DWORD IOCTL_DEFINE_UNIX_DRIVE =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDrive {
    ULONG size, type, fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset, deviceOffset, labelOffset;
};

// A drive of that type at the Unix path, or none (DRIVE_NO_ROOT_DIR, no path).
bool DefineDrive(char letter, DWORD type, const std::string& unixPath) {
    std::vector<char> request(sizeof(UnixDrive) + unixPath.size() + 1, 0);
    UnixDrive* drive = reinterpret_cast<UnixDrive*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = type;
    drive->letter = static_cast<WCHAR>(letter - 'A' + 'a');  // the manager takes lower case
    if (!unixPath.empty()) {
        drive->mountPointOffset = sizeof(UnixDrive);
        std::memcpy(request.data() + sizeof(UnixDrive), unixPath.c_str(), unixPath.size());
    }
    HANDLE manager = CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                 nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    const BOOL done = DeviceIoControl(manager, IOCTL_DEFINE_UNIX_DRIVE, request.data(),
                                      drive->size, nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return done != FALSE;
}

}  // namespace

CMappedDrive::CMappedDrive(const std::string& folder) {
    const std::string unixPath = ToUnixPath(folder);
    const DWORD used = GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'M' && !unixPath.empty(); --letter) {
        if (used & (1u << (letter - 'A'))) continue;
        if (DefineDrive(letter, DRIVE_FIXED, unixPath)) m_letter = letter;
        return;
    }
}

CMappedDrive::~CMappedDrive() {
    if (m_letter) DefineDrive(m_letter, DRIVE_NO_ROOT_DIR, "");
}
