// CPreviewMainDlg: the one window of PioScreen. A borderless 1024 x 576 dialog,
// shaped by its frame bitmap, with a live preview of the desktop at the chosen size
// and text size, four coloured keys, a page of choices on the right and hidden
// scroll bars that hold the slider positions.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gdi.h"
#include "dpistore.h"
#include "images.h"
#include "layout.h"
#include "maindlg_rules.h"
#include "preview_cache.h"
#include "modecatalog.h"
#include "screenconfig.h"
#include "skinbutton.h"
#include "skinneddialog.h"

class CContourBitmap;
class GdiplusRuntime;
class TvPictureAdjustment;

// The registered broadcast message, obtained during static initialisation.
extern UINT g_broadcastMessage;

class CPreviewMainDlg : public CSkinnedDialog, public SkinButtonOwner {
 public:
  CPreviewMainDlg();
  ~CPreviewMainDlg() override;

  // Calls from the skinned buttons.
  HWND OwnerWindow() const override { return m_hWnd; }
  void SetPreviewKind(int kind) override;
  void SetHoveredSizeButton(int id) override;
  void SelectDpiPreset(int preset) override;
  int DragSliderThumb(int previousX, CxSkinButton* thumb, bool released) override;

  // State that tests and the timing mode read.
  int Page() const { return m_page; }
  int SelectedSizeIndex() const { return m_selectedSizeIndex; }
  int DpiChoice() const { return m_dpiChoice; }
  int DpiPreset() const { return m_dpiPreset; }
  int PreviewKind() const { return m_previewKind; }
  int PictureSizePosition() const { return m_pictureSizePosition; }
  SaveState LastSave() const { return m_saved; }
  bool NoPictureSizeAdjustment() const { return m_noPictureAdjust != 0; }
  const SizeList& Sizes() const { return m_sizes; }
  int FullRepaintCount() const { return m_fullRepaints; }
  bool PreviewTimerRunning() const { return m_timer1000 != 0; }
  int PreviewRebuildCount() const { return m_previewRebuilds; }
  // Recomputes the preview scale for the selection and rebuilds both preview
  // pictures; true when both exist.
  bool RebuildPreview();
  // Forgets the scaled pictures kept for later rebuilds, or only the dialog
  // picture's (the timing program's rebuilds from scratch).
  void ForgetScaledPictures(bool keepBackgrounds = false);
  bool MakingPicturesAhead() const { return m_timer3000 != 0; }
  // QueryPerformanceCounter at the end of the first WM_PAINT, 0 before it.
  LONGLONG FirstPaintEnd() const { return m_firstPaintEnd; }

 protected:
  const MessageMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  BOOL OnInitDialog() override;

 private:
  // Message handlers.
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  LRESULT OnEraseBkgnd(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnSetCursor(WPARAM, LPARAM);
  LRESULT OnHScroll(WPARAM, LPARAM);
  LRESULT OnEndAsOk(WPARAM, LPARAM);
  LRESULT OnRedKey(WPARAM, LPARAM);
  LRESULT OnGreenKey(WPARAM, LPARAM);
  LRESULT OnYellowKey(WPARAM, LPARAM);
  LRESULT OnBlueKey(WPARAM, LPARAM);
  LRESULT OnSlot(WPARAM, LPARAM);
  LRESULT OnQuickApply(WPARAM, LPARAM);
  LRESULT OnPresetKey(WPARAM, LPARAM);
  LRESULT OnBroadcast(WPARAM, LPARAM);
  LRESULT OnSysCommand(WPARAM, LPARAM);
  LRESULT OnWindowPosChanging(WPARAM, LPARAM);

  // Painting and preview.
  // The background pieces and the skinned buttons' image files are read on a
  // thread of their own from the dialog's construction, while the window is made.
  bool FindSkinFolder(char (&folder)[MAX_PATH]) const;
  void StartPreparing(GdiplusRuntime* decoder);
  void ForgetPrepared();
  void PrepareSkin();
  static UINT PrepareSkinThread(LPVOID dialog);
  // The favourites file and the size list, on a thread of its own when one could
  // be started; that thread starts first and also sets up the display.
  void StartPreparingSizes();
  void WaitForDisplaySetUp() const;
  void PrepareSizes();
  static UINT PrepareSizesThread(LPVOID dialog);
  void TakePreparedPieces();
  void JoinSkinThread();
  void SetUpSkin();
  // The favourites' slots and quick-apply keys, shown on pages 2 and 3 only, are
  // made when the dialog first turns to one of those pages.
  void MakeFavouriteControls();
  void NudgeBottomRowForLanguage();
  void CreateFonts();
  bool BuildPreview();
  // The first preview's pictures for the size in force, made on the skin thread
  // so that the first paint finds them scaled.
  void PrepareFirstPreview();
  // The desktop picture and the dialog picture, each read once.
  void LoadPreviewSources();
  bool FindBackgroundSource(char (&path)[MAX_PATH]) const;
  void LoadDialogPicture();
  // Every picture of the preview, those that hold the decoder's objects
  // included: before the decoder stops.
  void ReleasePreviewPictures();
  // The desktop picture scaled to `size` and cut to the preview, made or kept
  // (still the cache's).
  HBITMAP ScaledBackground(PixelSize size);
  // The dialog picture's size at `scale`, and the picture scaled to it and cut to
  // the preview, made or kept (still the cache's).
  PixelSize DialogPictureSize(const PreviewScale& scale) const;
  HBITMAP ScaledDialogPicture(PixelSize size);
  void DrawPreviewTexts();
  void DrawPageTexts(HDC dc);
  // Puts the composed `memory` frame on the window (with its controls the first time).
  void ShowFrame(HDC paint, HDC memory, SIZE frame);
  // Gives a preview static its picture.
  void SetPreviewPicture(int id, HBITMAP picture);
  void DrawPage4Texts(HDC dc);
  void DrawPage1Text(HDC dc);
  // The thumbs on their tracks at the slider positions; the page's paint keeps
  // them there.
  void PlaceResolutionThumb();
  void PlacePictureSizeThumb();
  void DeletePreviewBitmaps();
  HFONT MakePreviewFont(double points);

  // Pages, keys and keyboard.
  void SwitchToPage(int page);
  void UpdateGreenKey();
  void SetDefaultFocus();
  void SetSlotCaptions(bool blankWhenEmpty);
  void FocusControl(HWND control);
  void Navigate(UINT key);
  void LoadFavourite(int slot);
  // Moves the resolution slider to that size (when the list has it) and the DPI
  // choice to that DPI, and asks for a new preview.
  void SelectSizeAndDpi(int width, int height, double dpi);
  void SaveFavourite(int slot);
  void SelectPreset(int preset);
  void SetPresetLatches();
  void RepaintWhole();
  void RepaintRightPanel();
  bool IsEnabled(int id) const { return ::IsWindowEnabled(GetDlgItem(id)) != FALSE; }
  Favourites FavouriteSlots() const;
  // Applying the selection (previewmaindlg_apply.cpp): switches to the selected
  // size and asks to keep it, stores the DPI choice and offers a restart.
  friend class DialogApplyOps;
  void ApplySettings();
  bool ConfirmResolution(ScreenSize size);
  void RestoreSelection(int width, int height, double dpi);
  bool AskToRestart();
  // "Are you sure to exit ?" over a fade; "Yes" ends the dialog.
  void AskToExit();

  // Sliders, mouse and timers.
  void SetUpSliders();
  void RefreshPreview();
  // The mode in force changed to the one given (0: as read from the system).
  void OnDisplayChange(int width = 0, int height = 0, int bitsPerPixel = 0);
  void RestartTimer1000(UINT periodMs);
  void OnTimerTick(UINT_PTR id);
  void StartMakingPicturesAhead();
  void MakeNextPreviewAhead();
  void OnHookButtonUp(POINT cursor);
  void OnHookMouseMove(POINT cursor);
  RECT ClientRectOf(int id) const;
  CContourBitmap* Piece(int bitmapId) const;
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  static LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
  static CPreviewMainDlg* FindRunningDialog();

  // Fields, in the order of the dialog's state description.
  HICON m_icon = nullptr;
  HCURSOR m_arrowCursor = nullptr;
  HCURSOR m_handCursor = nullptr;
  std::unique_ptr<CxSkinButton> m_buttons[kSkinnedButtonCount];
  std::unique_ptr<CContourBitmap> m_pieces[kBackgroundPieceCount];
  HWND m_lastFocused = nullptr;
  HWND m_navigationTarget = nullptr;
  HBITMAP m_backgroundPreview = nullptr;  // preview bitmaps, owned
  HBITMAP m_dialogPreview = nullptr;
  SizeList m_sizes;
  CurrentDisplayMode m_current;
  PreviewScale m_scale;
  HWND m_dpiScroll = nullptr, m_resolutionScroll = nullptr, m_pictureSizeScroll = nullptr;
  int m_dpiChoice = 100;
  int m_selectedSizeIndex = 0;
  int m_pictureSizePosition = 15;
  POINT m_lastCursor{};
  int m_page = 0;
  std::unique_ptr<ScreenConfigRecord> m_favourites;
  char m_configPath[MAX_PATH] = "";
  DpiStore m_dpiStore;  // the DPI request; its registry writer is made on the first store
  int m_accepted = 1;
  CFont m_captionFont, m_labelFont, m_previewFont;
  SaveState m_saved = SaveState::None;
  UINT_PTR m_timer1000 = 0, m_timer2000 = 0;
  RECT m_resolutionTrack{}, m_pictureSizeTrack{};
  int m_previewRebuildRequest = 1;
  UINT m_timer1000RestartPeriod = 20;
  UINT m_timer2000Period = 500;
  int m_thumbFreeMoving = 0;
  HHOOK m_mouseHook = nullptr;
  HBITMAP m_backgroundSource = nullptr;  // "UnionBG.jpg", loaded once
  ImageLoadAhead m_backgroundLoad;       // ... on a thread of its own from the start
  PictureScaler m_backgroundScaler, m_dialogScaler;
  ScaledPictureCache m_backgroundScaled{24}, m_dialogScaled{8};  // by scaled size
  CWorkerThread m_skinThread, m_sizesThread;
  HANDLE m_piecesPrepared = nullptr, m_imagesPrepared = nullptr;  // events, owned
  HANDLE m_sizesPrepared = nullptr;                                // event, owned
  HANDLE m_displaySetUp = nullptr;                                 // event, owned
  HBITMAP m_preparedPieces[kBackgroundPieceCount] = {};         // owned until attached
  struct PreparedImage {
    std::string path;
    HBITMAP picture;              // owned until used
    std::vector<HBITMAP> copies;  // the buttons' copies, made ahead; owned until used
  };
  std::vector<PreparedImage> m_preparedImages;
  SizeList m_preparedSizes;
  ScreenConfigFile m_preparedFavourites;
  GdiplusRuntime* m_decoder = nullptr;  // the process's, started by the skin thread
  char m_skinFolder[MAX_PATH] = "";                              // "" when there is none
  UINT_PTR m_timer3000 = 0;  // makes the sliders' desktop pictures ahead, one a tick
  bool m_madeAheadStarted = false;
  HBITMAP m_dialogPicture = nullptr;     // "UnionDialog.bmp" with its mask, built once
  int m_previewRefreshToggle = 1;
  int m_dialogPictureWidth = 0, m_dialogPictureHeight = 0;
  int m_previewKind = 0;
  int m_dpiPreset = -1;
  int m_hoveredSlot = -1;
  int m_noPictureAdjust = 1;
  std::unique_ptr<TvPictureAdjustment> m_tvPicture;
  int m_exitQuestionOpen = 0;

  // Counters for the timing mode and tests.
  int m_fullRepaints = 0;
  int m_previewRebuilds = 0;
  LONGLONG m_firstPaintEnd = 0;
  // Set when the show has dropped the controls' own first paints: the first frame
  // draws them (previewmaindlg_firstframe.cpp).
  bool m_controlsInFirstFrame = false;
  char m_programFolder[MAX_PATH] = "";
};
