// What the main dialog reads of its skin and pictures: the frame pieces, the
// skinned buttons' images and the size list on the skin thread while the window
// is made, then put in place on the window's thread.
#include <cstdio>
#include <cstring>

#include "contour.h"
#include "images.h"
#include "language.h"
#include "previewmaindlg.h"
#include "startup_phases.h"
#include "winapp.h"

namespace {

bool FolderExists(const char* path) {
  const DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const char* path) {
  const DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// `folder` + `name` into `out`; false when it would not fit (never cut a path).
bool JoinPath(char (&out)[MAX_PATH], const char* folder, const char* name) {
  const int n = std::snprintf(out, sizeof out, "%s%s", folder, name);
  return n > 0 && n < static_cast<int>(sizeof out);
}

// The parent of a folder that ends in a backslash, with its backslash.
void ParentFolder(char (&out)[MAX_PATH], const char* folder) {
  std::snprintf(out, sizeof out, "%s", folder);
  size_t n = std::strlen(out);
  if (n && out[n - 1] == '\\') out[--n] = '\0';
  char* slash = std::strrchr(out, '\\');
  if (slash) slash[1] = '\0';
}

void MoveControl(HWND control, const PixelRect& r) {
  if (!control) return;
  // A control nobody sees (the dialog is still hidden, or the control is) is
  // painted when shown: no repaint, and no erasing of the dialog behind it,
  // which is a round trip to the window server for each control.
  const UINT unseen = ::IsWindowVisible(control) ? 0 : SWP_NOREDRAW | SWP_DEFERERASE;
  ::SetWindowPos(control, nullptr, r.x, r.y, r.w, r.h, SWP_NOZORDER | SWP_NOACTIVATE | unseen);
}

}  // namespace

bool CPreviewMainDlg::FindSkinFolder(char (&folder)[MAX_PATH]) const {
  if (JoinPath(folder, m_programFolder, "res\\DPI\\Middle\\Images\\") && FolderExists(folder)) return true;
  char parent[MAX_PATH];
  ParentFolder(parent, m_programFolder);
  return JoinPath(folder, parent, "res\\DPI\\Middle\\Images\\") && FolderExists(folder);
}

// The preview's desktop picture is the one file that needs the decoder, whose
// first use is slow; it and the skin are read while the window is being built.
void CPreviewMainDlg::StartPreparing(GdiplusRuntime* decoder) {
  m_decoder = decoder;  // started on the skin thread
  if (!FindSkinFolder(m_skinFolder)) m_skinFolder[0] = '\0';
  m_piecesPrepared = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_imagesPrepared = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const bool events = m_piecesPrepared && m_imagesPrepared;
  if (!events || !m_skinThread.Start(&CPreviewMainDlg::PrepareSkinThread, this)) {
    PrepareSkin();  // here and now, then
  }
}

// What was prepared and never taken (a dialog that was never made).
void CPreviewMainDlg::ForgetPrepared() {
  JoinSkinThread();
  if (m_piecesPrepared) ::CloseHandle(m_piecesPrepared);
  if (m_imagesPrepared) ::CloseHandle(m_imagesPrepared);
  if (m_sizesPrepared) ::CloseHandle(m_sizesPrepared);
  if (m_displaySetUp) ::CloseHandle(m_displaySetUp);
  m_piecesPrepared = m_imagesPrepared = m_sizesPrepared = m_displaySetUp = nullptr;
  for (HBITMAP& piece : m_preparedPieces) {
    if (piece) ::DeleteObject(piece);
    piece = nullptr;
  }
  for (auto& image : m_preparedImages) {
    ::DeleteObject(image.picture);
    for (HBITMAP copy : image.copies) ::DeleteObject(copy);
  }
  m_preparedImages.clear();
}

UINT CPreviewMainDlg::PrepareSkinThread(LPVOID dialog) {
  static_cast<CPreviewMainDlg*>(dialog)->PrepareSkin();
  return 0;
}

UINT CPreviewMainDlg::PrepareSizesThread(LPVOID dialog) {
  auto* self = static_cast<CPreviewMainDlg*>(dialog);
  // Under Wine the first window call of a process sets up the display driver and
  // then loads the visual styles, some 850 round trips to the window server that
  // every later window call waits for. Loading the styles library here, before
  // the window's thread makes its first window call, has this thread pay for
  // both while the window's thread loads the language library and starts the
  // skin (about a tenth off the start). Elsewhere it is loaded already.
  ::LoadLibraryA("uxtheme.dll");
  ::SetEvent(self->m_displaySetUp);
  self->PrepareSizes();
  return 0;
}

// The size list on a thread of its own: the driver's list of modes takes as long
// to walk as the skin takes to read, and the dialog needs the list before the
// skin thread's last work, the first preview. Without that thread (no event, or
// no thread), the skin's preparation makes the list.
void CPreviewMainDlg::StartPreparingSizes() {
  m_sizesPrepared = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_displaySetUp = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (m_sizesPrepared && m_displaySetUp) m_sizesThread.Start(&CPreviewMainDlg::PrepareSizesThread, this);
}

// The window's thread makes no window call while the styles are being set up on
// the size-list thread, as when it set them up itself. Without this wait, one test
// start in about 130 showed the window with a title bar it does not have.
void CPreviewMainDlg::WaitForDisplaySetUp() const {
  if (m_sizesThread.Handle()) ::WaitForSingleObject(m_displaySetUp, INFINITE);
}

void CPreviewMainDlg::PrepareSizes() {
  m_preparedFavourites = LocateScreenConfig();  // loads the shell on this thread
  m_preparedSizes = BuildDisplaySizeList();
  if (m_sizesPrepared) ::SetEvent(m_sizesPrepared);
}

// Runs on its own thread, in the order the initialisation needs the results; it
// touches nothing but what it fills, and each stage's results only until its
// event is set.
void CPreviewMainDlg::PrepareSkin() {
  char background[MAX_PATH];
  if (m_decoder && m_decoder->Start() && FindBackgroundSource(background))
    m_backgroundLoad.Start(background);
  for (int i = 0; i < kBackgroundPieceCount; ++i) {
    m_preparedPieces[i] =
        ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kBackgroundPieces[i].bitmapId));
  }
  ::SetEvent(m_piecesPrepared);
  if (m_skinFolder[0]) {
    auto find = [this](const char* path) -> PreparedImage* {
      for (PreparedImage& image : m_preparedImages)
        if (image.path == path) return &image;
      return nullptr;
    };
    for (const SkinnedButtonRow& row : kSkinnedButtons) {
      for (const char* name : {row.normal, row.down, row.over, row.unavailable}) {
        char path[MAX_PATH];
        if (!name || !*name || !JoinPath(path, m_skinFolder, name)) continue;
        if (find(path) || !FileExists(path)) continue;
        if (HBITMAP picture = LoadImageAsBitmap(path))
          m_preparedImages.push_back(PreparedImage{path, picture, {}});
      }
    }
    // Each button takes a copy of each of its looks (the over look twice: hover
    // and focus, the normal look again when there is no unavailable one); made
    // here, they cost the window's thread nothing. A miscount costs only time:
    // the decode scope makes what is missing and frees what is left.
    for (const SkinnedButtonRow& row : kSkinnedButtons) {
      char path[MAX_PATH];
      auto copyFor = [&](const char* name) {
        PreparedImage* image = name && *name && JoinPath(path, m_skinFolder, name) ? find(path) : nullptr;
        if (!image) return false;
        if (HBITMAP copy = CopyDib32(image->picture)) image->copies.push_back(copy);
        return true;
      };
      copyFor(row.normal);
      copyFor(row.down);
      copyFor(row.over);
      copyFor(row.over);
      if (!copyFor(row.unavailable)) copyFor(row.normal);
    }
  }
  BindSkinButtonDrawing();  // its library, loaded here rather than at the first paint
  ::SetEvent(m_imagesPrepared);
  if (!m_sizesThread.Handle()) PrepareSizes();
  PrepareFirstPreview();
}

void CPreviewMainDlg::TakePreparedPieces() {
  if (m_piecesPrepared) ::WaitForSingleObject(m_piecesPrepared, INFINITE);
  for (int i = 0; i < kBackgroundPieceCount; ++i) {
    if (m_preparedPieces[i] && m_pieces[i] && !m_pieces[i]->GetSafeHandle())
      m_pieces[i]->Attach(m_preparedPieces[i]);
    else if (m_preparedPieces[i]) ::DeleteObject(m_preparedPieces[i]);
    m_preparedPieces[i] = nullptr;
  }
}

void CPreviewMainDlg::JoinSkinThread() {
  for (CWorkerThread* thread : {&m_skinThread, &m_sizesThread}) {
    if (!thread->Handle()) continue;
    thread->Join();
    thread->Close();
  }
}

void CPreviewMainDlg::SetUpSkin() {
  for (int i = 0; i < kBackgroundPieceCount; ++i) {
    if (!m_pieces[i]->GetSafeHandle()) m_pieces[i]->LoadBitmap(kBackgroundPieces[i].bitmapId);
  }
  startup_phases::MarkEnd("frame bitmaps");

  MoveControl(GetDlgItem(ids::kBackgroundPreview), kBackgroundPreviewPlace);
  MoveControl(GetDlgItem(ids::kDialogPreview), kDialogPreviewPlace);

  // The window takes the frame's shape; the system owns the region from here on.
  if (HRGN region = m_pieces[0]->CreateContourRegion()) {
    if (!::SetWindowRgn(m_hWnd, region, TRUE)) ::DeleteObject(region);
  }

  startup_phases::MarkEnd("window region");
  for (const TextLabelRow& row : kTextLabels) MoveControl(GetDlgItem(row.id), row.place);

  if (m_skinFolder[0]) {
    // Each file decoded once, most of them read already while the window was made.
    if (m_imagesPrepared) ::WaitForSingleObject(m_imagesPrepared, INFINITE);
    ImageDecodeScope decodeEachFileOnce;
    for (auto& image : m_preparedImages)
      decodeEachFileOnce.Keep(image.path.c_str(), image.picture, std::move(image.copies));
    m_preparedImages.clear();
    for (int i = 0; i < kSkinnedButtonCount; ++i) {
      const SkinnedButtonRow& row = kSkinnedButtons[i];
      MoveControl(GetDlgItem(row.id), row.place);
      m_buttons[i]->LoadSkinImages(row.normal, row.down, row.over, row.unavailable, m_skinFolder,
                                   row.role);
    }
  }
  ::ShowWindow(GetDlgItem(ids::kBackgroundPreview), SW_SHOW);
  ::ShowWindow(GetDlgItem(ids::kDialogPreview), SW_SHOW);
}

void CPreviewMainDlg::MakeFavouriteControls() {
  if (!HasLaterControls()) return;  // made already, or with the dialog
  MakeLaterControls();
  UpdateData(FALSE);  // binds the slots to their skinned buttons, whose images are loaded
  if (!m_skinFolder[0]) return;  // as SetUpSkin: no skin, no places
  for (int id : ids::kFavouritePages) {
    if (const SkinnedButtonRow* row = FindSkinnedButton(id)) MoveControl(GetDlgItem(id), row->place);
  }
}

void CPreviewMainDlg::NudgeBottomRowForLanguage() {
  struct Nudge { int id, dx, dy; };
  static const Nudge dutch[] = {{1039, 2, 0}, {1043, 2, 0}};
  static const Nudge finnish[] = {{1036, -3, 0}, {1029, -3, 3}, {1040, 0, 3},
                                  {1041, 0, 3},  {1039, 20, 0}, {1043, 20, 3}};
  const Nudge* nudges = nullptr;
  size_t count = 0;
  if (IsCurrentLanguage("Dutch")) {
    nudges = dutch;
    count = std::size(dutch);
  } else if (IsCurrentLanguage("Finnish") || (IsCurrentLanguage("Poland") && m_noPictureAdjust == 0)) {
    nudges = finnish;
    count = std::size(finnish);
  }
  for (size_t i = 0; i < count; ++i) {
    RECT r = ClientRectOf(nudges[i].id);
    ::OffsetRect(&r, nudges[i].dx, nudges[i].dy);
    ::MoveWindow(GetDlgItem(nudges[i].id), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

bool CPreviewMainDlg::FindBackgroundSource(char (&path)[MAX_PATH]) const {
  char parent[MAX_PATH];
  ParentFolder(parent, m_programFolder);
  return (JoinPath(path, m_programFolder, "res\\DPI\\UnionBG.jpg") && FileExists(path)) ||
         (JoinPath(path, parent, "res\\DPI\\UnionBG.jpg") && FileExists(path));
}

void CPreviewMainDlg::LoadDialogPicture() {
  char parent[MAX_PATH];
  ParentFolder(parent, m_programFolder);
  char path[MAX_PATH];
  const bool arabic = IsCurrentLanguage("Arabic");
  char folder[MAX_PATH] = "";
  if (JoinPath(path, m_programFolder, arabic ? "res\\DPI\\UnionDialogRTL.jpg" : "res\\DPI\\UnionDialog.bmp") &&
      FileExists(path)) {
    JoinPath(folder, m_programFolder, "res\\DPI\\");
  } else if (JoinPath(path, parent, arabic ? "res\\DPI\\UnionDialogRTL.bmp" : "res\\DPI\\UnionDialog.bmp") &&
             FileExists(path)) {
    JoinPath(folder, parent, "res\\DPI\\");
  } else {
    return;
  }
  HBITMAP image = LoadImageAsBitmap(path);
  if (!image) return;
  char maskPath[MAX_PATH];
  HBITMAP mask = JoinPath(maskPath, folder, "UnionDialogMask.bmp") && FileExists(maskPath)
                     ? LoadImageAsBitmap(maskPath)
                     : nullptr;
  BITMAP bm{};
  ::GetObjectA(image, sizeof bm, &bm);
  m_dialogPicture = mask ? ComposeMaskedBitmap(image, mask, bm.bmWidth, bm.bmHeight)
                         : CopyBitmap(image);
  if (mask) ::DeleteObject(mask);
  ::DeleteObject(image);
}
