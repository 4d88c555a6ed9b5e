#include "SetupPathValue.h"

namespace {

constexpr const char* MAKER_KEY = "SOFTWARE\\KESTREL";
constexpr const char* PRODUCT_KEY = "SOFTWARE\\KESTREL\\Brisling";
constexpr const char* VALUE_NAME = "SetupPath";
// The program reads the view of its own build, 32 or 64 bits, which is this test's.
constexpr REGSAM VIEW = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

bool KeyExists(const char* pName) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pName, 0, KEY_READ | VIEW, &hKey) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(hKey);
    return true;
}

}  // namespace

CSetupPathValue::CSetupPathValue()
    : m_bTouched(false), m_bHadValue(false), m_bHadProductKey(false), m_bHadMakerKey(false) {}

CSetupPathValue::~CSetupPathValue() {
    if (!m_bTouched) return;
    if (m_bHadValue) {
        Set(m_strOldValue);
        return;
    }
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PRODUCT_KEY, 0, KEY_SET_VALUE | VIEW, &hKey) ==
        ERROR_SUCCESS) {
        RegDeleteValueA(hKey, VALUE_NAME);
        RegCloseKey(hKey);
    }
    if (!m_bHadProductKey) RegDeleteKeyExA(HKEY_LOCAL_MACHINE, PRODUCT_KEY, VIEW, 0);
    if (!m_bHadMakerKey) RegDeleteKeyExA(HKEY_LOCAL_MACHINE, MAKER_KEY, VIEW, 0);
}

void CSetupPathValue::RememberOriginal() {
    if (m_bTouched) return;
    m_bTouched = true;
    m_bHadMakerKey = KeyExists(MAKER_KEY);
    m_bHadProductKey = KeyExists(PRODUCT_KEY);
    m_bHadValue = Read(&m_strOldValue);
}

bool CSetupPathValue::Read(std::string* pFolder) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PRODUCT_KEY, 0, KEY_READ | VIEW, &hKey) !=
        ERROR_SUCCESS) {
        return false;
    }
    char value[1024] = "";
    DWORD dwSize = sizeof(value) - 1;
    DWORD dwType = 0;
    const bool bFound =
        RegQueryValueExA(hKey, VALUE_NAME, nullptr, &dwType, reinterpret_cast<BYTE*>(value),
                         &dwSize) == ERROR_SUCCESS &&
        dwType == REG_SZ;
    RegCloseKey(hKey);
    if (bFound) *pFolder = value;
    return bFound;
}

bool CSetupPathValue::Set(const std::string& strFolder) {
    RememberOriginal();
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, PRODUCT_KEY, 0, nullptr, 0, KEY_SET_VALUE | VIEW,
                        nullptr, &hKey, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool bDone = RegSetValueExA(hKey, VALUE_NAME, 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(strFolder.c_str()),
                                      static_cast<DWORD>(strFolder.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(hKey);
    return bDone;
}

bool CSetupPathValue::Remove() {
    RememberOriginal();
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PRODUCT_KEY, 0, KEY_SET_VALUE | VIEW, &hKey) !=
        ERROR_SUCCESS) {
        return true;
    }
    const LONG nResult = RegDeleteValueA(hKey, VALUE_NAME);
    RegCloseKey(hKey);
    return nResult == ERROR_SUCCESS || nResult == ERROR_FILE_NOT_FOUND;
}
