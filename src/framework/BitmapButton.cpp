#include "framework/BitmapButton.h"

#include <string>

#include "framework/WinApp.h"

namespace {

HBITMAP LoadNamedBitmap(const char* lpszName, bool* pAllLoaded) {
    if (lpszName == nullptr) return nullptr;
    HBITMAP hBitmap = ::LoadBitmapA(AfxGetResourceHandle(), lpszName);
    if (hBitmap == nullptr) *pAllLoaded = false;
    return hBitmap;
}

}  // namespace

CBitmapButton::CBitmapButton() : m_hBitmap(nullptr), m_hBitmapSel(nullptr) {}

CBitmapButton::~CBitmapButton() { DeleteBitmaps(); }

void CBitmapButton::DeleteBitmaps() {
    for (HBITMAP* phBitmap : {&m_hBitmap, &m_hBitmapSel}) {
        if (*phBitmap != nullptr) ::DeleteObject(*phBitmap);
        *phBitmap = nullptr;
    }
}

BOOL CBitmapButton::AutoLoad(UINT nID, CWnd* pParent) {
    if (!SubclassDlgItem(nID, pParent)) return FALSE;
    char szCaption[256] = {};
    ::GetWindowTextA(m_hWnd, szCaption, sizeof(szCaption));
    const std::string name = szCaption;
    // Only the released picture is required.
    LoadBitmaps((name + "U").c_str(), (name + "D").c_str());
    if (m_hBitmap == nullptr) return FALSE;
    SizeToContent();
    return TRUE;
}

BOOL CBitmapButton::LoadBitmaps(const char* lpszUp, const char* lpszDown) {
    DeleteBitmaps();
    bool bAllLoaded = true;
    m_hBitmap = LoadNamedBitmap(lpszUp, &bAllLoaded);
    m_hBitmapSel = LoadNamedBitmap(lpszDown, &bAllLoaded);
    return m_hBitmap != nullptr && bAllLoaded;
}

void CBitmapButton::SizeToContent() {
    BITMAP bitmap;
    if (m_hWnd == nullptr || m_hBitmap == nullptr ||
        ::GetObjectA(m_hBitmap, sizeof(bitmap), &bitmap) == 0)
        return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, bitmap.bmWidth, bitmap.bmHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    const UINT state = lpDrawItemStruct->itemState;
    HBITMAP hBitmap = m_hBitmap;
    if ((state & ODS_SELECTED) != 0 && m_hBitmapSel != nullptr)
        hBitmap = m_hBitmapSel;
    if (hBitmap == nullptr) return;

    HDC hDC = lpDrawItemStruct->hDC;
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    if (hMemDC == nullptr) return;
    HGDIOBJ hOldBitmap = ::SelectObject(hMemDC, hBitmap);
    const RECT& rect = lpDrawItemStruct->rcItem;
    ::BitBlt(hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hMemDC, 0, 0,
             SRCCOPY);
    ::SelectObject(hMemDC, hOldBitmap);
    ::DeleteDC(hMemDC);
}

BOOL CBitmapButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *pResult = TRUE;
    return TRUE;
}
