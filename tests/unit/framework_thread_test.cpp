// Worker threads started with AfxBeginThread.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/WinThread.h"

namespace {

struct WorkerJob {
    int nInput = 0;
    int nOutput = 0;
    DWORD dwThreadId = 0;
    HANDLE hDone = nullptr;
};

UINT DoubleInput(LPVOID pParam) {
    auto* pJob = static_cast<WorkerJob*>(pParam);
    pJob->nOutput = pJob->nInput * 2;
    pJob->dwThreadId = ::GetCurrentThreadId();
    ::SetEvent(pJob->hDone);
    return 17;
}

TEST(FrameworkThread, RunsTheFunctionWithItsParameterOnAnotherThread) {
    WorkerJob job;
    job.nInput = 21;
    job.hDone = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);

    CWinThread* pThread = AfxBeginThread(&DoubleInput, &job);

    ASSERT_NE(pThread, nullptr);
    ASSERT_EQ(::WaitForSingleObject(job.hDone, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(job.nOutput, 42);
    EXPECT_NE(job.dwThreadId, ::GetCurrentThreadId());
    ::CloseHandle(job.hDone);
}

TEST(FrameworkThread, AKeptThreadObjectCanBeWaitedFor) {
    WorkerJob job;
    job.nInput = 5;
    job.hDone = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);

    CWinThread* pThread =
        AfxBeginThread(&DoubleInput, &job, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    EXPECT_EQ(::WaitForSingleObject(job.hDone, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "a suspended thread ran";
    EXPECT_EQ(::GetThreadPriority(pThread->m_hThread), THREAD_PRIORITY_BELOW_NORMAL);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();

    ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 10000), WAIT_OBJECT_0);
    DWORD dwExitCode = 0;
    EXPECT_TRUE(::GetExitCodeThread(pThread->m_hThread, &dwExitCode));
    EXPECT_EQ(dwExitCode, 17u);
    EXPECT_EQ(job.nOutput, 10);
    EXPECT_EQ(job.dwThreadId, pThread->m_nThreadID);
    delete pThread;
    ::CloseHandle(job.hDone);
}

}  // namespace
