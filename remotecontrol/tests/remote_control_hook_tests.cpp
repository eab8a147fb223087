// The library's code in this process, with a played HID device in place of the
// raw-input queries, and a listening top-level window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "broadcast_listener.h"
#include "remote_control_hook.h"

namespace {

// --- the played device ------------------------------------------------------

struct PlayedDevice {
  bool describable = true;  // false: the device query fails
  DWORD vendor = 0, product = 0;
};

struct PlayedInput {
  DWORD type = RIM_TYPEHID;
  HANDLE device = nullptr;
  DWORD reportSize = 0, reportCount = 1;
  std::vector<BYTE> data;
  bool readable = true;
};

std::map<HANDLE, PlayedDevice> g_devices;
std::vector<PlayedInput> g_inputs;  // the raw-input handle is the index + 1
int g_headerSizeErrors = 0;

const PlayedInput* InputOf(HRAWINPUT h) {
  const auto index = reinterpret_cast<std::uintptr_t>(h);
  return index >= 1 && index <= g_inputs.size() ? &g_inputs[index - 1] : nullptr;
}

std::vector<BYTE> BlobOf(const PlayedInput& in) {
  std::vector<BYTE> blob(offsetof(RAWINPUT, data.hid.bRawData) + in.data.size());
  RAWINPUT r{};
  r.header.dwType = in.type;
  r.header.dwSize = static_cast<DWORD>(blob.size());
  r.header.hDevice = in.device;
  r.data.hid.dwSizeHid = in.reportSize;
  r.data.hid.dwCount = in.reportCount;
  std::memcpy(blob.data(), &r, offsetof(RAWINPUT, data.hid.bRawData));
  if (!in.data.empty()) {
    std::memcpy(blob.data() + offsetof(RAWINPUT, data.hid.bRawData), in.data.data(),
                in.data.size());
  }
  return blob;
}

UINT WINAPI PlayedGetRawInputData(HRAWINPUT h, UINT command, LPVOID data, PUINT size,
                                  UINT headerSize) {
  if (headerSize != sizeof(RAWINPUTHEADER)) ++g_headerSizeErrors;
  const PlayedInput* in = InputOf(h);
  if (in == nullptr || !in->readable || command != RID_INPUT || size == nullptr) {
    return static_cast<UINT>(-1);
  }
  const std::vector<BYTE> blob = BlobOf(*in);
  if (data == nullptr) {
    *size = static_cast<UINT>(blob.size());
    return 0;
  }
  if (*size < blob.size()) return static_cast<UINT>(-1);
  std::memcpy(data, blob.data(), blob.size());
  return static_cast<UINT>(blob.size());
}

UINT WINAPI PlayedGetRawInputDeviceInfoA(HANDLE device, UINT command, LPVOID data, PUINT size) {
  auto it = g_devices.find(device);
  if (it == g_devices.end() || !it->second.describable || command != RIDI_DEVICEINFO ||
      size == nullptr || data == nullptr || *size < sizeof(RID_DEVICE_INFO)) {
    return static_cast<UINT>(-1);
  }
  RID_DEVICE_INFO info{};
  info.cbSize = sizeof info;
  info.dwType = RIM_TYPEHID;
  info.hid.dwVendorId = it->second.vendor;
  info.hid.dwProductId = it->second.product;
  std::memcpy(data, &info, sizeof info);
  return sizeof info;
}

HANDLE kFixedBytes = reinterpret_cast<HANDLE>(0x101);
HANDLE kKeyTables = reinterpret_cast<HANDLE>(0x102);
HANDLE kClassThree = reinterpret_cast<HANDLE>(0x103);
HANDLE kUnknown = reinterpret_cast<HANDLE>(0x104);
HANDLE kMystery = reinterpret_cast<HANDLE>(0x105);

// --- helpers ----------------------------------------------------------------

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.rfind('\\'));
}

std::string IniPath() { return ProgramFolder() + "\\KvMessageController.ini"; }

void WriteIni(const char* section, const char* key, const char* value) {
  WritePrivateProfileStringA(section, key, value, IniPath().c_str());
}

HWND HookWindow() { return FindWindowA("KvRemoteControl", "KvRemoteControlWnd"); }

std::vector<RAWINPUTDEVICE> Registered() {
  UINT count = 0;
  GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
  std::vector<RAWINPUTDEVICE> devices(count);
  if (count > 0 &&
      GetRegisteredRawInputDevices(devices.data(), &count, sizeof(RAWINPUTDEVICE)) == UINT(-1)) {
    devices.clear();
  }
  return devices;
}

// Plays one input and returns its raw-input handle.
HRAWINPUT Play(PlayedInput in) {
  if (in.reportSize == 0) in.reportSize = static_cast<DWORD>(in.data.size());
  g_inputs.push_back(std::move(in));
  return reinterpret_cast<HRAWINPUT>(static_cast<std::uintptr_t>(g_inputs.size()));
}

void Deliver(HRAWINPUT input) {
  PostMessageA(HookWindow(), WM_INPUT, RIM_INPUT, reinterpret_cast<LPARAM>(input));
}

class RemoteControlHook : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileA(IniPath().c_str());
    remotecontrol::ForgetConfigurationForTesting();
    saved_ = remotecontrol::RawInput();
    remotecontrol::RawInput() = {&PlayedGetRawInputData, &PlayedGetRawInputDeviceInfoA};
    g_devices = {{kFixedBytes, {true, 0x0471, 0x0614}},
                 {kKeyTables, {true, 0x0471, 0x206C}},
                 {kClassThree, {true, 0x046D, 0xC319}},
                 {kUnknown, {true, 0x1234, 0x5678}},
                 {kMystery, {false, 0x0471, 0x206C}}};
    g_inputs.clear();
    g_headerSizeErrors = 0;
  }
  void TearDown() override {
    UnSetRemoteControlHook();
    BroadcastListener::Pump();
    remotecontrol::RawInput() = saved_;
    DeleteFileA(IniPath().c_str());
  }
  void WriteStandardIni() {
    WriteIni("HID_DataLoc_Config", "DATA_BYTE1", "2");
    WriteIni("HID_DataLoc_Config", "DATA_BYTE3", "9");
    WriteIni("MainConfig", "1", "PioScreen");
    WriteIni("PioScreen", "HIDREG1", "0x000C:0x0001");
    WriteIni("PioScreen", "HIDREG2", "12:1");
    WriteIni("PioScreen", "HIDREG3", "0xFFBC:0x88");
  }

  remotecontrol::RawInputCalls saved_{};
  BroadcastListener listener_;
};

TEST_F(RemoteControlHook, HiddenWindowAndRegistrationsFollowTheFileBesideTheProgram) {
  WriteStandardIni();
  ASSERT_TRUE(InitRemoteControlHook());
  ASSERT_TRUE(SetRemoteControlHook());

  const HWND w = HookWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetWindowThreadProcessId(w, nullptr), GetCurrentThreadId());
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_NE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);

  // The second mapping repeats the first; two registrations remain.
  const auto devices = Registered();
  ASSERT_EQ(devices.size(), 2u);
  for (const auto& d : devices) {
    EXPECT_EQ(d.hwndTarget, w);
    EXPECT_NE(d.dwFlags & RIDEV_INPUTSINK, 0u);
  }
  EXPECT_TRUE(std::any_of(devices.begin(), devices.end(), [](const RAWINPUTDEVICE& d) {
    return d.usUsagePage == 0x0C && d.usUsage == 0x01;
  }));
  EXPECT_TRUE(std::any_of(devices.begin(), devices.end(), [](const RAWINPUTDEVICE& d) {
    return d.usUsagePage == 0xFFBC && d.usUsage == 0x88;
  }));

  // Hooked already: nothing changes.
  EXPECT_TRUE(SetRemoteControlHook());
  EXPECT_EQ(HookWindow(), w);
}

TEST_F(RemoteControlHook, PlayedReportsReachAListeningWindowAsBroadcasts) {
  WriteStandardIni();
  ASSERT_TRUE(InitRemoteControlHook());
  ASSERT_TRUE(SetRemoteControlHook());

  std::vector<BYTE> nine(9, 0);
  nine[2] = 0x40;
  std::vector<BYTE> mystery = {0x03, 0x00, 0x40, 0, 0, 0, 0, 0, 0x05};
  const HRAWINPUT inputs[] = {
      Play({RIM_TYPEHID, kFixedBytes, 3, 1, {0x01, 0x02, 0x03}}),
      // Three one-byte reports in one message read as one three-byte report.
      Play({RIM_TYPEHID, kFixedBytes, 1, 3, {0x01, 0x02, 0x03}}),
      Play({RIM_TYPEHID, kKeyTables, 9, 1, nine}),
      Play({RIM_TYPEHID, kClassThree, 4, 1, {0x01, 0x41, 0x00, 0x02}}),
      Play({RIM_TYPEHID, kUnknown, 4, 1, {0x01, 0x41, 0x00, 0x00}}),
      // The device cannot be described: configured bytes 2 and 9.
      Play({RIM_TYPEHID, kMystery, 9, 1, mystery}),
      // No code, but still announced.
      Play({RIM_TYPEHID, kKeyTables, 5, 1, {1, 2, 3, 4, 5}}),
      // Claims two reports but carries one.
      Play({RIM_TYPEHID, kFixedBytes, 3, 2, {0x01, 0x02, 0x03}}),
      // Ignored: not HID, unreadable, empty.
      Play({RIM_TYPEKEYBOARD, kUnknown, 4, 1, {1, 2, 3, 4}}),
      Play({RIM_TYPEHID, kUnknown, 4, 1, {1, 2, 3, 4}, false}),
  };
  for (HRAWINPUT in : inputs) Deliver(in);
  Deliver(reinterpret_cast<HRAWINPUT>(0x7777));

  // The window and the listener are this thread's: once its queue is empty, every
  // broadcast the deliveries made has arrived.
  BroadcastListener::Pump();
  const auto& got = listener_.received();
  const std::vector<std::uint32_t> expected = {0x03110302,         0x03110302, broadcast::kRedKey,
                                               0x03038002,         0x03000041, 0x03050000,
                                               broadcast::kNoCode, 0x03110302};
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(got[i].wParam, 0x2655u) << i;
    EXPECT_EQ(got[i].lParam, expected[i]) << i;
  }
  EXPECT_EQ(g_headerSizeErrors, 0);
}

TEST_F(RemoteControlHook, UnhookEndsListeningAndHookingAgainResumes) {
  WriteStandardIni();
  ASSERT_TRUE(InitRemoteControlHook());
  ASSERT_TRUE(SetRemoteControlHook());
  const HWND first = HookWindow();

  EXPECT_NE(UnSetRemoteControlHook(), 0);
  EXPECT_EQ(HookWindow(), nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(Registered().empty());
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "KvRemoteControl", &wc));
  EXPECT_EQ(UnSetRemoteControlHook(), 0);  // nothing left to end

  // The configuration stays: hooking again needs no new reading.
  ASSERT_TRUE(SetRemoteControlHook());
  ASSERT_NE(HookWindow(), nullptr);
  EXPECT_EQ(Registered().size(), 2u);
  std::vector<BYTE> nine(9, 0);
  nine[3] = 0x02;
  Deliver(Play({RIM_TYPEHID, kKeyTables, 9, 1, nine}));
  const auto& got = listener_.WaitFor(1, 5000);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].lParam, broadcast::kBlueKey);
}

TEST_F(RemoteControlHook, WithoutMappingsTheWindowStaysAndALaterHookRegisters) {
  ASSERT_TRUE(InitRemoteControlHook());
  EXPECT_FALSE(SetRemoteControlHook());
  const HWND w = HookWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(Registered().empty());

  // The file appears; reading it again and hooking again must not report success
  // without registering.
  WriteStandardIni();
  ASSERT_TRUE(InitRemoteControlHook());
  EXPECT_TRUE(SetRemoteControlHook());
  EXPECT_EQ(HookWindow(), w);
  EXPECT_EQ(Registered().size(), 2u);
}

TEST_F(RemoteControlHook, WindowDestroyedBySomeoneElseIsMadeAgain) {
  WriteStandardIni();
  ASSERT_TRUE(InitRemoteControlHook());
  ASSERT_TRUE(SetRemoteControlHook());
  SendMessageA(HookWindow(), WM_CLOSE, 0, 0);
  ASSERT_EQ(HookWindow(), nullptr);
  EXPECT_EQ(UnSetRemoteControlHook(), 0);
  // The class outlived its window; hooking again still works.
  ASSERT_TRUE(SetRemoteControlHook());
  Deliver(Play({RIM_TYPEHID, kFixedBytes, 2, 1, {0x02, 0x5B}}));
  const auto& got = listener_.WaitFor(1, 5000);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].lParam, broadcast::kRedKey);
}

// Figures only, run as a benchmark of its own (never among the cases above): from
// a played report to the broadcast's arrival at a listening window of this thread
// (the whole way through the message loop). Wine's own delivery of a broadcast is
// measured alongside, alternating, as the baseline that no sender can go below.
TEST_F(RemoteControlHook, LatencyFromReportToListeningWindow) {
  WriteStandardIni();
  ASSERT_TRUE(InitRemoteControlHook());
  ASSERT_TRUE(SetRemoteControlHook());
  std::vector<BYTE> nine(9, 0);
  nine[2] = 0x80;
  const HRAWINPUT green = Play({RIM_TYPEHID, kKeyTables, 9, 1, nine});
  const HWND hook = HookWindow();
  const UINT message = broadcast::RegisterMessageA();

  std::vector<double> chain, bare;
  for (int i = 0; i < 100; ++i) {
    listener_.Clear();
    LONGLONG start = BroadcastListener::Now();
    PostMessageA(hook, WM_INPUT, RIM_INPUT, reinterpret_cast<LPARAM>(green));
    const auto& got = listener_.WaitFor(1, 5000);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].lParam, broadcast::kGreenKey);
    chain.push_back(BroadcastListener::Microseconds(got[0].at - start));

    listener_.Clear();
    start = BroadcastListener::Now();
    PostMessageA(HWND_BROADCAST, message, 0, 0);
    ASSERT_EQ(listener_.WaitFor(1, 5000).size(), 1u);
    bare.push_back(BroadcastListener::Microseconds(listener_.received()[0].at - start));
  }
  std::sort(chain.begin(), chain.end());
  std::sort(bare.begin(), bare.end());
  const auto median = [](const std::vector<double>& v) { return (v[49] + v[50]) / 2; };
  std::printf(
      "played report -> broadcast at a listening window, 100 events: median %.0f us "
      "(min %.0f, p90 %.0f, max %.0f)\n",
      median(chain), chain.front(), chain[89], chain.back());
  std::printf(
      "Wine's PostMessage(HWND_BROADCAST) alone, same run:            median %.0f us "
      "(min %.0f, p90 %.0f, max %.0f)\n",
      median(bare), bare.front(), bare[89], bare.back());
  RecordProperty("median_us", static_cast<int>(median(chain)));
  RecordProperty("broadcast_baseline_median_us", static_cast<int>(median(bare)));
}

}  // namespace
