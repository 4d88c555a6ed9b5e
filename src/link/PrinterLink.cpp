#include "link/PrinterLink.h"

#include <cstring>

#include "link/InstanceFlags.h"
#include "link/Port.h"

DWORD TransferChunkSize = 0;

DWORD ChooseTransferChunkSize(int keyboardClass, int osVersionClass) {
    return (keyboardClass == 0 && osVersionClass == 0) ? CHUNK_LARGE : CHUNK_SMALL;
}

CPrinterLink::CPrinterLink(CLinkOwner* linkOwner)
    : command(nullptr), port(nullptr), reply{}, cardPath{}, pcFileName{}, owner(linkOwner) {}

CPrinterLink::~CPrinterLink() {
    delete command;
    PortClose(port, portClaim);
}

int CPrinterLink::Open(const char* deviceName) {
    port = PortOpen(deviceName, &portClaim);
    if (port == INVALID_HANDLE_VALUE) {
        SetLinkBusy(0);
        return 0;
    }
    SetTimeouts(PORT_TIMEOUT_MS);
    command = new (std::nothrow) CLinkCommand;
    if (!command) {
        SetLinkBusy(0);
        return 0;
    }
    return 1;
}

int CPrinterLink::SetTimeouts(DWORD milliseconds) {
    PortSetTimeouts(port, milliseconds);
    return 1;
}

int CPrinterLink::SetCardPath(const char* path) {
    const size_t n = std::strlen(path);
    if (n >= sizeof(cardPath)) return 0;
    std::memcpy(cardPath, path, n + 1);
    return 1;
}

int CPrinterLink::SetPcFileName(const char* name) {
    const size_t n = std::strlen(name);
    if (n >= sizeof(pcFileName)) return 0;
    std::memcpy(pcFileName, name, n + 1);
    return 1;
}

void CPrinterLink::FailWithError(int textId, uint8_t code) {
    // The busy word is cleared first: the window may be waiting on it while it handles 3003.
    SetLinkBusy(0);
    if (textId) owner->SetLinkError(textId, code);
    owner->SendLinkCommand(CMD_LINK_ERROR);
}

int CPrinterLink::Handshake() {
    bool greeted = false;
    if (IsOpen() && command) {
        const DWORD length = command->BuildByte(CMD_SR, 0x00);
        for (int attempt = 0; attempt < 2 && !greeted && !owner->m_bClosing; ++attempt) {
            DWORD moved = 0;
            bool ok = PortWrite(port, command->GetBytes(), length, &moved) && moved == length;
            if (ok) {
                reply[0] = 0;
                Sleep(1000);  // the printer needs a moment before it answers the greeting
                ok = PortRead(port, reply, 1, &moved) && moved == 1;
            }
            if (!ok) {
                owner->m_bConnected = 0;
            } else if (reply[0] == 0x00) {
                owner->m_bConnected = 1;
                greeted = true;
            }
        }
    }
    SetLinkBusy(0);
    if (!greeted) {
        FailWithError(TEXT_NO_GREETING, 0);
        return 0;
    }
    return 1;
}

int CPrinterLink::PollStatus() {
    if (!IsOpen() || !command) {
        SetLinkBusy(0);
        return 0;
    }
    const DWORD length = command->BuildByte(CMD_SC, LINK_NO_ARGUMENT);
    while (!owner->m_bClosing) {
        DWORD moved = 0;
        const BOOL written = PortWrite(port, command->GetBytes(), length, &moved);
        if (!written) Sleep(1);
        bool ok = written && moved == length;
        reply[0] = reply[1] = 0;
        if (ok) ok = PortRead(port, reply, 2, &moved) && moved == 2;

        // A status that cannot be read is not reported: the listing follows all the same.
        if (!ok || reply[0] == 0x00) {
            SetLinkBusy(0);
            owner->PostLinkCommand(CMD_LIST_FOLDER);
            return ok ? 1 : 0;
        }
        if (reply[0] == 0x10) {
            char text[1024];
            owner->LoadModuleText(TEXT_NOT_READY, text, sizeof(text));
            if (owner->AskUser(text, MB_OKCANCEL) == IDOK) continue;
            FailWithError(0, 0);
            return 0;
        }
        FailWithError(TEXT_PRINTER_ERROR, reply[0]);
        return 0;
    }
    SetLinkBusy(0);
    return 0;
}

int CPrinterLink::Release() {
    if (!IsOpen() || !command) {
        SetLinkBusy(0);
        return 0;
    }
    const DWORD length = command->BuildByte(CMD_SR, 0xFF);
    DWORD moved = 0;
    if (!PortWrite(port, command->GetBytes(), length, &moved)) {
        Sleep(1);
        SetLinkBusy(0);
        return 0;
    }
    PortRead(port, reply, 1, &moved);
    SetLinkBusy(0);
    return 1;
}

UINT LinkWorkerProc(void* param) {
    SetLinkBusy(1);
    const LinkJob* job = static_cast<const LinkJob*>(param);
    CPrinterLink* link = job->link;
    switch (job->code) {
        case LINK_JOB_CONNECT:
            if (!link->Handshake()) return 0;
            link->PollStatus();
            break;
        case LINK_JOB_RELEASE:
            link->Release();
            break;
        case LINK_JOB_LIST:
            link->ListFolder();
            break;
        case LINK_JOB_FETCH:
            link->FetchFile();
            break;
        default:
            SetLinkBusy(0);
            break;
    }
    return 1;
}
