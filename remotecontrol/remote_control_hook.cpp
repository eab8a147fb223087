#include "remote_control_hook.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "broadcast.h"
#include "hook_configuration.h"
#include "report_decoding.h"

namespace remotecontrol {
namespace {

constexpr char kClassName[] = "KvRemoteControl";
constexpr char kWindowTitle[] = "KvRemoteControlWnd";
constexpr DWORD kModulePathChars = 512;
// Far above any HID message; a larger claimed size is not a report.
constexpr UINT kMaxRawInputBytes = 1u << 20;

static_assert(offsetof(RAWINPUT, data.hid.bRawData) == RawInputLayout::HidDataOffset(sizeof(void*)),
              "the decoder's view of the raw-input blob must match the system's");

class IniFile : public ProfileSource {
 public:
  explicit IniFile(std::string path) : m_path(std::move(path)) {}
  std::int32_t ReadInt(const std::string& section, const std::string& key) const override {
    return static_cast<std::int32_t>(
        GetPrivateProfileIntA(section.c_str(), key.c_str(), 0, m_path.c_str()));
  }
  std::string ReadString(const std::string& section, const std::string& key) const override {
    char value[255] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, m_path.c_str());
    return value;
  }

 private:
  std::string m_path;
};

struct HookState {
  HookConfiguration config;
  std::vector<RAWINPUTDEVICE> devices;  // the registrations in force
  HWND window = nullptr;                // our hidden window, destroyed by UnSet
  bool registered = false;
};
HookState g_state;

const UINT g_broadcastMessage = broadcast::RegisterMessageA();

RawInputCalls g_rawInput = {&GetRawInputData, &GetRawInputDeviceInfoA};

DeviceClass ClassOfDevice(HANDLE device) {
  RID_DEVICE_INFO info{};
  info.cbSize = sizeof info;
  UINT size = sizeof info;
  const UINT got = g_rawInput.getRawInputDeviceInfoA(device, RIDI_DEVICEINFO, &info, &size);
  const bool queried =
      got != 0 && got != static_cast<UINT>(-1) && got <= sizeof info && info.dwType == RIM_TYPEHID;
  return ClassifyDevice(queried, queried ? info.hid.dwVendorId : 0,
                        queried ? info.hid.dwProductId : 0);
}

void OnRawInput(HRAWINPUT input) {
  UINT size = 0;
  if (g_rawInput.getRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 ||
      size == 0 || size > kMaxRawInputBytes) {
    return;
  }
  std::vector<std::uint8_t> blob(size);
  UINT read =
      g_rawInput.getRawInputData(input, RID_INPUT, blob.data(), &size, sizeof(RAWINPUTHEADER));
  if (read == 0 || read == static_cast<UINT>(-1)) return;
  if (read > blob.size()) read = static_cast<UINT>(blob.size());

  const HidData hid = LocateHidData(blob.data(), read, sizeof(void*));
  if (!hid.valid) return;
  HANDLE device;
  std::memcpy(&device, blob.data() + offsetof(RAWINPUTHEADER, hDevice), sizeof device);

  const std::uint32_t code = DecodeReport(ClassOfDevice(device), blob.data() + hid.offset,
                                          hid.length, g_state.config.dataBytes);
  // A report without a code is still announced, as 0.
  PostMessageA(HWND_BROADCAST, g_broadcastMessage, broadcast::kFamilyRemoteControl,
               static_cast<LPARAM>(broadcast::RemoteControlParam(code)));
}

LRESULT CALLBACK HookWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INPUT) {
    OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
  } else if (message == WM_NCDESTROY && hwnd == g_state.window) {
    // Destroyed by someone else: the next SetRemoteControlHook makes a new one.
    g_state.window = nullptr;
    g_state.registered = false;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool RegisterDevices() {
  const UsageLists& usages = g_state.config.usages;
  g_state.devices.clear();
  for (std::size_t i = 0; i < usages.Size(); ++i) {
    // Input arrives while the host is in the background.
    g_state.devices.push_back(
        {usages.UsagePages()[i], usages.Usages()[i], RIDEV_INPUTSINK, g_state.window});
  }
  // The entry size is the process's own: 12 bytes in 32-bit code, 16 in 64-bit.
  g_state.registered =
      !g_state.devices.empty() &&
      RegisterRawInputDevices(g_state.devices.data(), static_cast<UINT>(g_state.devices.size()),
                              sizeof(RAWINPUTDEVICE)) != FALSE;
  return g_state.registered;
}

}  // namespace

RawInputCalls& RawInput() { return g_rawInput; }

void ForgetConfigurationForTesting() { g_state = HookState{}; }

}  // namespace remotecontrol

using remotecontrol::g_state;

bool __cdecl InitRemoteControlHook(void) {
  char program[remotecontrol::kModulePathChars] = {};
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  // A cut path would name some other folder's file; read nothing then.
  std::string path;
  if (length > 0 && length < sizeof program) path = remotecontrol::ConfigurationPathBeside(program);
  if (!path.empty()) {
    remotecontrol::ReadHookConfiguration(remotecontrol::IniFile(path), g_state.config);
  }
  return true;
}

bool __cdecl SetRemoteControlHook(void) {
  if (HWND existing = FindWindowA(remotecontrol::kClassName, remotecontrol::kWindowTitle)) {
    // Our own window whose registration failed: try again rather than claim success.
    if (existing == g_state.window && !g_state.registered) return remotecontrol::RegisterDevices();
    return true;
  }

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = remotecontrol::HookWindowProc;
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = remotecontrol::kClassName;
  // Fails harmlessly when the class outlived a window that someone else destroyed.
  RegisterClassExA(&wc);

  // Never shown: it exists only to receive raw input.
  g_state.window = CreateWindowExA(WS_EX_CLIENTEDGE, remotecontrol::kClassName,
                                   remotecontrol::kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                   CW_USEDEFAULT, 300, 200, nullptr, nullptr, nullptr, nullptr);
  if (g_state.window == nullptr) return false;
  return remotecontrol::RegisterDevices();
}

int __cdecl UnSetRemoteControlHook(void) {
  if (!g_state.devices.empty()) {
    for (RAWINPUTDEVICE& d : g_state.devices) {
      d.dwFlags = RIDEV_REMOVE;
      d.hwndTarget = nullptr;
    }
    RegisterRawInputDevices(g_state.devices.data(), static_cast<UINT>(g_state.devices.size()),
                            sizeof(RAWINPUTDEVICE));
  }
  // The usage lists stay, so the hook can be set again.
  g_state.devices.clear();
  g_state.registered = false;

  // Only our own window: another host's window of the same name is not ours to end.
  HWND window = g_state.window;
  if (window == nullptr || !IsWindow(window)) return 0;
  const BOOL destroyed = DestroyWindow(window);
  UnregisterClassA(remotecontrol::kClassName, nullptr);
  return destroyed;
}
