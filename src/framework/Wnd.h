// CWnd: a window object bound to one HWND through the framework's permanent handle map.
//
// A window is attached by subclassing: its window procedure is replaced with AfxWndProc, which
// hands every message to the object's virtual WindowProc. The default WindowProc offers the
// message to the message map and otherwise to the window's previous procedure (DefWindowProc).
// Inside classes derived from CWnd, the Win32 function that shares a member's name
// (DestroyWindow) needs the :: prefix.
#pragma once

#include <windows.h>

#include "framework/CmdTarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;

    BOOL DestroyWindow();

    // The object attached to hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Attaches this object to an existing window; FALSE when either is already attached.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Gives the window back its previous procedure and detaches it; returns the handle.
    HWND UnsubclassWindow();

    // Every message of the window passes here first.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled now (for handlers such as OnPaint).
    LRESULT Default();
    // Default processing of any message: the window's previous procedure.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Message map, then the framework's own default handling; TRUE when the message was taken.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A message the parent reflects back to the control it concerns (WM_DRAWITEM).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    WNDPROC m_pfnSuper;  // the window's procedure before it was attached

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam,
                                  LPARAM lParam);
    void FinishNcDestroy();
};

// The window procedure of every attached window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Hands one message to the object, keeping it as the current message for Default().
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
