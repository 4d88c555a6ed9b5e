// CImageList: owns one image list of the common controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList();
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Images of cx x cy with the ILC_* flags, room for nInitial, growing by nGrow.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // Appends the icon; returns its index, or -1.
    int Add(HICON hIcon);
    BOOL DeleteImageList();
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    HIMAGELIST m_hImageList;
};
