#include "PortLink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool CPortLink::PointTo(const std::string& strTarget, std::string& strError) {
    if (m_strPath.empty()) return true;
    const std::string strTemporary = m_strPath + ".new" + std::to_string(getpid());
    unlink(strTemporary.c_str());
    if (symlink(strTarget.c_str(), strTemporary.c_str()) != 0) {
        strError = "link " + strTemporary + ": " + std::strerror(errno);
        return false;
    }
    if (rename(strTemporary.c_str(), m_strPath.c_str()) != 0) {
        strError = "link " + m_strPath + ": " + std::strerror(errno);
        unlink(strTemporary.c_str());
        return false;
    }
    return true;
}

void CPortLink::Remove() {
    if (m_strPath.empty()) return;
    struct stat info {};
    if (lstat(m_strPath.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) unlink(m_strPath.c_str());
}

bool CPortLink::PointsTo(const std::string& strTarget) const {
    if (m_strPath.empty()) return false;
    char szTarget[4096];
    const ssize_t nLength = readlink(m_strPath.c_str(), szTarget, sizeof szTarget - 1);
    if (nLength < 0) return false;
    return std::string(szTarget, static_cast<size_t>(nLength)) == strTarget;
}
