// Message maps in the MFC manner and the command target at their root.
//
// A class declares DECLARE_MESSAGE_MAP() and defines its map with
//     BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//         ON_WM_PAINT()
//         ON_BN_CLICKED(ID_GO, OnGo)
//     END_MESSAGE_MAP()
// Handlers are named bare, as in MFC 4 (OnGo, not &CMyDlg::OnGo). Each entry carries a small
// function that calls the member with the signature its macro stands for, so a handler with the
// wrong signature fails to compile instead of being called through a cast.
#pragma once

#include <windows.h>

#ifndef afx_msg
#define afx_msg
#endif

class CCmdTarget;

// One message as the map's handlers see it; a handler that takes it leaves its result here.
struct AFX_MSGCALL {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
};

// Calls the entry's member function; returns FALSE only when the handler declined the message
// (ON_COMMAND_EX), so that the search goes on.
using AFX_PMSGHANDLER = BOOL (*)(CCmdTarget* target, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message; 0 ends the map
    UINT nCode;     // WM_COMMAND notification code or WM_NOTIFY code
    UINT nID;       // first control or command id
    UINT nLastID;   // last control or command id
    AFX_PMSGHANDLER pfnHandler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null at the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Notification code of a command from a menu, an accelerator or a plain WM_COMMAND with lParam 0.
constexpr UINT CN_COMMAND = 0;

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Routes command nID with notification code nCode through the maps, most derived first.
    // TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Offers the message to the entries for (message, code, id), this class's map first, then its
    // bases'. For messages other than WM_COMMAND and WM_NOTIFY the code and id are not compared.
    BOOL DispatchToMessageMap(AFX_MSGCALL& call, UINT nCode, UINT nID);
};

// clang-format off
#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }             \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                             \
        using ThisClass [[maybe_unused]] = theClass;                                              \
        using TheBaseClass = baseClass;                                                           \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
            {0, 0, 0, 0, nullptr}};                                                               \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,                    \
                                              &messageEntries[0]};                                 \
        return &messageMap;                                                                        \
    }

// The body runs with this_ (the object, as the map's class) and call_ (the message).
// Commas inside the body must sit inside parentheses.
#define AFX_MSG_HANDLER(body)                                                                      \
    [](CCmdTarget* target_, AFX_MSGCALL& call_) -> BOOL {                                          \
        ThisClass* this_ = static_cast<ThisClass*>(target_);                                       \
        (void)call_;                                                                               \
        body                                                                                       \
    }

#define AFX_ENTRY(message, code, id, body)                                                         \
    {static_cast<UINT>(message), static_cast<UINT>(code), static_cast<UINT>(id),                   \
     static_cast<UINT>(id), AFX_MSG_HANDLER(body)},

// void memberFxn()
#define ON_BN_CLICKED(id, memberFxn)                                                               \
    AFX_ENTRY(WM_COMMAND, BN_CLICKED, id, this_->memberFxn(); return TRUE;)

// BOOL memberFxn(UINT nID): FALSE lets the routing look further.
#define ON_COMMAND_EX(id, memberFxn)                                                               \
    AFX_ENTRY(WM_COMMAND, CN_COMMAND, id,                                                          \
              return this_->memberFxn(static_cast<UINT>(LOWORD(call_.wParam))) ? TRUE : FALSE;)

// void memberFxn(NMHDR* pNMHDR, LRESULT* pResult); *pResult starts at 0.
#define ON_NOTIFY(code, id, memberFxn)                                                             \
    AFX_ENTRY(WM_NOTIFY, code, id,                                                                 \
              LRESULT result_ = 0;                                                                 \
              this_->memberFxn(reinterpret_cast<NMHDR*>(call_.lParam), &result_);                  \
              call_.result = result_;                                                              \
              return TRUE;)

// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                                             \
    AFX_ENTRY(message, 0, 0,                                                                       \
              call_.result = this_->memberFxn(call_.wParam, call_.lParam);                         \
              return TRUE;)

// void OnPaint()
#define ON_WM_PAINT()                                                                              \
    AFX_ENTRY(WM_PAINT, 0, 0, this_->OnPaint(); return TRUE;)

// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                                      \
    AFX_ENTRY(WM_QUERYDRAGICON, 0, 0,                                                              \
              call_.result = reinterpret_cast<LRESULT>(this_->OnQueryDragIcon());                  \
              return TRUE;)

// void OnDestroy()
#define ON_WM_DESTROY()                                                                            \
    AFX_ENTRY(WM_DESTROY, 0, 0, this_->OnDestroy(); return TRUE;)

// void OnContextMenu(HWND hWndClicked, POINT ptScreen)
#define ON_WM_CONTEXTMENU()                                                                        \
    AFX_ENTRY(WM_CONTEXTMENU, 0, 0,                                                                \
              POINT pt_;                                                                           \
              pt_.x = static_cast<short>(LOWORD(call_.lParam));                                    \
              pt_.y = static_cast<short>(HIWORD(call_.lParam));                                    \
              this_->OnContextMenu(reinterpret_cast<HWND>(call_.wParam), pt_);                     \
              return TRUE;)
// clang-format on
