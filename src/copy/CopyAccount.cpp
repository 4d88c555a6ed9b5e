#include "copy/CopyAccount.h"

#include <shlwapi.h>

#include "app/LanguageModule.h"
#include "copy/ProgressText.h"

static_assert(TEXT_COPIED_OF_AT_LEAST >= TEXT_LEFT_DECLINED + FILE_OUTCOME_COUNT - FILE_DECLINED,
              "the end texts and the outcome lines share no id");

std::string CountText(uint64_t value) { return std::to_string(value); }

std::string BytesText(uint64_t value) {
    char text[64] = {};
    ::StrFormatByteSize64A(static_cast<LONGLONG>(value), text, sizeof(text));
    return text;
}

std::string CopyProgressLine(uint32_t doneFiles, uint32_t totalFiles, uint64_t doneBytes, uint64_t totalBytes,
                             bool totalsFinal, bool shortForm, const ModuleTexts& text) {
    if (!totalsFinal) return FormatText(text(TEXT_PROGRESS_COUNTING), {CountText(doneFiles), CountText(totalFiles)});
    if (shortForm) return FormatText(text(TEXT_PROGRESS_SHORT), {CountText(doneFiles), CountText(totalFiles)});
    return FormatText(text(TEXT_PROGRESS), {CountText(doneFiles), CountText(totalFiles), BytesText(doneBytes),
                                            BytesText(totalBytes)});
}

std::string CopyEndLine(const CCopyTally& tally, bool stopped, const ModuleTexts& text) {
    const uint32_t copied = tally.Count(FILE_COPIED);
    const std::string total = CountText(tally.TotalFiles());
    // A stopped copy never reads as if all had arrived; one that could not find every file says
    // its total is a least one.
    if (!tally.Complete()) return FormatText(text(TEXT_COPIED_OF_AT_LEAST), {CountText(copied), total});
    if (copied == tally.TotalFiles() && !stopped) {
        if (copied == 1) return FormatText(text(TEXT_COPIED_ONE), {BytesText(tally.CopiedBytes())});
        return FormatText(text(TEXT_COPIED_ALL), {CountText(copied), BytesText(tally.CopiedBytes())});
    }
    if (tally.Count(FILE_DECLINED) > 0) {
        return FormatText(text(TEXT_COPIED_SOME_ALREADY_THERE),
                          {CountText(copied), total, CountText(tally.Count(FILE_DECLINED))});
    }
    return FormatText(text(TEXT_COPIED_SOME), {CountText(copied), total});
}

std::string CopyReport(const CCopyTally& tally, const ModuleTexts& text) {
    if (tally.LeftByProgram() == 0) return "";
    const uint32_t total = tally.TotalFiles();
    const std::string left = CountText(total - tally.Count(FILE_COPIED));
    std::string report = tally.Complete() ? FormatText(text(TEXT_REPORT_HEADER), {left, CountText(total)})
                                          : FormatText(text(TEXT_REPORT_HEADER_AT_LEAST), {left});
    for (int outcome = FILE_DECLINED; outcome < FILE_OUTCOME_COUNT; ++outcome) {
        const uint32_t count = tally.Count(static_cast<FileOutcome>(outcome));
        if (count == 0) continue;
        report += "\n" + FormatText(text(TEXT_LEFT_DECLINED + outcome - FILE_DECLINED), {CountText(count)});
    }
    report += "\n\n" + text(TEXT_REPORT_NAMES);
    for (const std::string& name : tally.LeftNames()) report += "\n" + name;
    if (tally.MoreLeft() > 0) report += "\n" + FormatText(text(TEXT_REPORT_MORE), {CountText(tally.MoreLeft())});
    return report;
}
