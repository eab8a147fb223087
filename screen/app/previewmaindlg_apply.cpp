// Applying the selection: the display switched to the selected size with the
// timed question whether to keep it, the DPI choice stored for the next start of
// Windows with the offer to restart. The order of the step is decided by
// apply::RunApply; this is the dialog's side of each of its effects.
#include <cstring>
#include <string>
#include <vector>

#include "apply_core.h"
#include "generalmsgbox.h"
#include "language.h"
#include "previewmaindlg.h"
#include "restart.h"
#include "timedmsgbox.h"

namespace {

bool Shows(const DEVMODEA& mode) {
  CurrentDisplayMode now;
  return ReadCurrentDisplayMode(now, false) && now.width == static_cast<std::int32_t>(mode.dmPelsWidth) &&
         now.height == static_cast<std::int32_t>(mode.dmPelsHeight);
}

// Shows `mode` without saving it: Windows keeps starting in the saved mode until
// a person has accepted this one. True once the display really shows it. A change
// that the system reports as made but that the display never takes (seen with
// virtual desktops) is asked for once more, and after that counts as refused.
bool ShowMode(const DEVMODEA& mode) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    DEVMODEA asked = mode;
    if (::ChangeDisplaySettingsExA(nullptr, &asked, nullptr, 0, nullptr) != DISP_CHANGE_SUCCESSFUL)
      return false;
    const DWORD start = ::GetTickCount();
    while (!Shows(mode)) {
      if (::GetTickCount() - start > 2000) break;
      // Notices other programs send about the change are answered meanwhile.
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
      MSG ignored;
      ::PeekMessageA(&ignored, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (Shows(mode)) return true;
  }
  return false;
}

}  // namespace

class DialogApplyOps final : public apply::ApplyOps {
 public:
  explicit DialogApplyOps(CPreviewMainDlg& dialog) : d(dialog) {
    m_inForce.dmSize = sizeof m_inForce;
    m_haveInForce = ::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &m_inForce) != FALSE;
  }

  std::vector<DisplayModeRecord> Modes() override {
    m_modes = EnumeratePrimaryDisplayModes();
    return ToModeRecords(m_modes);
  }
  bool SwitchTo(std::size_t index) override {
    if (index >= m_modes.size()) return false;
    const DEVMODEA& mode = m_modes[index];
    if (!ShowMode(mode)) {
      // Whatever the display shows now, it shows the mode it had, known to work.
      if (m_haveInForce && !Shows(m_inForce)) ShowMode(m_inForce);
      return false;
    }
    // Whether or not the system's notice has come yet: the mode is the one set.
    d.OnDisplayChange(static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                      static_cast<int>(mode.dmBitsPerPel));
    d.m_current.refreshRate = mode.dmDisplayFrequency;
    return true;
  }
  void Save(std::size_t index) override {
    if (index < m_modes.size())
      ::ChangeDisplaySettingsExA(nullptr, &m_modes[index], nullptr, CDS_UPDATEREGISTRY | CDS_NORESET,
                                 nullptr);
  }
  dpistore::Result StoreDpi(std::int32_t dpiChoice) override {
    return d.m_dpiStore.StoreDpiChoice(dpiChoice, d.m_current.dpi);
  }
  void UndoDpiStore() override { d.m_dpiStore.UndoLastStore(); }
  void ShowNewMode() override {
    d.m_previewRebuildRequest = 0;
    d.m_previewRefreshToggle = 0;
    d.RepaintWhole();
  }
  bool ConfirmResolution(ScreenSize size) override { return d.ConfirmResolution(size); }
  void RestoreSelection(ScreenSize size, double dpi) override {
    d.RestoreSelection(size.width, size.height, dpi);
  }
  void ShowSwitchedBack() override {
    d.m_previewRefreshToggle = 0;
    d.m_previewRebuildRequest = 1;
    d.RepaintWhole();
  }
  void ShowNewDpi(bool modeChanged) override {
    if (modeChanged) {
      const RECT preview = d.ClientRectOf(ids::kPreviewPicture);
      ::RedrawWindow(d.m_hWnd, &preview, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      d.m_previewRebuildRequest = 1;
      d.m_previewRefreshToggle = 1;
      d.RepaintWhole();
    }
  }
  bool AskToRestart() override { return d.AskToRestart(); }
  bool Restart() override { return RestartComputer(); }

 private:
  CPreviewMainDlg& d;
  std::vector<DEVMODEA> m_modes;  // the records of the last enumeration, as the driver gave them
  DEVMODEA m_inForce{};           // the mode shown when the step began
  bool m_haveInForce = false;
};

void CPreviewMainDlg::ApplySettings() {
  const ScreenSize* selected = SizeAt(m_sizes, m_selectedSizeIndex);
  if (!selected) return;
  const ScreenSize chosen = *selected;
  m_accepted = 1;
  const apply::Before before{{m_current.width, m_current.height}, m_current.refreshRate,
                             m_current.bitsPerPixel, m_current.dpi};
  DialogApplyOps ops(*this);
  const apply::Outcome outcome = apply::RunApply(ops, before, chosen, m_dpiChoice);
  m_accepted = outcome.accepted ? 1 : 0;
  if (outcome.nothingToDo || outcome.restartRequested) return;

  if (!(outcome.dpi == dpistore::kChanged && outcome.accepted)) {
    m_previewRefreshToggle = 0;
    if (m_page == 4) {
      FocusControl(GetDlgItem(ids::kResolutionThumb));
      m_previewKind = 1;
    }
  }
  if (m_timer2000) ::KillTimer(m_hWnd, m_timer2000);
  m_timer2000 = ::SetTimer(m_hWnd, 2000, m_timer2000Period, &CPreviewMainDlg::TimerProc);
  RefreshPreview();
}

bool CPreviewMainDlg::ConfirmResolution(ScreenSize size) {
  // A translation lives only until the next one: each is copied at once.
  const std::string lead = TranslateText("You have choosed resolution :");
  const std::string message =
      apply::ResolutionMessage(CurrentLanguageName(), lead.c_str(), size.width, size.height);
  const std::string prompt = TranslateText("Accept the setting ?");
  int answered = 0;
  const int result = ShowTimedMessageBox(message.c_str(), prompt.c_str(), &answered, m_hWnd);
  return answered == 1 && result != IDCANCEL;
}

void CPreviewMainDlg::RestoreSelection(int width, int height, double dpi) {
  // The preset keys and their latches stay as the person left them.
  SelectSizeAndDpi(width, height, dpi);
  RepaintWhole();
}

bool CPreviewMainDlg::AskToRestart() {
  const std::string first = TranslateText("You must reboot the computer to update Font.");
  const std::string second = TranslateText("Would you want to reboot now?");
  const std::string question = apply::RestartQuestion(CurrentLanguageName(), first.c_str(), second.c_str());
  return AskOverFade(m_hWnd, question.c_str()) == IDOK;
}
