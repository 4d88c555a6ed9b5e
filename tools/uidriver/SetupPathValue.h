#pragma once
#include <windows.h>

#include <string>

// The registry value that names the install folder. The program and its drivers share the
// prefix's registry, so the value is set or removed for one run and put back as it was when the
// object goes (keys created here are deleted again).
class CSetupPathValue {
public:
    CSetupPathValue() = default;
    ~CSetupPathValue();
    CSetupPathValue(const CSetupPathValue&) = delete;
    CSetupPathValue& operator=(const CSetupPathValue&) = delete;

    bool Set(const std::string& strFolder);
    bool Remove();
    static bool Read(std::string* pFolder);  // false when the key or the value is missing

private:
    void RememberOriginal();

    bool m_bTouched = false;
    bool m_bHadValue = false;
    bool m_bHadProductKey = false;
    bool m_bHadMakerKey = false;
    std::string m_strOldValue;
};
