#include "framework/ImageList.h"

CImageList::CImageList() : m_hImageList(nullptr) {}

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    DeleteImageList();
    m_hImageList = ::ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return m_hImageList != nullptr;
}

int CImageList::Add(HICON hIcon) {
    if (m_hImageList == nullptr || hIcon == nullptr) return -1;
    return ::ImageList_ReplaceIcon(m_hImageList, -1, hIcon);
}

BOOL CImageList::DeleteImageList() {
    if (m_hImageList == nullptr) return FALSE;
    const BOOL bDone = ::ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return bDone;
}
