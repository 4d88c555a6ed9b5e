#include "SetupPathValue.h"

#include "app/LanguageModule.h"

namespace {

constexpr const char* MAKER_KEY = "SOFTWARE\\KESTREL";

bool KeyExists(const char* pName) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pName, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    RegCloseKey(hKey);
    return true;
}

}  // namespace

// The registry view is the driver's own, which is the one a program of the same build reads.
CSetupPathValue::~CSetupPathValue() {
    if (!m_bTouched) return;
    if (m_bHadValue) {
        Set(m_strOldValue);
        return;
    }
    Remove();
    if (!m_bHadProductKey) RegDeleteKeyA(HKEY_LOCAL_MACHINE, INSTALL_KEY);
    if (!m_bHadMakerKey) RegDeleteKeyA(HKEY_LOCAL_MACHINE, MAKER_KEY);
}

void CSetupPathValue::RememberOriginal() {
    if (m_bTouched) return;
    m_bTouched = true;
    m_bHadMakerKey = KeyExists(MAKER_KEY);
    m_bHadProductKey = KeyExists(INSTALL_KEY);
    m_bHadValue = Read(&m_strOldValue);
}

bool CSetupPathValue::Read(std::string* pFolder) {
    char value[1024] = "";
    DWORD dwSize = sizeof(value) - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, INSTALL_KEY, INSTALL_VALUE, RRF_RT_REG_SZ, nullptr, value,
                     &dwSize) != ERROR_SUCCESS) {
        return false;
    }
    *pFolder = value;
    return true;
}

bool CSetupPathValue::Set(const std::string& strFolder) {
    RememberOriginal();
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, INSTALL_KEY, INSTALL_VALUE, REG_SZ,
                           strFolder.c_str(),
                           static_cast<DWORD>(strFolder.size() + 1)) == ERROR_SUCCESS;
}

bool CSetupPathValue::Remove() {
    RememberOriginal();
    const LONG nResult = RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, INSTALL_KEY, INSTALL_VALUE);
    return nResult == ERROR_SUCCESS || nResult == ERROR_FILE_NOT_FOUND;
}
