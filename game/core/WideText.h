#pragma once
#include <cstddef>
#include <string>

// The number of characters of a wide text.
size_t WideLength(const std::wstring& text);
// Compares whole texts character by character: -1 when a is smaller, 1 when
// it is larger, 0 when they are equal; a text that ends first is smaller.
int WideCompare(const std::wstring& a, const std::wstring& b);
// Drops every "^", blanks at the start, every blank after a blank, and one
// blank at the end: " x  y^z " gives "x yz".
std::wstring CleanWideText(const std::wstring& text);
