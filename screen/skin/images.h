// Image files to GDI bitmaps, and the small bitmap operations the main dialog
// builds its pictures with. Every bitmap returned is new and belongs to the caller
// (DeleteObject); no function frees or changes the bitmaps it is given.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "thread.h"

// The process's start and stop of GDI+. LoadImageAsBitmap and ScaleBitmap need it
// running; the other operations are plain GDI. It may be started on one thread
// and stopped on another.
class GdiplusRuntime {
 public:
  GdiplusRuntime() = default;
  ~GdiplusRuntime() { Stop(); }
  GdiplusRuntime(const GdiplusRuntime&) = delete;
  GdiplusRuntime& operator=(const GdiplusRuntime&) = delete;

  // True when GDI+ runs (also when it already ran through this holder).
  bool Start();
  void Stop();
  bool IsRunning() const;

 private:
  mutable CCriticalSection m_lock;
  ULONG_PTR m_token = 0;
};

// A BMP, JPEG or PNG file (any format GDI+ decodes) as a 32-bit bitmap of its own
// pixel size; null for a missing, unreadable, undecodable or absurdly large file,
// a folder, or a path of MAX_PATH characters or more.
HBITMAP LoadImageAsBitmap(const char* path);

// While a scope lives, LoadImageAsBitmap on its thread decodes each file once and
// hands out copies of the picture: a skin names one file for many buttons (six
// slots, three thumbs, every over image twice), and decoding is what start-up
// spends most of its time on. Scopes nest; each frees its copies when it ends.
class ImageDecodeScope {
 public:
  ImageDecodeScope();
  ~ImageDecodeScope();
  ImageDecodeScope(const ImageDecodeScope&) = delete;
  ImageDecodeScope& operator=(const ImageDecodeScope&) = delete;

  // A new copy of what `path` decoded to in this scope, or null: one of the copies
  // made ahead while there are any, a new one after them.
  HBITMAP CopyOf(const char* path);
  // Keeps the decoded picture of `path` and copies of it made ahead (on another
  // thread, say); the scope owns them all from here and frees the copies nobody took.
  void Keep(const char* path, HBITMAP decoded, std::vector<HBITMAP> copiesMadeAhead = {});

 private:
  struct Entry {
    std::string path;
    HBITMAP picture;             // owned
    std::vector<HBITMAP> ahead;  // owned until handed out
  };
  std::vector<Entry> m_decoded;
  ImageDecodeScope* m_outer;
};

// A new 32-bit DIB with the pixels (alpha included) of a 32-bit DIB, such as
// LoadImageAsBitmap gives; null for anything else.
HBITMAP CopyDib32(HBITMAP source);

// LoadImageAsBitmap on a thread of its own, started at once: a picture that is
// needed later is decoded while the caller does other work. GDI+ must run from
// Start until Take (or the destructor) has returned.
class ImageLoadAhead {
 public:
  ImageLoadAhead() = default;
  ~ImageLoadAhead();  // waits for the thread; frees a picture nobody took
  ImageLoadAhead(const ImageLoadAhead&) = delete;
  ImageLoadAhead& operator=(const ImageLoadAhead&) = delete;

  // Starts loading `path` (copied); false when no thread could be started, and
  // then Take loads it on the caller's thread.
  bool Start(const char* path);
  // The picture of the path given to Start, waited for; the caller owns it.
  // Null when it could not be loaded, when nothing was started or when it was
  // taken already.
  HBITMAP Take();
  const std::string& Path() const { return m_path; }

 private:
  static UINT Run(LPVOID self);
  CWorkerThread m_thread;
  std::string m_path;
  HBITMAP m_picture = nullptr;  // owned until taken
  bool m_pending = false;       // started and not taken
};

// An empty 32-bit DIB section; a negative height makes it top-down. False (and a
// null handle) when none could be made or `bitmap` is null; `bits` may be null.
bool CreateDib32(int width, int height, HBITMAP* bitmap, void** bits);

// A source picture held in the decoder's form for repeated scaling. Each call
// gives what ScaleBitmap and then CropBitmap give, pixel for pixel, but draws only
// the pixels that the crop keeps, and at the source's own size only copies.
class PictureScaler {
 public:
  PictureScaler() = default;
  ~PictureScaler();
  PictureScaler(const PictureScaler&) = delete;
  PictureScaler& operator=(const PictureScaler&) = delete;

  // Takes a copy of the source's pixels (null: none); the source stays the caller's.
  void Reset(HBITMAP source);
  // A new 32-bit DIB of the top-left cropWidth x cropHeight of the source scaled
  // to width x height; null with no source, for a crop larger than the scaled
  // picture, a size out of range or a failed draw.
  HBITMAP ScaledAndCropped(int width, int height, int cropWidth, int cropHeight) const;

 private:
  HBITMAP m_source = nullptr;    // not owned; read for the copy at its own size
  void* m_picture = nullptr;     // the decoder's bitmap, owned
  int m_width = 0, m_height = 0;
};

// A new 32-bit DIB of width x height holding the whole source scaled; null for a
// null source, a size out of range, or a failed draw.
HBITMAP ScaleBitmap(HBITMAP source, int width, int height);

// A new 32-bit DIB of the source's top-left width x |height| pixels (top-down
// for a negative height); null when the source is null or smaller than that.
HBITMAP CropBitmap(HBITMAP source, int width, int height);

// A new bitmap in the display's format with the source's size and pixels; null
// for a null source.
HBITMAP CopyBitmap(HBITMAP source);

// A new display-format bitmap of width x height: `image` where `mask` is black,
// what the display shows at its top-left corner where `mask` is white. Null when
// either bitmap is null or the size is out of range.
HBITMAP ComposeMaskedBitmap(HBITMAP image, HBITMAP mask, int width, int height);
