// What the main dialog shows of itself: its fonts, live preview and the composed
// paint of the whole client area.
#include <cstdio>
#include <cstring>

#include "contour.h"
#include "images.h"
#include "language.h"
#include "previewmaindlg.h"
#include "startup_phases.h"
#include "tvpicture.h"

CContourBitmap* CPreviewMainDlg::Piece(int bitmapId) const {
  const BackgroundPieceRow* row = FindBackgroundPiece(bitmapId);
  return row ? m_pieces[row - kBackgroundPieces].get() : nullptr;
}

RECT CPreviewMainDlg::ClientRectOf(int id) const {
  RECT r{};
  HWND control = GetDlgItem(id);
  if (!control) return r;
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void CPreviewMainDlg::CreateFonts() {
  struct Heights { const char* language; int captionFlag, captionAdjust, label; };
  static const Heights table[] = {
      {"Russian", -24, -21, -24}, {"French", -24, -24, -24},    {"German", -24, -24, -21},
      {"Spanish", -24, -24, -21}, {"Hungarian", -24, -24, -21}, {"Dutch", -24, -21, -24},
      {"Czech", -26, -22, -24},   {"Finnish", -22, -22, -24},   {"Portuguese", -22, -22, -24},
      {"Slovak", -22, -22, -22},  {"Poland", -22, -20, -21},    {"Italian", -26, -26, -21},
      {"Turkish", -26, -26, -21}, {"Korean", -25, -25, -24},
  };
  int caption = -26, label = -24;
  for (const Heights& h : table) {
    if (IsCurrentLanguage(h.language)) {
      caption = m_noPictureAdjust ? h.captionFlag : h.captionAdjust;
      label = h.label;
      break;
    }
  }
  // Weight and character set by language are the skinned buttons' own.
  const skinbutton::CaptionFont buttonFont = skinbutton::CaptionFontFor(CurrentLanguageName());
  const int weight = buttonFont.weight;
  const BYTE charset = buttonFont.charset;
  m_captionFont.CreateFont(caption, weight, "Arial Black", charset);
  m_labelFont.CreateFont(label, weight, "Arial Black", charset);
}

HFONT CPreviewMainDlg::MakePreviewFont(double points) {
  LOGFONTA lf{};
  lf.lfHeight = PreviewFontHeight(points, m_dpiChoice);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = 5;  // CLEARTYPE_QUALITY
  std::strcpy(lf.lfFaceName, "Arial Black");
  m_previewFont.CreateFontIndirect(lf);
  return m_previewFont;
}

void CPreviewMainDlg::DeletePreviewBitmaps() {
  if (m_backgroundPreview) ::DeleteObject(m_backgroundPreview);
  if (m_dialogPreview) ::DeleteObject(m_dialogPreview);
  m_backgroundPreview = m_dialogPreview = nullptr;
}

HBITMAP CPreviewMainDlg::ScaledBackground(PixelSize size) {
  HBITMAP scaled = m_backgroundScaled.Find(size.width, size.height);
  if (!scaled) {
    scaled = m_backgroundScaler.ScaledAndCropped(size.width, size.height, 628, 357);
    m_backgroundScaled.Keep(size.width, size.height, scaled);
  }
  return scaled;
}

PixelSize CPreviewMainDlg::DialogPictureSize(const PreviewScale& scale) const {
  BITMAP bm{};
  if (!m_dialogPicture || !::GetObjectA(m_dialogPicture, sizeof bm, &bm)) return PixelSize{0, 0};
  return PixelSize{static_cast<int>(bm.bmWidth * scale.textScaleX),
                   static_cast<int>(bm.bmHeight * scale.textScaleY)};
}

HBITMAP CPreviewMainDlg::ScaledDialogPicture(PixelSize size) {
  HBITMAP scaled = m_dialogScaled.Find(size.width, size.height);
  if (!scaled) {
    scaled = m_dialogScaler.ScaledAndCropped(size.width, size.height, std::min(548, size.width),
                                             std::min(312, size.height));
    m_dialogScaled.Keep(size.width, size.height, scaled);
  }
  return scaled;
}

void CPreviewMainDlg::LoadPreviewSources() {
  if (!m_backgroundSource) {
    // Usually read ahead since the dialog was made.
    m_backgroundSource = m_backgroundLoad.Take();
    char path[MAX_PATH];
    if (!m_backgroundSource && FindBackgroundSource(path)) m_backgroundSource = LoadImageAsBitmap(path);
    m_backgroundScaler.Reset(m_backgroundSource);
  }
  if (!m_dialogPicture) {
    LoadDialogPicture();
    m_dialogScaler.Reset(m_dialogPicture);
  }
}

// On the skin thread (no phase marks there): the scale the first rebuild asks
// for, the size in force previewed at its DPI's preset. Should the first paint
// ask for another, it scales that itself.
void CPreviewMainDlg::PrepareFirstPreview() {
  CurrentDisplayMode current;
  if (!ReadCurrentDisplayMode(current, true)) return;
  const int preset = PresetOfDpi(current.dpi);
  const PreviewScale scale =
      ComputePreviewScale(current.width, current.height, current.width, current.height,
                          preset >= 0 ? kPresetDpis[preset] : current.dpi);
  LoadPreviewSources();
  if (m_backgroundSource) ScaledBackground(BackgroundPreviewSize(current.width, current.height, scale));
  if (m_dialogPicture) ScaledDialogPicture(DialogPictureSize(scale));
}

// Scaling is what a rebuild costs: a picture scaled once is kept for its size
// (the pixels do not depend on anything else), and the preview gets a copy.
bool CPreviewMainDlg::BuildPreview() {
  JoinSkinThread();  // its last work is the first preview's pictures
  LoadPreviewSources();
  startup_phases::MarkEnd("preview: pictures read");
  if (m_backgroundSource) {
    const PixelSize size = BackgroundPreviewSize(m_current.width, m_current.height, m_scale);
    if (HBITMAP scaled = ScaledBackground(size)) m_backgroundPreview = CropBitmap(scaled, 628, 357);
    startup_phases::MarkEnd("preview: background scale");
  }
  if (m_dialogPicture) {
    const PixelSize size = DialogPictureSize(m_scale);
    const int shownWidth = std::min(548, size.width), shownHeight = std::min(312, size.height);
    if (HBITMAP scaled = ScaledDialogPicture(size)) {
      // Cut to the preview, or the whole picture in the display's format.
      m_dialogPreview = size.width > 548 || size.height > 312
                            ? CropBitmap(scaled, shownWidth, shownHeight)
                            : CopyBitmap(scaled);
      m_dialogPictureWidth = shownWidth;
      m_dialogPictureHeight = shownHeight;
    }
    startup_phases::MarkEnd("preview: dialog picture scale");
  }
  return m_backgroundPreview && m_dialogPreview;
}

void CPreviewMainDlg::ReleasePreviewPictures() {
  DeletePreviewBitmaps();
  JoinSkinThread();  // it may still be making the first preview's pictures
  if (HBITMAP unused = m_backgroundLoad.Take()) ::DeleteObject(unused);
  m_backgroundScaler.Reset(nullptr);
  m_dialogScaler.Reset(nullptr);
  ForgetScaledPictures();
  if (m_backgroundSource) ::DeleteObject(m_backgroundSource);
  if (m_dialogPicture) ::DeleteObject(m_dialogPicture);
  m_backgroundSource = m_dialogPicture = nullptr;
}

void CPreviewMainDlg::ForgetScaledPictures(bool keepBackgrounds) {
  JoinSkinThread();
  if (!keepBackgrounds) m_backgroundScaled.Clear();
  m_dialogScaled.Clear();
}

bool CPreviewMainDlg::RebuildPreview() {
  ++m_previewRebuilds;
  const double previewDpi = m_dpiPreset >= 0 ? kPresetDpis[m_dpiPreset] : m_current.dpi;
  ReadCurrentDisplayMode(m_current, false);
  const ScreenSize* selected = SizeAt(m_sizes, m_selectedSizeIndex);
  m_scale = selected ? ComputePreviewScale(m_current.width, m_current.height, selected->width,
                                           selected->height, previewDpi)
                     : InitialPreviewScale(m_current.width, m_current.height);
  DeletePreviewBitmaps();
  return BuildPreview();
}

// The two texts go into the dialog preview picture itself (its origin is the
// static's place, 123, 125): drawn on the window they would be clipped away by the
// picture's own control and lost at its next repaint.
void CPreviewMainDlg::DrawPreviewTexts() {
  if (!m_dialogPreview) return;
  CMemoryDC dc(nullptr);
  if (!dc.m_hDC) return;
  ScopedSelect picture(dc, m_dialogPreview);
  ::SetViewportOrgEx(dc, -kDialogPreviewPlace.x, -kDialogPreviewPlace.y, nullptr);
  const bool arabic = IsCurrentLanguage("Arabic");
  const UINT format = arabic ? 0x16 : 0x14;  // DT_VCENTER | DT_WORDBREAK (| DT_RIGHT)
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const int oldRop = ::SetROP2(dc, R2_NOT);

  HFONT font = MakePreviewFont(12.5 * m_scale.heightRatio);
  HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  ::SetTextColor(dc, 0x8A3355);
  RECT first{RoundHalfUp(20 * m_scale.widthRatio) + 123,
             RoundHalfUp(2.5 * m_scale.heightRatio + 2 * m_scale.textScaleY) + 125,
             m_dialogPictureWidth + 103, m_dialogPictureHeight + 125};
  ::MoveWindow(GetDlgItem(ids::kPreviewText1), first.left, first.top, first.right - first.left,
               first.bottom - first.top, FALSE);
  ::DrawTextA(dc, "Morlund", -1, &first, format);

  if (oldFont) ::SelectObject(dc, oldFont);
  font = MakePreviewFont(10.5 * m_scale.widthRatio);
  oldFont = font ? ::SelectObject(dc, font) : nullptr;
  ::SetTextColor(dc, RGB(0, 0, 0));
  const int e = RoundHalfUp(18 * m_scale.widthRatio);
  RECT second{e + 123, RoundHalfUp(32 * m_scale.textScaleY) + 125,
              m_dialogPictureWidth - e + 121, m_dialogPictureHeight + 125};
  ::MoveWindow(GetDlgItem(ids::kPreviewText2), second.left, second.top, second.right - second.left,
               second.bottom - second.top, FALSE);
  ::DrawTextA(dc, "Pio Screen Setting", -1, &second, format);

  if (oldFont) ::SelectObject(dc, oldFont);
  ::SetROP2(dc, oldRop);
  ::SetBkMode(dc, oldMode);
}

LRESULT CPreviewMainDlg::OnPaint(WPARAM, LPARAM) {
  CPaintDC paint(m_hWnd);
  if (::IsIconic(m_hWnd)) {
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.m_hDC), 0);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
    ::DrawIcon(paint, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2, m_icon);
    return 0;
  }
  m_lastFocused = ::GetFocus();
  // Nothing to show and nothing asked for: the whole face composed again would
  // be clipped away (the system sends such a paint after the first).
  if (::IsRectEmpty(&paint.m_ps.rcPaint) && m_previewRebuildRequest != 1 && m_firstPaintEnd) return 0;

  const SIZE frame = m_pieces[0] && m_pieces[0]->GetSafeHandle() ? m_pieces[0]->GetSize() : SIZE{1024, 576};
  CMemoryDC memory(paint);
  CBitmap canvas;
  canvas.CreateCompatibleBitmap(paint, frame.cx, frame.cy);
  ScopedSelect selectCanvas(memory, canvas);
  ::SetBkMode(memory, TRANSPARENT);
  ::SelectClipRgn(memory, nullptr);

  for (int i = 0; i < kBackgroundPieceCount; ++i) {
    if (kBackgroundPieces[i].everyPage)
      m_pieces[i]->Draw(memory, kBackgroundPieces[i].place.x, kBackgroundPieces[i].place.y);
  }
  startup_phases::MarkEnd("paint: frame pieces");

  if (m_previewRebuildRequest == 1) {
    m_previewRebuildRequest = 0;
    if (RebuildPreview()) {
      SetPreviewPicture(ids::kBackgroundPreview, m_backgroundPreview);
      if (m_previewRefreshToggle) ::InvalidateRect(GetDlgItem(ids::kPreviewPicture), nullptr, FALSE);
      m_previewRefreshToggle = !m_previewRefreshToggle;
      DrawPreviewTexts();
      SetPreviewPicture(ids::kDialogPreview, m_dialogPreview);
    }
  }

  DrawPageTexts(memory);

  if (m_page == 4) {
    HWND focus = ::GetFocus();
    const int focusId = focus && ::IsChild(m_hWnd, focus) ? ::GetDlgCtrlID(focus) : 0;
    for (int i = 1; i < kBackgroundPieceCount; ++i) {
      const BackgroundPieceRow& row = kBackgroundPieces[i];
      if (row.everyPage || row.bitmapId == pieces::kTrackFill) continue;
      if (row.bitmapId == pieces::kDpiHighlight) {
        // Text-size mode: the DPI row is never highlighted; its preset key has the focus.
        const bool onPreset = focusId == ids::kPresetSmall || focusId == ids::kPresetMedium ||
                              focusId == ids::kPresetLarge;
        if ((onPreset || m_previewKind == 0) && m_dpiPreset >= 0 && focusId != ids::kPresets[m_dpiPreset])
          ::SetFocus(GetDlgItem(ids::kPresets[m_dpiPreset]));
        continue;
      }
      if (row.bitmapId == pieces::kResolutionHighlight) {
        if (focusId == ids::kResolutionThumb || m_previewKind == 1)
          m_pieces[i]->Draw(memory, row.place.x, row.place.y);
        continue;
      }
      if (row.bitmapId == pieces::kPictureTrack || row.bitmapId == pieces::kPicturePanel) continue;
      m_pieces[i]->Draw(memory, row.place.x, row.place.y);
    }
    DrawPage4Texts(memory);
    const RECT thumb = ClientRectOf(ids::kResolutionThumb);
    // One column of fill at each x = 725, 726, ... while x <= 910 and left of the thumb.
    Piece(pieces::kTrackFill)->DrawAcross(memory, 725, 332, std::min(910 + 1, int(thumb.left)) - 725);
  } else if (m_page == 1) {
    for (int i = 0; i < kBackgroundPieceCount; ++i) {
      const int id = kBackgroundPieces[i].bitmapId;
      if (id == pieces::kPictureTrack || id == pieces::kPicturePanel)
        m_pieces[i]->Draw(memory, kBackgroundPieces[i].place.x, kBackgroundPieces[i].place.y);
    }
    DrawPage1Text(memory);
    const RECT thumb = ClientRectOf(ids::kPictureSizeThumb);
    // One column at each x = 724, 725, ... while x < 917 and x < the thumb's left + 32.
    Piece(pieces::kTrackFill)->DrawAcross(memory, 724, 354, std::min(917, int(thumb.left) + 32) - 724);
  }

  ShowFrame(paint, memory, frame);
  startup_phases::MarkEnd("paint");
  if (!m_firstPaintEnd) {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    m_firstPaintEnd = now.QuadPart;
    // Timer 1000 of the initialisation asks for a whole repaint with a new
    // preview; the first paint, which comes right after the initialisation now,
    // is that repaint.
    if (m_timer1000) {
      ::KillTimer(m_hWnd, m_timer1000);
      m_timer1000 = 0;
      StartMakingPicturesAhead();
    }
  }
  return 0;
}

void CPreviewMainDlg::DrawPageTexts(HDC dc) {
  const PageLabels labels = DecidePageLabels(m_page, m_noPictureAdjust != 0, m_saved);
  const bool spanishSaved = m_saved != SaveState::None && m_page == 3 && IsCurrentLanguage("Spanish");
  for (const TextLabelRow& row : kTextLabels) {
    const char* text = nullptr;
    UINT format = DT_SINGLELINE;
    switch (row.id) {
      case ids::kTitle: text = labels.title; format = DT_CENTER | DT_VCENTER | DT_SINGLELINE; break;
      case ids::kRedLabel: text = labels.red; break;
      case ids::kGreenLabel: text = labels.green; break;
      case ids::kYellowLabel: text = labels.yellow; break;
      case ids::kBlueLabel: text = labels.blue; break;
      default: continue;
    }
    if (!text || !*text) continue;
    const bool useLabelFont = row.id == ids::kTitle && spanishSaved;
    ScopedSelect font(dc, useLabelFont ? m_labelFont.GetSafeHandle() : m_captionFont.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, row.colour);
    RECT r = ClientRectOf(row.id);
    ::DrawTextA(dc, TranslateText(text), -1, &r, format);
  }
}

void CPreviewMainDlg::DrawPage4Texts(HDC dc) {
  const bool arabic = IsCurrentLanguage("Arabic");
  ScopedSelect font(dc, m_labelFont.GetSafeHandle());
  ::SetBkMode(dc, TRANSPARENT);
  for (const TextLabelRow& row : kTextLabels) {
    RECT r = ClientRectOf(row.id);
    ::SetTextColor(dc, row.colour);
    if (row.id == ids::kResolutionCaption) {
      const ScreenSize* selected = SizeAt(m_sizes, m_selectedSizeIndex);
      if (selected) {
        char text[64];
        std::snprintf(text, sizeof text, "%d * %d", int(selected->width), int(selected->height));
        ::DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      }
      if (!m_thumbFreeMoving) PlaceResolutionThumb();
    } else if (row.id == ids::kFontText || row.id == ids::kResolutionText) {
      const char* text = row.id == ids::kFontText ? "Font : " : "Resolution :";
      ::DrawTextA(dc, TranslateText(text), -1, &r, arabic ? DT_SINGLELINE | DT_RIGHT : DT_SINGLELINE);
    }
  }
}

void CPreviewMainDlg::DrawPage1Text(HDC dc) {
  const TextLabelRow* row = nullptr;
  for (const TextLabelRow& r : kTextLabels)
    if (r.id == ids::kPage1Text) row = &r;
  if (!row) return;
  ScopedSelect font(dc, m_labelFont.GetSafeHandle());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, row->colour);
  RECT r = ClientRectOf(ids::kPage1Text);
  ::DrawTextA(dc, TranslateText("Zoom in\\out your screen."), -1, &r,
              IsCurrentLanguage("Arabic") ? DT_RIGHT | DT_WORDBREAK : DT_CENTER | DT_WORDBREAK);
  if (!m_thumbFreeMoving) PlacePictureSizeThumb();
}

void CPreviewMainDlg::PlaceResolutionThumb() {
  const int x = ResolutionThumbX(m_selectedSizeIndex, static_cast<int>(m_sizes.size()),
                                 m_resolutionTrack.left, m_resolutionTrack.right);
  ::MoveWindow(GetDlgItem(ids::kResolutionThumb), x, m_resolutionTrack.top - 6, 64, 49, TRUE);
}

void CPreviewMainDlg::PlacePictureSizeThumb() {
  const int x = PictureSizeThumbX(m_pictureSizePosition, m_tvPicture ? m_tvPicture->StepCount() : 16,
                                  m_pictureSizeTrack.left, m_pictureSizeTrack.right);
  ::MoveWindow(GetDlgItem(ids::kPictureSizeThumb), x, m_pictureSizeTrack.top - 6, 64, 49, TRUE);
}
