// The control channel and the program's life: reset, log, quit, signals, options.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"

namespace {

bool Exists(const std::string& strPath) { return access(strPath.c_str(), F_OK) == 0; }

TEST(ControlChannel, ResetStartsTheExchangeCountAndStatusListsAgain) {
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({"--sc-status", "10", "--garbage", "2:aa"}));
    CPcPort port;
    ASSERT_TRUE(port.Open(emulator.LinkPath()));
    EXPECT_EQ(port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    EXPECT_EQ(port.Exchange(PacketSr(0x00), 1), Bytes{0xAA});
    EXPECT_EQ(port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));

    ASSERT_EQ(emulator.Reset({"--sc-status", "10", "--garbage", "2:aa"}), "ok");
    EXPECT_TRUE(emulator.Log().empty());
    EXPECT_EQ(port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    EXPECT_EQ(port.Exchange(PacketSr(0x00), 1), Bytes{0xAA});
    ASSERT_TRUE(emulator.WaitForLogLine("< aa"));
    EXPECT_EQ(emulator.Log().front(), "> 1b5343");

    // Nothing given: an empty card and no faults.
    ASSERT_EQ(emulator.Reset({}), "ok");
    EXPECT_EQ(port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));
    EXPECT_EQ(port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    EXPECT_EQ(port.Exchange(PacketIr("\\*.*"), 3), (Bytes{0x00, 0x00, 0x00}));
}

TEST(ControlChannel, ResetDropsPendingBytesInBothDirections) {
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({}));
    CPcPort port;
    ASSERT_TRUE(port.Open(emulator.LinkPath()));
    port.Send(PacketSr(0x00));
    ASSERT_TRUE(emulator.WaitForLogLine("< 00"));
    ASSERT_TRUE(WaitFor([&] { return port.Waiting() == 1; }, std::chrono::milliseconds(5000)));
    port.Send(Bytes{0x1B, 'S'});  // half a packet
    ASSERT_EQ(emulator.Reset({}), "ok");
    EXPECT_EQ(port.Waiting(), 0u);

    port.Send(Bytes{'R', 0x00});
    EXPECT_EQ(port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));
    ASSERT_TRUE(emulator.WaitForLogLine("< 0000"));
    EXPECT_EQ(emulator.Log(), (std::vector<std::string>{"? 5200", "> 1b5343", "< 0000"}));
}

TEST(ControlChannel, FailedResetAnswersErrorAndKeepsTheScenario) {
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({"--sc-status", "10,10"}));
    CPcPort port;
    ASSERT_TRUE(port.Open(emulator.LinkPath()));
    for (const std::vector<std::string>& aBad :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"--cut", "x"},
                                               {"--cut", "0:5"},
                                               {"--sc-status", "1g"},
                                               {"--inject-record", "\\:4142:10:0"},
                                               {"--silence", "3", "--cut", "3:1"},
                                               {"--card-dir", "/nonexistent/card"},
                                               {"--card-dir", "/tmp", "--card-image", "/tmp/x.img"},
                                               {"--help"}}) {
        const std::string strAnswer = emulator.Reset(aBad);
        EXPECT_EQ(strAnswer.rfind("error ", 0), 0u) << aBad[0] << " -> " << strAnswer;
    }
    EXPECT_EQ(port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    EXPECT_EQ(emulator.Request("frobnicate").rfind("error ", 0), 0u);
    EXPECT_EQ(emulator.Request("log extra").rfind("error ", 0), 0u);
}

TEST(ControlChannel, StartUpOptionsStayAsStartedOnReset) {
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({}));
    CTempDir other;
    ASSERT_EQ(emulator.Reset({"--link", other / "lpt1", "--log", other / "log", "--control-port",
                              "1", "--port-file", other / "port"}),
              "ok");
    EXPECT_FALSE(Exists(other / "lpt1"));
    EXPECT_FALSE(Exists(other / "log"));
    EXPECT_TRUE(Exists(emulator.LinkPath()));
}

TEST(ControlChannel, ResetSwitchesTheCard) {
    CTempDir dir;
    ASSERT_EQ(mkdir((dir / "one").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir / "two").c_str(), 0755), 0);
    WriteFileBytes(dir / "one/A.TXT", PatternBytes(1, 1));
    WriteFileBytes(dir / "two/B.TXT", PatternBytes(2, 2));
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({"--card-dir", dir / "one"}));
    CPcPort port;
    ASSERT_TRUE(port.Open(emulator.LinkPath()));
    std::vector<WireRecord> aRecords = port.List("\\*.*");
    ASSERT_EQ(aRecords.size(), 1u);
    EXPECT_EQ(aRecords[0].Name(), "A.TXT");
    EXPECT_EQ(port.Exchange(PacketFo("\\A.TXT"), 5)[0], 0x00);

    ASSERT_EQ(emulator.Reset({"--card-dir", dir / "two"}), "ok");
    // The file opened on the old card is closed with it.
    EXPECT_EQ(port.Exchange(PacketFr(1), 1), Bytes{0xFF});
    aRecords = port.List("\\*.*");
    ASSERT_EQ(aRecords.size(), 1u);
    EXPECT_EQ(aRecords[0].Name(), "B.TXT");

    if (HaveTool("mkfs.fat") && HaveTool("mcopy")) {
        RunCommand("mkfs.fat -F 12 -C '" + (dir / "card.img") + "' 1024 >/dev/null 2>&1");
        RunCommand("MTOOLS_SKIP_CHECK=1 mcopy -i '" + (dir / "card.img") + "' '" +
                   (dir / "one/A.TXT") + "' ::/C.TXT");
        ASSERT_EQ(emulator.Reset({"--card-image", dir / "card.img"}), "ok");
        aRecords = port.List("\\*.*");
        ASSERT_EQ(aRecords.size(), 1u);
        EXPECT_EQ(aRecords[0].Name(), "C.TXT");
    }
}

TEST(ControlChannel, ClientsMayComeAndGo) {
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({}));
    EXPECT_EQ(emulator.Request("log"), ".");
    emulator.DisconnectControl();
    ASSERT_TRUE(emulator.ConnectControl());
    EXPECT_EQ(emulator.Reset({"--sc-status", "10"}), "ok");
    emulator.DisconnectControl();
    ASSERT_TRUE(emulator.ConnectControl());
    EXPECT_EQ(emulator.Request("log"), ".");
}

TEST(ControlChannel, QuitAnswersOkEndsAndTakesTheLinkAway) {
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({}));
    ASSERT_TRUE(Exists(emulator.LinkPath()));
    EXPECT_EQ(emulator.Request("quit"), "ok");
    EXPECT_EQ(emulator.WaitForExit(std::chrono::milliseconds(10000)), 0);
    EXPECT_FALSE(Exists(emulator.LinkPath()));
}

TEST(ProgramLife, TerminationSignalEndsCleanlyAndTakesTheLinkAway) {
    for (int nSignal : {SIGTERM, SIGINT}) {
        CEmulatorProcess emulator;
        ASSERT_TRUE(emulator.Start({}, false));
        ASSERT_TRUE(Exists(emulator.LinkPath()));
        kill(emulator.Pid(), nSignal);
        EXPECT_EQ(emulator.WaitForExit(std::chrono::milliseconds(10000)), 0);
        EXPECT_FALSE(Exists(emulator.LinkPath()));
    }
}

TEST(ProgramLife, CommandLineScenarioHoldsForTheWholeRunWithoutControl) {
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({"--sc-status", "10", "--cut", "2:1"}, false));
    CPcPort port;
    ASSERT_TRUE(port.Open(emulator.LinkPath()));
    EXPECT_EQ(port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    port.Send(PacketSc());
    EXPECT_EQ(port.Receive(1), Bytes{0x00});
    // The PC closing its end and coming back finds the printer still there.
    port.Close();
    ASSERT_TRUE(port.Open(emulator.LinkPath()));
    EXPECT_EQ(port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    const Bytes aLog = ReadFileBytes(emulator.LogPath());
    EXPECT_NE(std::string(aLog.begin(), aLog.end()).find("# exchange 2: cut to 1 of 2 bytes\n"),
              std::string::npos);
}

TEST(ProgramLife, HelpDescribesEveryOptionAndBadOptionsAreRefused) {
    int nExit = -1;
    const std::string strHelp = RunCommand(std::string(EMULATOR_PROGRAM) + " --help", &nExit);
    EXPECT_EQ(nExit, 0);
    for (const char* pszOption :
         {"--link",      "--no-port",    "--log",         "--control-port",  "--port-file",
          "--card-dir",  "--card-image", "--sr-status",   "--sc-status",     "--fo-status",
          "--ir-status", "--fr-status",  "--count-extra", "--inject-record", "--cut",
          "--split",     "--silence",    "--garbage",     "--disconnect",    "--rate",
          "reset",       "log",          "quit"}) {
        EXPECT_NE(strHelp.find(pszOption), std::string::npos) << pszOption;
    }
    for (const std::string& strBad :
         {std::string("--bogus"), std::string("--rate"), std::string("--rate=fast"),
          std::string("--split 1:2"), std::string("--port-file /tmp/p")}) {
        const std::string strOutput =
            RunCommand(std::string(EMULATOR_PROGRAM) + " " + strBad + " 2>&1", &nExit);
        EXPECT_EQ(nExit, 2) << strBad;
        EXPECT_NE(strOutput.find("--help"), std::string::npos) << strOutput;
    }
}

}  // namespace
