#pragma once
#include "framework/AfxWin.h"

// The application object: its start-up runs the main window modally and always reports failure,
// so the program ends when the window closes.
class CTransferApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
