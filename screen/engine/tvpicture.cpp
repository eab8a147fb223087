#include "tvpicture.h"

#include <windows.h>

namespace {

using PointerCall = int(__cdecl*)(int, int, void*);
using ValueCall = int(__cdecl*)(int, int, int);

// The process-wide binding. The module handle is ours to free.
struct Binding {
  HMODULE module = nullptr;
  FARPROC entries[kTvEntryPointCount] = {};
};
Binding g_binding;

template <typename Call>
Call Entry(TvEntryPoint which) {
  return reinterpret_cast<Call>(g_binding.entries[which]);
}

// Calls through the bound entry points; the arguments that select what is asked
// (0 and 2, 0 and 8, adapter 0) are the library's own.
class BoundCalls final : public TvDisplayCalls {
 public:
  void EnumDisplays(std::int32_t* displayIndex) override {
    Entry<PointerCall>(kTvEnumDisplays)(0, 2, displayIndex);
  }
  void GetConfiguration(std::int32_t* connectedDisplays) override {
    Entry<PointerCall>(kTvGetConfiguration)(0, 8, connectedDisplays);
  }
  void GetCapability(std::int32_t display, TvCapability* capability) override {
    Entry<PointerCall>(kTvGetUnderOverscanCapability)(0, display, capability);
  }
  void GetAdjustment(std::int32_t display, std::int32_t* value) override {
    Entry<PointerCall>(kTvGetUnderOverscanAdjustment)(0, display, value);
  }
  void SetAdjustment(std::int32_t display, std::int32_t value) override {
    Entry<ValueCall>(kTvSetUnderOverscanAdjustment)(0, display, value);
  }
};

}  // namespace

bool BindTvDisplayLibrary() {
  if (!g_binding.module) {
    // A library that is there but cannot be loaded must not bring up a system
    // error box: without it the program simply has no page 1. (Windows XP can
    // read the error mode only by setting it.)
    const UINT quiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    const UINT previous = ::SetErrorMode(quiet);
    ::SetErrorMode(previous | quiet);
    g_binding.module = ::LoadLibraryW(kTvLibraryName);
    ::SetErrorMode(previous);
    if (!g_binding.module) return false;
  }
  for (FARPROC& entry : g_binding.entries) entry = nullptr;
  for (int i = 0; i < kTvEntryPointCount; ++i) {
    g_binding.entries[i] = ::GetProcAddress(g_binding.module, kTvEntryPointNames[i]);
    if (!g_binding.entries[i]) return false;
  }
  return true;
}

void ReleaseTvDisplayLibrary() {
  if (g_binding.module) ::FreeLibrary(g_binding.module);
  g_binding = Binding{};
}

bool IsTvDisplayLibraryLoaded() { return g_binding.module != nullptr; }

TvPictureAdjustment::TvPictureAdjustment(FullHdTest hasFullHdMode)
    : m_hasFullHdMode(hasFullHdMode) {}

TvPictureAdjustment::~TvPictureAdjustment() {
  if (m_started) Stop();
}

void TvPictureAdjustment::Start() {
  m_started = true;
  if (!BindTvDisplayLibrary()) {
    ReleaseTvDisplayLibrary();
    return;
  }
  // The vendor's adjustment is offered only with a full-HD capable display.
  if (!m_hasFullHdMode || !m_hasFullHdMode()) return;
  BoundCalls calls;
  m_state.FindAdjustableDisplay(calls);
}

void TvPictureAdjustment::Send(std::int32_t position) {
  if (m_state.noAdjustment || !g_binding.entries[kTvSetUnderOverscanAdjustment]) return;
  m_state.adjustment = m_state.AdjustmentFor(position);
  BoundCalls().SetAdjustment(m_state.displayIndex, m_state.adjustment);
}

void TvPictureAdjustment::Stop() {
  // Nothing calls into the library after this; it is freed even when it gave
  // nothing to adjust, so that a later Start loads it afresh.
  ReleaseTvDisplayLibrary();
  m_state.noAdjustment = true;
  m_started = false;
}
