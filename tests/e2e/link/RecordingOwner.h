#pragma once
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "link/LinkOwner.h"

// Stands in for the main window: records every report of the link and answers its questions
// from a script, as a user would.
class RecordingOwner : public CLinkOwner {
public:
    struct Report {
        bool sent;  // SendMessage rather than PostMessage
        UINT id;
    };

    void SetLinkError(int nTextId, BYTE nCode) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        errorTextId = nTextId;
        errorCode = nCode;
    }
    void SendLinkCommand(UINT id) override { Record(true, id); }
    void PostLinkCommand(UINT id) override { Record(false, id); }
    int AskUser(const char* text, UINT type) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        questions.push_back(text);
        questionTypes.push_back(type);
        if (answers.empty()) return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void LoadModuleText(UINT id, char* buffer, int size) override {
        snprintf(buffer, size, "text %u", id);
    }
    const char* GetUiText(int slot) override {
        static const char* const texts[8] = {"title", "slot1", "slot2", "slot3",
                                             "slot4", "overwrite?", "slot6", "slot7"};
        return texts[slot];
    }
    std::string GetPathName() override { return pathName; }

    std::vector<Report> Reports() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return reports;
    }
    std::vector<UINT> Sent() { return Filter(true); }
    std::vector<UINT> Posted() { return Filter(false); }

    int errorTextId = 0;
    BYTE errorCode = 0;
    std::deque<int> answers;
    std::vector<std::string> questions;
    std::vector<UINT> questionTypes;
    std::string pathName = "C:\\*.*";

private:
    void Record(bool sent, UINT id) {
        std::lock_guard<std::mutex> lock(m_mutex);
        reports.push_back({sent, id});
    }
    std::vector<UINT> Filter(bool sent) {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<UINT> ids;
        for (const Report& r : reports) {
            if (r.sent == sent) ids.push_back(r.id);
        }
        return ids;
    }

    std::mutex m_mutex;
    std::vector<Report> reports;
};
