#pragma once
#include <string>

// The symlink through which the PC finds the port (Wine's dosdevices/lpt1).
class CPortLink {
public:
    explicit CPortLink(std::string strPath) : m_strPath(std::move(strPath)) {}

    const std::string& Path() const { return m_strPath; }
    bool IsSet() const { return !m_strPath.empty(); }

    // Points the link at the target, replacing what is there in one step.
    bool PointTo(const std::string& strTarget, std::string& strError);
    // Removes the link; anything that is not a symlink is left alone.
    void Remove();
    // The link exists and points at this target.
    bool PointsTo(const std::string& strTarget) const;

private:
    std::string m_strPath;
};
