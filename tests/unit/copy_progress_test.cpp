#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "copy/CopyTally.h"
#include "copy/ProgressText.h"

TEST(Progress, TextsPercentAndTimeLeft) {
    const std::pair<std::string, std::string> texts[] = {
        {FormatText("%1 of %2 files", {"3", "7"}), "3 of 7 files"},
        {FormatText("%2, then %1", {"a", "b"}), "b, then a"},
        {FormatText("%1 and %3", {"a", "b"}), "a and %3"},  // a place without its argument stays
        {FormatText("%1", {"a", "b", "c"}), "a"},
        {FormatText("100% %0 %", {"a"}), "100% %0 %"},
        {FormatDuration(7), "0:07"},
        {FormatDuration(725), "12:05"},
        {FormatDuration(3723), "1:02:03"},
    };
    for (const auto& [got, expected] : texts) EXPECT_EQ(got, expected);

    const std::pair<long long, long long> numbers[] = {
        {PercentDone(50, 100, 0, 4), 50},
        {PercentDone(999, 1000, 3, 4), 99},  // whole percent, never rounded up to done
        {PercentDone(150, 100, 5, 4), 100},
        {PercentDone(0, 0, 1, 4), 25},  // no bytes at all: by files
        {PercentDone(0, 0, 0, 0), 0},
        {SecondsLeft(100, 1000, 1.5), -1},  // too early to tell
        {SecondsLeft(0, 1000, 10.0), -1},
        {SecondsLeft(250, 1000, 10.0), 30},
        {SecondsLeft(500, 1000, 12.0), 12},
        {SecondsLeft(900, 1000, 13.5), 2},
        {SecondsLeft(1000, 1000, 20.0), 0},
    };
    for (size_t i = 0; i < std::size(numbers); ++i) EXPECT_EQ(numbers[i].first, numbers[i].second) << "row " << i;
}

TEST(CopyTally, CountsFilesAndNamesWhatTheProgramLeft) {
    CCopyTally tally;
    tally.Reset(1);
    tally.AddFiles(2, 300);
    EXPECT_FALSE(tally.TotalsFinal());
    tally.AddFiles(1, 50);
    tally.TreeFound();
    EXPECT_TRUE(tally.TotalsFinal());
    tally.SetInFlight(40);
    EXPECT_EQ(tally.DoneBytes(), 40u);
    tally.Finish(FILE_COPIED, 100, "\\A.JPG");
    tally.Finish(FILE_DECLINED, 200, "\\B.JPG");
    tally.Finish(FILE_COPIED, 50, "\\C.JPG");
    tally.Finish(FILE_COPIED, 70, "\\D.JPG");  // a second listing showed one file more
    EXPECT_EQ(tally.TotalFiles(), 4u);
    EXPECT_EQ(tally.TotalBytes(), 420u);
    EXPECT_EQ(tally.DoneFiles(), 4u);
    EXPECT_EQ(tally.DoneBytes(), 420u);
    EXPECT_EQ(tally.CopiedBytes(), 220u);
    EXPECT_EQ(tally.Count(FILE_COPIED), 3u);

    for (int i = 0; i < 6; ++i) tally.Finish(i % 2 ? FILE_READ_FAILED : FILE_DISK_FULL, 1, "\\F" + std::to_string(i));
    tally.Finish(FILE_STOPPED, 1, "\\STOPPED");
    tally.FinishUnnamed(FILE_READ_FAILED, 3, 30);
    tally.FinishUnnamed(FILE_STOPPED, 2, 20);
    EXPECT_EQ(tally.LeftNames(), (std::vector<std::string>{"\\F0", "\\F1", "\\F2", "\\F3", "\\F4"}));
    EXPECT_EQ(tally.MoreLeft(), 4u) << "the sixth named one and the three unnamed";
    EXPECT_EQ(tally.LeftByProgram(), 9u);
    EXPECT_EQ(tally.Count(FILE_STOPPED), 3u);
    EXPECT_EQ(tally.DoneFiles(), 16u);

    tally.Reset(0);
    EXPECT_EQ(tally.DoneFiles() + tally.TotalFiles() + tally.LeftNames().size() + tally.MoreLeft(), 0u);
}

// The window reads the account while the copy writes it: what it reads is never ahead of the copy.
TEST(CopyTally, ReadWhileWrittenIsNeverAhead) {
    constexpr uint32_t kFiles = 2000000, kSize = 1000;
    CCopyTally tally;
    tally.Reset(0);
    tally.AddFiles(kFiles, uint64_t(kFiles) * kSize);
    std::atomic<bool> reading{false}, writing{true};
    std::atomic<long long> reads{0};
    long long ahead = 0;
    std::thread reader([&] {
        reading = true;
        while (writing) {
            const uint64_t bytes = tally.DoneBytes();
            const uint32_t files = tally.DoneFiles();  // read after: the copy is at least this far
            if (bytes > (uint64_t(files) + 1) * kSize) ++ahead;
            ++reads;
        }
    });
    while (!reading) std::this_thread::yield();
    // Until the account has been read often enough while it was written, even on one busy core.
    for (uint32_t i = 0; i < kFiles || reads < 10000; ++i) {
        tally.SetInFlight(kSize / 2);
        tally.SetInFlight(kSize);
        tally.Finish(FILE_COPIED, kSize, "");
    }
    writing = false;
    reader.join();
    EXPECT_EQ(ahead, 0);
}
