// The favourites: the six slots of pages 2 (load) and 3 (save), their captions,
// and the file they are kept in.
#include <string>

#include "language.h"
#include "previewmaindlg.h"
#include "registry_dpi.h"
#include "screenconfig.h"

void CPreviewMainDlg::SetSlotCaptions(bool blankWhenEmpty) {
  if (!m_favourites) return;
  SlotTexts texts;
  texts.fontLabel = TranslateText("Font :");
  texts.noLetter = TranslateText("No");
  texts.noData = TranslateText("No data");
  const bool turkish = IsCurrentLanguage("Turkish");
  for (int i = 0; i < 6; ++i) {
    const std::string caption =
        SlotCaption(m_favourites->width[i], m_favourites->height[i], m_favourites->dpi[i],
                    blankWhenEmpty, texts, turkish);
    ::SetWindowTextA(GetDlgItem(ids::kSlot1 + i), caption.c_str());
  }
}

LRESULT CPreviewMainDlg::OnSlot(WPARAM wParam, LPARAM) {
  const int slot = LOWORD(wParam) - ids::kSlot1;
  if (m_page == 2) {
    LoadFavourite(slot);
    SwitchToPage(4);
    RefreshPreview();
  } else if (m_page == 3) {
    SaveFavourite(slot);
  }
  return 0;
}

LRESULT CPreviewMainDlg::OnQuickApply(WPARAM wParam, LPARAM) {
  for (int i = 0; i < 6; ++i) {
    if (ids::kQuickApply[i] == LOWORD(wParam)) {
      LoadFavourite(i);
      ApplySettings();
    }
  }
  return 0;
}

void CPreviewMainDlg::LoadFavourite(int slot) {
  if (!m_favourites || slot < 0 || slot > 5) return;
  const int width = m_favourites->width[slot], height = m_favourites->height[slot];
  int dpi = m_favourites->dpi[slot];
  if (dpi <= 0 || width <= 0 || height <= 0) return;
  // A DPI no display can use (a file edited by hand) is shown, and applied, as
  // the DPI in force.
  if (!dpireg::IsUsableDpi(static_cast<std::uint32_t>(dpi))) dpi = static_cast<int>(m_current.dpi + 0.5);
  SelectSizeAndDpi(width, height, dpi);
  m_dpiPreset = PresetOfChoice(m_dpiChoice);
  SetPresetLatches();
}

void CPreviewMainDlg::SaveFavourite(int slot) {
  if (!m_favourites || slot < 0 || slot > 5) return;
  const ScreenSize* selected = SizeAt(m_sizes, m_selectedSizeIndex);
  if (!selected) return;
  const ScreenConfigRecord before = *m_favourites;
  m_favourites->width[slot] = selected->width;
  m_favourites->height[slot] = selected->height;
  m_favourites->dpi[slot] = DpiOfChoice(m_dpiChoice);
  m_favourites->count = CountUsedSlots(*m_favourites);
  const bool written = m_configPath[0] && WriteScreenConfig(*m_favourites, m_configPath);
  const RECT title = ClientRectOf(ids::kTitle);
  if (!written) {
    // Nothing was kept: the slot stays as it was, and the title says so.
    *m_favourites = before;
    m_saved = SaveState::Failed;
    ::InvalidateRect(m_hWnd, &title, FALSE);
    return;
  }
  m_saved = SaveState::Saved;
  ::InvalidateRect(m_hWnd, &title, FALSE);

  ::EnableWindow(GetDlgItem(ids::kGreenKey),
                 GreenEnabledOnPage4(selected->width, selected->height, m_current.width,
                                     m_current.height, m_dpiChoice, m_current.dpi));
  ::EnableWindow(GetDlgItem(ids::kGreenLabel), TRUE);
  ::EnableWindow(GetDlgItem(ids::kYellowLabel), TRUE);
  ::EnableWindow(GetDlgItem(ids::kYellowKey), TRUE);
  SetSlotCaptions(false);
}
