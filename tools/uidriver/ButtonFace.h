#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Which picture a picture button shows: EXIT/STOP (1008) and COPY (1002), each released or
// held down.
enum class ButtonFace { EXIT, EXIT_PRESSED, STOP, STOP_PRESSED, COPY, COPY_PRESSED, UNKNOWN };
const char* ButtonFaceName(ButtonFace face);

// Tells a button's face from what the screen shows: the button's area is read back from the
// display and compared with each picture as the program draws it (the language module's EXIT and
// STOP pictures stretched to the button, the program's COPY pictures), in the set the display's
// colour depth selects.
class CButtonFaceReader {
public:
    CButtonFaceReader(const std::string& strProgram, const std::string& strLanguageModule);
    ~CButtonFaceReader();
    CButtonFaceReader(const CButtonFaceReader&) = delete;
    CButtonFaceReader& operator=(const CButtonFaceReader&) = delete;

    bool IsReady() const { return m_aPictures.size() == 6; }
    ButtonFace Read(HWND hButton) const;

private:
    std::vector<std::pair<ButtonFace, HBITMAP>> m_aPictures;
};
