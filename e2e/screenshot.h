// Screenshots of windows as PNG files, for people to look at after a run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// Encodes 8-bit RGB rows (top to bottom) as a PNG file. Stored (uncompressed) deflate blocks:
// larger files, no compression library.
std::vector<uint8_t> encode_png(int width, int height, const std::vector<uint8_t>& rgb);

// Brings the window to the front, lets it paint, and writes what the screen shows of it.
bool capture_window(HWND window, const std::wstring& path);

}  // namespace e2e
