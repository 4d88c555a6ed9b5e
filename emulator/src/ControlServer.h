#pragma once
#include <string>
#include <vector>

// The control channel: a TCP listener on 127.0.0.1 serving one client at a time (the newest) with
// "\n"-terminated requests. All I/O is non-blocking; responses wait in a buffer.
class CControlServer {
public:
    CControlServer() = default;
    ~CControlServer();
    CControlServer(const CControlServer&) = delete;
    CControlServer& operator=(const CControlServer&) = delete;

    bool Listen(int nPort, std::string& strError);
    int Port() const { return m_nPort; }
    bool IsListening() const { return m_hListen >= 0; }

    int ListenSocket() const { return m_hListen; }
    int ClientSocket() const { return m_hClient; }
    bool HasClient() const { return m_hClient >= 0; }

    void AcceptClient();
    // Takes what the client sent; complete lines are appended to aLines. A client that has
    // gone or sends an endless line is dropped.
    void ReadRequests(std::vector<std::string>& aLines);
    void QueueResponse(const std::string& strText);
    bool HasPendingResponse() const { return !m_strOutput.empty(); }
    void WriteResponses();

private:
    void DropClient();
    void TakeCompleteLines(std::vector<std::string>& aLines);

    int m_hListen = -1;
    int m_hClient = -1;
    int m_nPort = 0;
    std::string m_strInput;
    std::string m_strOutput;
};
