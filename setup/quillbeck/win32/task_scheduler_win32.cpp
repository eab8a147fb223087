#include "task_scheduler_win32.h"

// The class and interface ids are defined here, not taken from a library.
#include <initguid.h>
#include <windows.h>
#include <ole2.h>
#include <taskschd.h>

#include "system_code_page.h"

namespace quillbeck {
namespace {

// Owns one COM interface pointer.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }

 private:
  T* p_ = nullptr;
};

// Owns one BSTR.
class Bstr {
 public:
  explicit Bstr(const std::u16string& text)
      : s_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                             static_cast<UINT>(text.size()))) {}
  ~Bstr() { SysFreeString(s_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return s_; }

 private:
  BSTR s_;
};

VARIANT Empty() {
  VARIANT v;
  VariantInit(&v);
  return v;
}

TaskResult ResultOf(HRESULT hr) {
  if (SUCCEEDED(hr)) return TaskResult::kDone;
  if (hr == E_ACCESSDENIED) return TaskResult::kAccessDenied;
  if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
    return TaskResult::kMissing;
  return TaskResult::kFailed;
}

}  // namespace

Win32TaskScheduler::Win32TaskScheduler() {
  comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  // The service is reached over RPC and must be able to act for this process.
  // Fails harmlessly when security was set up already.
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
}

Win32TaskScheduler::~Win32TaskScheduler() {
  if (service_) service_->Release();
  if (comStarted_) CoUninitialize();
}

setup::CodePage Win32TaskScheduler::AnsiCodePage() { return setup::SystemCodePage(); }

std::optional<std::u16string> Win32TaskScheduler::ToUtf16(std::string_view ansi) {
  if (ansi.empty()) return std::u16string();
  const int length = static_cast<int>(ansi.size());
  const int needed = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::u16string wide(static_cast<std::size_t>(needed), u'\0');
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length,
                          reinterpret_cast<wchar_t*>(&wide[0]), needed) != needed)
    return std::nullopt;
  return wide;
}

Connection Win32TaskScheduler::Connect() {
  if (!comStarted_) return Connection::kNoInterface;
  if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                              reinterpret_cast<void**>(&service_)))) {
    service_ = nullptr;
    return Connection::kNoInterface;
  }
  // This machine, this user.
  if (FAILED(service_->Connect(Empty(), Empty(), Empty(), Empty()))) return Connection::kNoService;
  return Connection::kConnected;
}

TaskResult Win32TaskScheduler::Register(const std::u16string& name, const std::u16string& xml) {
  ComRef<ITaskFolder> root;
  const Bstr rootPath(u"\\");
  if (FAILED(service_->GetFolder(rootPath.get(), root.Out()))) return TaskResult::kFailed;
  const Bstr path(name);
  const Bstr definition(xml);
  ComRef<IRegisteredTask> task;
  // The principal of the definition is a group: whoever logs on.
  return ResultOf(root->RegisterTask(path.get(), definition.get(), TASK_CREATE_OR_UPDATE, Empty(),
                                     Empty(), TASK_LOGON_GROUP, Empty(), task.Out()));
}

TaskResult Win32TaskScheduler::Delete(const std::u16string& name) {
  ComRef<ITaskFolder> root;
  const Bstr rootPath(u"\\");
  if (FAILED(service_->GetFolder(rootPath.get(), root.Out()))) return TaskResult::kFailed;
  const Bstr path(name);
  return ResultOf(root->DeleteTask(path.get(), 0));
}

}  // namespace quillbeck
