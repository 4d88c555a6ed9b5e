#pragma once
#include <windows.h>

// Ends the modal loop running on this thread when it is still running at the deadline, whatever
// state the dialog is in (a quit message ends every modal loop).
class ModalDeadline {
public:
    explicit ModalDeadline(UINT nMilliseconds)
        : m_nTimer(::SetTimer(nullptr, 0, nMilliseconds, &Expire)) {
        s_bExpired = false;
    }
    ~ModalDeadline() {
        ::KillTimer(nullptr, m_nTimer);
        MSG msg;
        if (s_bExpired) ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    ModalDeadline(const ModalDeadline&) = delete;
    ModalDeadline& operator=(const ModalDeadline&) = delete;
    bool Expired() const { return s_bExpired; }

private:
    static void CALLBACK Expire(HWND, UINT, UINT_PTR, DWORD) {
        s_bExpired = true;
        ::PostQuitMessage(0);
    }
    static inline bool s_bExpired = false;
    UINT_PTR m_nTimer;
};
