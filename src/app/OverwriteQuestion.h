#pragma once
#include <windows.h>

#include <string>

#include "copy/CopyUser.h"
#include "res/ResourceIds.h"

// The question about a file already on the PC, with Yes, Yes to all, No and No to all in the
// words of the language module. Returns the pressed button's id: IDYES, IDNO, IDC_YES_TO_ALL or IDC_NO_TO_ALL.
int ShowOverwriteQuestion(HWND owner, HMODULE languageModule, const char* title, const std::string& text);
OverwriteAnswer OverwriteAnswerOf(int button);
