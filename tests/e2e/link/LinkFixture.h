#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EmulatorControl.h"
#include "Files.h"
#include "PacketLog.h"
#include "RecordingOwner.h"
#include "Waiting.h"
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
        const Outcome served = emulator.Serve(card.Path(), faults);
        ASSERT_TRUE(served) << served.why;
        link = std::make_unique<CPrinterLink>(&owner);
        ASSERT_EQ(link->Open("LPT1"), 1);
    }

    std::vector<unsigned char> AddFile(const std::string& relative, size_t size) {
        EXPECT_TRUE(card.AddFile(relative, size)) << relative;
        return card.Bytes(relative);
    }
    void AddFolder(const std::string& relative) { card.AddFolder(relative); }

    // Fetch writes a bare name into the current folder, as the window's standard part keeps it.
    void EnterFolder(const std::string& folder) {
        GetCurrentDirectoryA(sizeof(originalFolder), originalFolder);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    }

    EmulatorControl emulator;
    RecordingOwner owner;
    CCardFolder card;
    TempFolder destination;
    std::unique_ptr<CPrinterLink> link;
    char originalFolder[MAX_PATH] = ".";
};
