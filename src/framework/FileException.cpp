#include "framework/FileException.h"

void CFileException::ThrowOsError(LONG lOsError) {
    const bool bFull = lOsError == ERROR_DISK_FULL || lOsError == ERROR_HANDLE_DISK_FULL;
    throw CFileException(bFull ? diskFull : generic);
}
