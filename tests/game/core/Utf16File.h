#pragma once
// Game configuration files as the game stores them: UTF-16 little-endian
// text after a byte-order mark.
#include "framework/app/Utf16.h"

#include <string>

inline std::string Utf16File(const std::wstring& text) { return "\xFF\xFE" + Zelk::WideToUtf16LE(text); }
