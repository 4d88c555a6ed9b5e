#include "app/OverwriteQuestion.h"

#include "app/LanguageModule.h"

namespace {
struct Question {
    HMODULE module;
    const char* title;
    const char* text;
};

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* question = reinterpret_cast<const Question*>(lParam);
        ::SetWindowTextA(dialog, question->title);
        ::SetDlgItemTextA(dialog, IDC_QUESTION_TEXT, question->text);
        ::SendDlgItemMessageA(dialog, IDC_QUESTION_ICON, STM_SETICON,
                              reinterpret_cast<WPARAM>(::LoadIconA(nullptr, IDI_QUESTION)), 0);
        const std::pair<int, UINT> buttons[] = {{IDYES, TEXT_BUTTON_YES},
                                                {IDC_YES_TO_ALL, TEXT_BUTTON_YES_TO_ALL},
                                                {IDNO, TEXT_BUTTON_NO},
                                                {IDC_NO_TO_ALL, TEXT_BUTTON_NO_TO_ALL}};
        for (const auto& [id, textId] : buttons) {
            char label[64] = {};
            if (question->module && ::LoadStringA(question->module, textId, label, sizeof(label)) > 0)
                ::SetDlgItemTextA(dialog, id, label);
        }
        return TRUE;
    }
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDYES || id == IDNO || id == IDC_YES_TO_ALL || id == IDC_NO_TO_ALL) ::EndDialog(dialog, id);
        if (id == IDCANCEL) ::EndDialog(dialog, IDNO);  // Esc keeps the file, as No does
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int ShowOverwriteQuestion(HWND owner, HMODULE languageModule, const char* title, const std::string& text) {
    Question question = {languageModule, title, text.c_str()};
    const INT_PTR pressed = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OVERWRITE_QUESTION),
                                              owner, QuestionProc, reinterpret_cast<LPARAM>(&question));
    return pressed > 0 ? static_cast<int>(pressed) : IDNO;
}

OverwriteAnswer OverwriteAnswerOf(int button) {
    switch (button) {
        case IDYES:
            return OVERWRITE_YES;
        case IDC_YES_TO_ALL:
            return OVERWRITE_YES_TO_ALL;
        case IDC_NO_TO_ALL:
            return OVERWRITE_NO_TO_ALL;
        default:
            return OVERWRITE_NO;
    }
}
