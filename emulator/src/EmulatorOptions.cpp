#include "EmulatorOptions.h"

#include <cerrno>
#include <cstdlib>

#include "ByteHex.h"

namespace {

const char HELP_TEXT[] =
    "Usage: brisling-emulator [options]\n"
    "\n"
    "Plays the photo printer on a pseudo-terminal. The PC side (Wine) opens the link path as\n"
    "its parallel port \"LPT1\" and talks the printer's escape commands SR, SC, IR, FO, FR.\n"
    "\n"
    "Port and control:\n"
    "  --link PATH            put a symlink to the pty slave at PATH (replaced atomically),\n"
    "                         e.g. ~/.wine-x/dosdevices/lpt1\n"
    "  --no-port              remove the link instead: the PC finds no printer port\n"
    "  --log FILE             append every packet and reply, in hex, to FILE\n"
    "  --control-port N       listen on 127.0.0.1:N for control requests (0 = any free port)\n"
    "  --port-file FILE       write the control port number to FILE once listening\n"
    "  --help                 show this text\n"
    "\n"
    "Card (one of, or none for an empty card):\n"
    "  --card-dir DIR         serve a host folder, names shown in 8.3 form\n"
    "  --card-image FILE      serve a FAT12/16/32 image file (entries in directory order)\n"
    "  --order ORDER          order of a host folder's entries: sorted (default), reversed,\n"
    "                         or shuffled[:SEED] (a fixed permutation per folder and seed)\n"
    "\n"
    "Faults (status bytes in hex, exchanges counted from 1 since start or reset):\n"
    "  --sr-status LIST       comma-separated status bytes for the successive SR 00 replies,\n"
    "                         then 00 (e.g. 01,01)\n"
    "  --sc-status LIST       the same for SC replies (e.g. 10,10,10 = not ready 3 times)\n"
    "  --fo-status LIST       the same for FO replies (e.g. ff = refused)\n"
    "  --ir-status HEX        status byte of every listing header (records still sent)\n"
    "  --fr-status HEX        status byte of every FR reply\n"
    "  --count-extra N        listing headers announce N more records than are sent\n"
    "  --inject-record FOLDER:NAMEHEX:ATTRHEX:SIZE\n"
    "                         add a raw record to FOLDER's listing: 11 name bytes as 22 hex\n"
    "                         digits, attributes in hex, size in decimal (repeatable)\n"
    "  --status N:HEX         at exchange N the reply's first (status) byte is HEX (repeatable;\n"
    "                         combines with the faults below)\n"
    "  --cut N:BYTES          at exchange N send only the first BYTES bytes of the reply\n"
    "  --split N:BYTES:MS     at exchange N send BYTES bytes, pause MS ms, then the rest\n"
    "  --silence N            at exchange N send nothing\n"
    "  --garbage N:HEX        at exchange N send these bytes instead of the reply\n"
    "  --extra N:HEX          at exchange N send the whole reply, then these bytes\n"
    "  --disconnect N[:BYTES] at exchange N send BYTES bytes (default 0), then close the pty\n"
    "                         and remove the link until the next reset\n"
    "  --rate BPS             send reply bytes no faster than BPS bytes per second (0 = no limit)\n"
    "\n"
    "Control requests (one line each, answered with one response):\n"
    "  reset<TAB>ARG<TAB>ARG...   replace card and faults with these options; clears the log,\n"
    "                             the exchange counter and pending bytes -> ok | error <message>\n"
    "  log                        the log lines since the last reset, then a line \".\"\n"
    "  quit                       answers ok and ends the emulator\n"
    "\n"
    "Log lines: \"> hex\" packet from the PC, \"< hex\" bytes sent, \"? hex\" garbage received,\n"
    "\"# text\" notes (faults applied, disconnects, dropped bytes).\n";

bool ParseUnsigned(const std::string& strText, uint64_t nMax, uint64_t& nValue) {
    if (strText.empty() || strText.size() > 20) return false;
    for (char c : strText) {
        if (c < '0' || c > '9') return false;
    }
    errno = 0;
    const unsigned long long nParsed = std::strtoull(strText.c_str(), nullptr, 10);
    if (errno != 0 || nParsed > nMax) return false;
    nValue = nParsed;
    return true;
}

std::vector<std::string> SplitOn(const std::string& strText, char cSeparator) {
    std::vector<std::string> aParts;
    size_t nStart = 0;
    for (;;) {
        const size_t nAt = strText.find(cSeparator, nStart);
        aParts.push_back(strText.substr(nStart, nAt - nStart));
        if (nAt == std::string::npos) break;
        nStart = nAt + 1;
    }
    return aParts;
}

bool ParseStatusList(const std::string& strText, std::vector<uint8_t>& aStatus) {
    aStatus.clear();
    if (strText.empty()) return true;
    for (const std::string& strPart : SplitOn(strText, ',')) {
        uint8_t nByte = 0;
        if (!ParseHexByte(strPart, nByte)) return false;
        aStatus.push_back(nByte);
    }
    return true;
}

bool ParseExchange(const std::string& strText, uint64_t& nExchange) {
    return ParseUnsigned(strText, UINT64_MAX, nExchange) && nExchange >= 1;
}

// FOLDER:NAMEHEX:ATTRHEX:SIZE, split from the right so the folder may hold anything.
bool ParseInjectedRecord(const std::string& strText, InjectedRecord& injected) {
    const size_t nSizeColon = strText.rfind(':');
    if (nSizeColon == std::string::npos || nSizeColon == 0) return false;
    const size_t nAttrColon = strText.rfind(':', nSizeColon - 1);
    if (nAttrColon == std::string::npos || nAttrColon == 0) return false;
    const size_t nNameColon = strText.rfind(':', nAttrColon - 1);
    if (nNameColon == std::string::npos) return false;
    std::vector<uint8_t> aName;
    if (!ParseHexBytes(strText.substr(nNameColon + 1, nAttrColon - nNameColon - 1), aName) ||
        aName.size() != SHORT_NAME_LENGTH) {
        return false;
    }
    uint64_t nSize = 0;
    if (!ParseHexByte(strText.substr(nAttrColon + 1, nSizeColon - nAttrColon - 1),
                      injected.m_record.m_nAttributes) ||
        !ParseUnsigned(strText.substr(nSizeColon + 1), UINT32_MAX, nSize)) {
        return false;
    }
    injected.m_folder = SplitCardPath(strText.substr(0, nNameColon));
    std::copy(aName.begin(), aName.end(), injected.m_record.m_name.begin());
    injected.m_record.m_nSize = static_cast<uint32_t>(nSize);
    injected.m_record.m_nOpaque = 0;
    return true;
}

bool ParseOrder(const std::string& strText, RecordOrder& order) {
    const std::vector<std::string> aParts = SplitOn(strText, ':');
    order = RecordOrder{};
    if (aParts[0] == "shuffled" && aParts.size() <= 2) {
        order.m_kind = RECORD_ORDER::SHUFFLED;
        return aParts.size() == 1 || ParseUnsigned(aParts[1], UINT64_MAX, order.m_nSeed);
    }
    if (aParts.size() != 1) return false;
    if (aParts[0] == "reversed") order.m_kind = RECORD_ORDER::REVERSED;
    return aParts[0] == "sorted" || aParts[0] == "reversed";
}

bool ParseExchangeFault(const std::string& strOption, const std::string& strText,
                        uint64_t& nExchange, ExchangeFault& fault) {
    const std::vector<std::string> aParts = SplitOn(strText, ':');
    if (!ParseExchange(aParts[0], nExchange)) return false;
    uint64_t nValue = 0;
    if (strOption == "--cut") {
        fault.m_kind = EXCHANGE_FAULT::CUT;
        if (aParts.size() != 2 || !ParseUnsigned(aParts[1], UINT32_MAX, nValue)) return false;
        fault.m_nBytes = static_cast<uint32_t>(nValue);
    } else if (strOption == "--split") {
        fault.m_kind = EXCHANGE_FAULT::SPLIT;
        if (aParts.size() != 3 || !ParseUnsigned(aParts[1], UINT32_MAX, nValue)) return false;
        fault.m_nBytes = static_cast<uint32_t>(nValue);
        if (!ParseUnsigned(aParts[2], 3600000, nValue)) return false;
        fault.m_nPauseMs = static_cast<uint32_t>(nValue);
    } else if (strOption == "--silence") {
        fault.m_kind = EXCHANGE_FAULT::SILENCE;
        if (aParts.size() != 1) return false;
    } else if (strOption == "--garbage" || strOption == "--extra") {
        fault.m_kind = strOption == "--extra" ? EXCHANGE_FAULT::EXTRA : EXCHANGE_FAULT::GARBAGE;
        if (aParts.size() != 2 || !ParseHexBytes(aParts[1], fault.m_aGarbage) ||
            fault.m_aGarbage.empty()) {
            return false;
        }
    } else {
        fault.m_kind = EXCHANGE_FAULT::DISCONNECT;
        if (aParts.size() > 2) return false;
        if (aParts.size() == 2) {
            if (!ParseUnsigned(aParts[1], UINT32_MAX, nValue)) return false;
            fault.m_nBytes = static_cast<uint32_t>(nValue);
        }
    }
    return true;
}

}  // namespace

const char* EmulatorHelpText() { return HELP_TEXT; }

bool ParseEmulatorOptions(const std::vector<std::string>& aArgs, bool bScenarioOnly,
                          EmulatorOptions& options, std::string& strError) {
    EmulatorOptions parsed;
    ScenarioOptions& scenario = parsed.m_scenario;
    for (size_t i = 0; i < aArgs.size(); ++i) {
        std::string strName = aArgs[i];
        std::string strValue;
        bool bHasValue = false;
        const size_t nEquals = strName.find('=');
        if (strName.rfind("--", 0) == 0 && nEquals != std::string::npos) {
            strValue = strName.substr(nEquals + 1);
            strName = strName.substr(0, nEquals);
            bHasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (bHasValue) return true;
            if (i + 1 >= aArgs.size()) {
                strError = strName + " needs a value";
                return false;
            }
            strValue = aArgs[++i];
            return true;
        };
        auto bad = [&](const char* pszWhat) {
            strError = "bad " + strName + " value \"" + strValue + "\" (" + pszWhat + ")";
            return false;
        };
        auto noValue = [&]() {
            if (!bHasValue) return true;
            strError = strName + " takes no value";
            return false;
        };

        uint64_t nValue = 0;
        if (strName == "--help" || strName == "-h") {
            if (bScenarioOnly) {
                strError = "--help is not a scenario option";
                return false;
            }
            if (!noValue()) return false;
            parsed.m_bHelp = true;
        } else if (strName == "--link") {
            if (!takeValue()) return false;
            parsed.m_strLink = strValue;
        } else if (strName == "--log") {
            if (!takeValue()) return false;
            parsed.m_strLogFile = strValue;
        } else if (strName == "--port-file") {
            if (!takeValue()) return false;
            parsed.m_strPortFile = strValue;
        } else if (strName == "--control-port") {
            if (!takeValue()) return false;
            if (!ParseUnsigned(strValue, 65535, nValue)) return bad("a port number 0..65535");
            parsed.m_nControlPort = static_cast<int>(nValue);
        } else if (strName == "--no-port") {
            if (!noValue()) return false;
            scenario.m_bNoPort = true;
        } else if (strName == "--card-dir") {
            if (!takeValue()) return false;
            scenario.m_strCardDir = strValue;
        } else if (strName == "--card-image") {
            if (!takeValue()) return false;
            scenario.m_strCardImage = strValue;
        } else if (strName == "--order") {
            if (!takeValue()) return false;
            if (!ParseOrder(strValue, scenario.m_order))
                return bad("sorted, reversed or shuffled[:SEED]");
        } else if (strName == "--status") {
            if (!takeValue()) return false;
            const std::vector<std::string> aParts = SplitOn(strValue, ':');
            uint64_t nExchange = 0;
            uint8_t nStatus = 0;
            if (aParts.size() != 2 || !ParseExchange(aParts[0], nExchange) ||
                !ParseHexByte(aParts[1], nStatus)) {
                return bad("N:HEX");
            }
            if (!scenario.m_mapStatusFaults.emplace(nExchange, nStatus).second) {
                strError = "two status bytes for exchange " + std::to_string(nExchange);
                return false;
            }
        } else if (strName == "--sr-status" || strName == "--sc-status" ||
                   strName == "--fo-status") {
            if (!takeValue()) return false;
            std::vector<uint8_t>& aList = strName == "--sr-status"   ? scenario.m_aSrStatus
                                          : strName == "--sc-status" ? scenario.m_aScStatus
                                                                     : scenario.m_aFoStatus;
            if (!ParseStatusList(strValue, aList)) return bad("comma-separated hex bytes");
        } else if (strName == "--ir-status" || strName == "--fr-status") {
            if (!takeValue()) return false;
            uint8_t& nStatus =
                strName == "--ir-status" ? scenario.m_nIrStatus : scenario.m_nFrStatus;
            if (!ParseHexByte(strValue, nStatus)) return bad("a hex byte");
        } else if (strName == "--count-extra") {
            if (!takeValue()) return false;
            if (!ParseUnsigned(strValue, 65535, nValue)) return bad("a count 0..65535");
            scenario.m_nCountExtra = static_cast<uint32_t>(nValue);
        } else if (strName == "--inject-record") {
            if (!takeValue()) return false;
            InjectedRecord injected;
            if (!ParseInjectedRecord(strValue, injected)) {
                return bad("FOLDER:NAMEHEX:ATTRHEX:SIZE with 22 name digits");
            }
            scenario.m_aInjected.push_back(injected);
        } else if (strName == "--cut" || strName == "--split" || strName == "--silence" ||
                   strName == "--garbage" || strName == "--extra" || strName == "--disconnect") {
            if (!takeValue()) return false;
            uint64_t nExchange = 0;
            ExchangeFault fault;
            if (!ParseExchangeFault(strName, strValue, nExchange, fault)) {
                return bad(strName == "--cut"       ? "N:BYTES"
                           : strName == "--split"   ? "N:BYTES:MS"
                           : strName == "--silence" ? "N"
                           : strName == "--garbage" || strName == "--extra" ? "N:HEX"
                                                    : "N[:BYTES]");
            }
            if (!scenario.m_mapExchangeFaults.emplace(nExchange, fault).second) {
                strError = "two faults for exchange " + std::to_string(nExchange);
                return false;
            }
        } else if (strName == "--rate") {
            if (!takeValue()) return false;
            if (!ParseUnsigned(strValue, 1000000000000ULL, nValue)) return bad("bytes per second");
            scenario.m_nRate = nValue;
        } else {
            strError = "unknown option \"" + aArgs[i] + "\"";
            return false;
        }
    }
    if (!scenario.m_strCardDir.empty() && !scenario.m_strCardImage.empty()) {
        strError = "--card-dir and --card-image exclude each other";
        return false;
    }
    if (!scenario.m_strCardImage.empty() && scenario.m_order.m_kind != RECORD_ORDER::SORTED) {
        strError = "--order is for --card-dir: an image keeps its own directory order";
        return false;
    }
    if (!bScenarioOnly && !parsed.m_strPortFile.empty() && parsed.m_nControlPort < 0) {
        strError = "--port-file needs --control-port";
        return false;
    }
    if (bScenarioOnly) {
        options.m_scenario = scenario;
    } else {
        options = parsed;
    }
    return true;
}
