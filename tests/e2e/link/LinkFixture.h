#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EmulatorControl.h"
#include "RecordingOwner.h"
#include "TestSupport.h"
#include "link/InstanceFlags.h"
#include "link/PrinterLink.h"

// A link on the prefix's LPT1 to the emulator, which serves a card from a fresh folder.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EmulatorControl::Available()) << "run under scripts/test-env.sh";
        ASSERT_TRUE(emulator.Connected());
        TransferChunkSize = CHUNK_SMALL;
    }
    void TearDown() override {
        link.reset();
        SetCurrentDirectoryA(originalFolder);
    }

    // Starts the emulator on the card with the given faults and opens the port.
    void Start(const std::vector<std::string>& faults = {}) {
        std::vector<std::string> arguments = {"--card-dir", ToUnixPath(card.Path())};
        arguments.insert(arguments.end(), faults.begin(), faults.end());
        ASSERT_EQ(emulator.Reset(arguments), "");
        link = std::make_unique<CPrinterLink>(&owner);
        ASSERT_EQ(link->Open("LPT1"), 1);
    }

    std::vector<unsigned char> AddFile(const std::string& relative, size_t size, unsigned seed = 1) {
        const std::string path = card / relative;
        MakeFolders(path.substr(0, path.find_last_of('\\')));
        std::vector<unsigned char> bytes = PatternBytes(size, seed);
        EXPECT_TRUE(WriteBytes(path, bytes));
        return bytes;
    }
    void AddFolder(const std::string& relative) { MakeFolders(card / relative); }

    // Fetch writes a bare name into the current folder, as the window's standard part keeps it.
    void EnterFolder(const std::string& folder) {
        GetCurrentDirectoryA(sizeof(originalFolder), originalFolder);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    }

    std::vector<std::string> PacketsStartingWith(const std::string& prefix) {
        std::vector<std::string> found;
        for (const std::string& p : emulator.Packets()) {
            if (p.rfind(prefix, 0) == 0) found.push_back(p);
        }
        return found;
    }

    EmulatorControl emulator;
    RecordingOwner owner;
    TempFolder card;
    TempFolder destination;
    std::unique_ptr<CPrinterLink> link;
    char originalFolder[MAX_PATH] = ".";
};

constexpr const char* SR_GREETING = "1b535200";
constexpr const char* SC_PACKET = "1b5343";
constexpr const char* FO_PREFIX = "1b464f";
constexpr const char* FR_PREFIX = "1b4652";
