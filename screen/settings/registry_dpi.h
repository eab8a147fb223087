// The DPI request that PioScreen leaves for KvSrcHelper, and the machine-wide DPI
// value that the helper copies it to. Both programs include this; it needs no
// <windows.h>, so the bounds are tested natively.
#pragma once

#include <cstdint>

namespace dpireg {

// Per user, under HKEY_CURRENT_USER. Both programs have always passed the key with
// its trailing backslash; keep it so.
constexpr char kRequestKeyA[] = "SOFTWARE\\KAVO\\KvSrc\\";
constexpr wchar_t kRequestKeyW[] = L"SOFTWARE\\KAVO\\KvSrc\\";
constexpr char kRequestValueA[] = "Range";
constexpr wchar_t kRequestValueW[] = L"Range";
// The request key's parent, which learns of the request key's removal and return.
constexpr wchar_t kRequestParentKeyW[] = L"SOFTWARE\\KAVO";

// Machine-wide, under HKEY_LOCAL_MACHINE; Windows takes it at its next start.
constexpr wchar_t kSystemKeyW[] =
    L"SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts";
constexpr wchar_t kSystemValueW[] = L"LogPixels";

// The DPI values a desktop can be used at. 72 (75 %) is the smallest scale any
// display has been set to; below it dialog text is no longer legible. 480 (500 %)
// is the largest that Windows' own custom-DPI dialog offers; beyond it dialogs no
// longer fit any screen. The request value is writable by every user, and the
// machine-wide value applies to every account after the next start, so nothing
// outside these bounds is ever stored or copied.
constexpr std::uint32_t kMinUsableDpi = 72;
constexpr std::uint32_t kMaxUsableDpi = 480;

bool IsUsableDpi(std::uint32_t dpi);

}  // namespace dpireg
