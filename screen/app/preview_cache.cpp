#include "preview_cache.h"

HBITMAP ScaledPictureCache::Find(int width, int height) const {
  for (const Entry& e : m_entries)
    if (e.width == width && e.height == height) return e.picture;
  return nullptr;
}

void ScaledPictureCache::Keep(int width, int height, HBITMAP picture) {
  if (!picture) return;
  if (Has(width, height) || m_capacity == 0) {
    ::DeleteObject(picture);
    return;
  }
  if (m_entries.size() >= m_capacity) {
    ::DeleteObject(m_entries.front().picture);
    m_entries.erase(m_entries.begin());
  }
  m_entries.push_back(Entry{width, height, picture});
}

void ScaledPictureCache::Clear() {
  for (const Entry& e : m_entries) ::DeleteObject(e.picture);
  m_entries.clear();
}
