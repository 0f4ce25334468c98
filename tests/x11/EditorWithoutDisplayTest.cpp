// A host asks for the editor where no X server will have it: no DISPLAY, nothing listening,
// or a server that refuses the connection. The editor is not opened (effEditOpen answers 0)
// and the plug-in goes on processing. These tests need no display of their own.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "EditorHost.h"

namespace
{
// A window id as a host would pass it; nothing is behind it.
constexpr uint32_t kSomeWindow = 0x00400001;

// A loopback TCP port on which nothing listens (one the system just handed out and took back).
int FreePort()
{
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = -1;
  if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  close(probe);
  return port;
}

// Sets DISPLAY for one test and puts the old value back.
class DisplayVariable
{
public:
  explicit DisplayVariable(const char* value)
  {
    if (const char* old = std::getenv("DISPLAY")) mOld = old, mHadOld = true;
    value ? setenv("DISPLAY", value, 1) : unsetenv("DISPLAY");
  }
  ~DisplayVariable() { mHadOld ? setenv("DISPLAY", mOld.c_str(), 1) : unsetenv("DISPLAY"); }

private:
  std::string mOld;
  bool mHadOld = false;
};

// An X server on the loopback interface that answers every connection setup with
// "Failed", as a server does for a client it does not authorise.
class RefusingServer
{
public:
  RefusingServer()
  {
    mSocket = socket(AF_INET, SOCK_STREAM, 0);
    for (int display = 40; display < 100 && mDisplay < 0; ++display)
    {
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      address.sin_port = htons(uint16_t(6000 + display));
      if (bind(mSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(mSocket, 4) == 0)
        mDisplay = display;
    }
    if (mDisplay >= 0) mThread = std::thread([this] { Serve(); });
  }
  ~RefusingServer()
  {
    mStop = true;
    shutdown(mSocket, SHUT_RDWR);
    if (mThread.joinable()) mThread.join();
    close(mSocket);
  }
  // "127.0.0.1:N", or empty when no port was free.
  std::string Display() const { return mDisplay < 0 ? std::string() : "127.0.0.1:" + std::to_string(mDisplay); }
  int Refused() const { return mRefused; }

private:
  void Serve()
  {
    while (!mStop)
    {
      const int client = accept(mSocket, nullptr, nullptr);
      if (client < 0) return;
      char request[512];
      (void)read(client, request, sizeof request);
      // Failed, reason length 12, protocol 11.0, 3 words of reason.
      static const char reply[] = "\0\x0c\x0b\0\0\0\x03\0Not allowed.";
      (void)write(client, reply, sizeof reply - 1);
      close(client);
      ++mRefused;
    }
  }
  int mSocket = -1;
  int mDisplay = -1;
  std::atomic<bool> mStop{false};
  std::atomic<int> mRefused{0};
  std::thread mThread;
};

class EditorWithoutDisplayTest : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(module.EntryPoint()) << module.LoadError();
    ASSERT_NE(plug.Effect(), nullptr);
  }

  // The host asks for the editor, idles and closes it; audio runs before and after.
  void ExpectNoEditorButSound()
  {
    EXPECT_TRUE(plug.ProcessBlock());
    EXPECT_EQ(plug.OpenEditor(kSomeWindow), 0);
    EXPECT_EQ(plug.Idle(), 0);
    EXPECT_TRUE(plug.ProcessBlock());
    plug.SetParameter(0, 0.9f);
    EXPECT_NEAR(plug.Parameter(0), 0.9f, 1e-4f);
    EXPECT_TRUE(plug.ProcessBlock());
    plug.CloseEditor();
    EXPECT_TRUE(plug.ProcessBlock());
  }

  PluginModule module{BRINDLOW_PLUGIN};
  PluginInstance plug{module};
};
} // namespace

TEST_F(EditorWithoutDisplayTest, NoDisplayVariable)
{
  DisplayVariable none(nullptr);
  ExpectNoEditorButSound();
}

TEST_F(EditorWithoutDisplayTest, NothingListensAtTheDisplay)
{
  // A loopback port that was free a moment ago: the network stack refuses the connection.
  const int port = FreePort();
  ASSERT_GT(port, 6000);
  DisplayVariable nowhere(("127.0.0.1:" + std::to_string(port - 6000)).c_str());
  ExpectNoEditorButSound();
  DisplayVariable malformed("no display here");
  ExpectNoEditorButSound();
}

TEST_F(EditorWithoutDisplayTest, ServerRefusesTheConnection)
{
  RefusingServer server;
  ASSERT_FALSE(server.Display().empty()) << "no free loopback port for the test server";
  DisplayVariable refusing(server.Display().c_str());
  ExpectNoEditorButSound();
  ExpectNoEditorButSound();
  EXPECT_GE(server.Refused(), 1) << "the editor never asked the server";
}
