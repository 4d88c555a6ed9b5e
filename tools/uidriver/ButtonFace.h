#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Which of its picture pairs the EXIT/STOP button shows.
enum class ButtonFace { EXIT, STOP, UNKNOWN };
const char* ButtonFaceName(ButtonFace face);

// Tells the face of the EXIT/STOP button from what the screen shows: the button's area is read
// back from the display and compared with the language module's EXIT and STOP pictures, each
// stretched to the button as the program stretches it. The pictures come from the installed
// module, in the set the display's colour depth selects.
class CButtonFaceReader {
public:
    explicit CButtonFaceReader(const std::string& strLanguageModule);
    ~CButtonFaceReader();
    CButtonFaceReader(const CButtonFaceReader&) = delete;
    CButtonFaceReader& operator=(const CButtonFaceReader&) = delete;

    bool IsReady() const { return !m_aPictures.empty(); }
    ButtonFace Read(HWND hButton) const;

private:
    struct Picture {
        ButtonFace face;
        HBITMAP hBitmap;
    };
    std::vector<Picture> m_aPictures;
};
