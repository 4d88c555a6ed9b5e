#pragma once
#include <windows.h>

#include <string>

// The registry value HKLM "SOFTWARE\KESTREL\Brisling" "SetupPath" that names the install folder.
// The tests share the prefix's registry with the program, so the value is set or removed for one
// test and put back as it was when the object goes (keys created here are deleted again).
class CSetupPathValue {
public:
    CSetupPathValue();
    ~CSetupPathValue();
    CSetupPathValue(const CSetupPathValue&) = delete;
    CSetupPathValue& operator=(const CSetupPathValue&) = delete;

    bool Set(const std::string& strFolder);
    bool Remove();
    static bool Read(std::string* pFolder);  // false when the key or the value is missing

private:
    void RememberOriginal();

    bool m_bTouched;
    bool m_bHadValue;
    bool m_bHadProductKey;
    bool m_bHadMakerKey;
    std::string m_strOldValue;
};
