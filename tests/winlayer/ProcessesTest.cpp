#include "winlayer/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

constexpr int kStdin = 0;
constexpr int kStdout = 1;
constexpr int kStderr = 2;

// Reads until count bytes came or the stream ended.
std::string ReadExactly(HANDLE process, int stream, std::size_t count) {
    std::string text;
    char buffer[65536];
    while (text.size() < count) {
        const int got = WISP_ReadWriteProcessIO(process, stream, buffer, sizeof buffer);
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

class Process {
public:
    Process(const char* path, std::initializer_list<const char*> arguments, BOOL pipes)
        : m_arguments(arguments),
          m_handle(WISP_CreateProcessIO(path, static_cast<int>(m_arguments.size()),
                                        m_arguments.data(), pipes)) {}
    ~Process() {
        if (m_handle) {
            WISP_TerminateProcess(m_handle);
            WaitForSingleObject(m_handle, INFINITE);
            CloseHandle(m_handle);
        }
    }
    HANDLE Get() const { return m_handle; }

private:
    std::vector<const char*> m_arguments;
    HANDLE m_handle;
};

TEST(ProcessTest, CatEchoesThroughThePipes) {
    Process cat("/bin/cat", {}, TRUE);
    ASSERT_NE(cat.Get(), nullptr);
    EXPECT_EQ(WISP_GetProcessExitCode(cat.Get()), -3);
    char nothing[8];
    EXPECT_EQ(WISP_ReadWriteProcessIO(cat.Get(), kStdout | WISP_PROCESS_IO_NONBLOCKING, nothing,
                                      sizeof nothing),
              0);
    EXPECT_EQ(WISP_ReadWriteProcessIO(cat.Get(), kStdin, const_cast<char*>("hello\n"), 6), 6);
    EXPECT_EQ(ReadExactly(cat.Get(), kStdout, 6), "hello\n");
    EXPECT_EQ(WaitForSingleObject(cat.Get(), 0), WAIT_TIMEOUT);
    EXPECT_EQ(WISP_TerminateProcess(cat.Get()), 0);
    EXPECT_EQ(WaitForSingleObject(cat.Get(), INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WISP_GetProcessExitCode(cat.Get()), 15) << "killed by SIGTERM";
}

TEST(ProcessTest, LargeWritesCompleteAcrossPartialWrites) {
    Process cat("/bin/cat", {}, TRUE);
    ASSERT_NE(cat.Get(), nullptr);
    const std::string sent(1 << 20, 'x');
    std::string echoed;
    std::thread reader([&] { echoed = ReadExactly(cat.Get(), kStdout, sent.size()); });
    EXPECT_EQ(WISP_ReadWriteProcessIO(cat.Get(), kStdin, const_cast<char*>(sent.data()),
                                      static_cast<int>(sent.size())),
              static_cast<int>(sent.size()));
    reader.join();
    EXPECT_EQ(echoed.size(), sent.size());
}

TEST(ProcessTest, ExitCodesAndStandardError) {
    {
        Process failing("/bin/false", {}, FALSE);
        ASSERT_NE(failing.Get(), nullptr);
        EXPECT_EQ(WaitForSingleObject(failing.Get(), INFINITE), WAIT_OBJECT_0);
        EXPECT_EQ(WISP_GetProcessExitCode(failing.Get()), 1);
    }
    Process listing("/bin/ls", {"/nonexistent-winlayer-path"}, TRUE);
    ASSERT_NE(listing.Get(), nullptr);
    EXPECT_FALSE(ReadExactly(listing.Get(), kStderr, 1 << 16).empty());
    EXPECT_EQ(WaitForSingleObject(listing.Get(), INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WISP_GetProcessExitCode(listing.Get()), 2);
}

TEST(ProcessTest, WritingToAnExitedChildAnswersZero) {
    Process done("/bin/true", {}, TRUE);
    ASSERT_NE(done.Get(), nullptr);
    ASSERT_EQ(WaitForSingleObject(done.Get(), INFINITE), WAIT_OBJECT_0);
    // Without protection the broken pipe would end this program with SIGPIPE.
    EXPECT_EQ(WISP_ReadWriteProcessIO(done.Get(), kStdin, const_cast<char*>("lost"), 4), 0);
}

TEST(ProcessTest, RefusalsAnswerNullOrMinusOne) {
    EXPECT_EQ(WISP_CreateProcess("/nonexistent/program", 0, nullptr), nullptr);
    EXPECT_EQ(WISP_CreateProcess(nullptr, 0, nullptr), nullptr);
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE);
    EXPECT_EQ(WISP_GetProcessExitCode(event), -1);
    EXPECT_EQ(WISP_TerminateProcess(nullptr), -1);
    char buffer[4];
    EXPECT_EQ(WISP_ReadWriteProcessIO(event, kStdout, buffer, 4), 0);
    CloseHandle(event);
    Process noPipes("/bin/true", {}, FALSE);
    EXPECT_EQ(WISP_ReadWriteProcessIO(noPipes.Get(), kStdout, buffer, 4), 0);
}

} // namespace
