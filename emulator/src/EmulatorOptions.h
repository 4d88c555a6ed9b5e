#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "CardPath.h"
#include "CardRecord.h"
#include "RecordOrder.h"

// What one exchange (counted from 1 since the last reset) does instead of its normal reply.
enum class EXCHANGE_FAULT { CUT, SPLIT, SILENCE, GARBAGE, EXTRA, DISCONNECT };

struct ExchangeFault {
    EXCHANGE_FAULT m_kind = EXCHANGE_FAULT::CUT;
    uint32_t m_nBytes = 0;    // cut, split and disconnect: reply bytes sent (first part)
    uint32_t m_nPauseMs = 0;  // split: pause before the rest
    std::vector<uint8_t> m_aGarbage;  // garbage: sent instead of the reply; extra: after it
};

// A raw record added to a folder's listing, for hostile names.
struct InjectedRecord {
    CardFolder m_folder;
    CardRecord m_record;
};

// Everything a scenario may choose: the card and the faults. A control "reset" replaces all of it.
struct ScenarioOptions {
    std::string m_strCardDir;
    std::string m_strCardImage;
    RecordOrder m_order;               // of a host-folder card; an image keeps its directory order
    std::vector<uint8_t> m_aSrStatus;  // successive replies to SR 00, then 00
    std::vector<uint8_t> m_aScStatus;
    std::vector<uint8_t> m_aFoStatus;
    uint8_t m_nIrStatus = 0;
    uint8_t m_nFrStatus = 0;
    uint32_t m_nCountExtra = 0;
    std::vector<InjectedRecord> m_aInjected;
    std::map<uint64_t, ExchangeFault> m_mapExchangeFaults;
    std::map<uint64_t, uint8_t> m_mapStatusFaults;  // exchange -> first byte of its reply
    uint64_t m_nRate = 0;                           // reply bytes per second, 0 = unlimited
    bool m_bNoPort = false;
};

struct EmulatorOptions {
    std::string m_strLink;
    std::string m_strLogFile;
    std::string m_strPortFile;
    int m_nControlPort = -1;  // -1: no control channel
    bool m_bHelp = false;
    ScenarioOptions m_scenario;
};

// Parses command-line style arguments ("--name value" or "--name=value"). With bScenarioOnly
// (a control reset) the start-up options --link, --log, --control-port and --port-file are
// accepted and ignored, since they stay as started, and --help is refused.
bool ParseEmulatorOptions(const std::vector<std::string>& aArgs, bool bScenarioOnly,
                          EmulatorOptions& options, std::string& strError);

const char* EmulatorHelpText();
