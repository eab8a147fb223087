// Scaled pictures of the preview kept by their size: a rebuild at a size seen
// before (the start-up's second paint, a slider moved back, another text size at
// the same screen size) copies instead of scaling again.
#pragma once

#include <windows.h>

#include <vector>

class ScaledPictureCache {
 public:
  explicit ScaledPictureCache(std::size_t capacity) : m_capacity(capacity) {}
  ~ScaledPictureCache() { Clear(); }
  ScaledPictureCache(const ScaledPictureCache&) = delete;
  ScaledPictureCache& operator=(const ScaledPictureCache&) = delete;

  // The picture kept for that size (still the cache's), or null.
  HBITMAP Find(int width, int height) const;
  // Takes the picture over; when full, the one kept longest goes.
  void Keep(int width, int height, HBITMAP picture);
  bool Has(int width, int height) const { return Find(width, height) != nullptr; }
  void Clear();

 private:
  struct Entry {
    int width, height;
    HBITMAP picture;  // owned
  };
  std::size_t m_capacity;
  std::vector<Entry> m_entries;  // oldest first
};
