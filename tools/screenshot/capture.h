// Pictures of windows as the screen shows them: each written as a numbered 24-bit BMP into one
// folder (screenshot.sh turns them into PNGs).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Where the pictures go (made when missing) and the number of the first; numbering goes on
// across calls.
void SetCaptureFolder(const std::string &folder, int firstNumber = 1);
// The window's rectangle, frame included, after it has finished painting: NN-name.bmp.
void Capture(HWND window, const std::string &name);
// Photographs every window the action opens, under the next of names (after preparing it), and
// closes it with the given command (a form of ours with WM_CLOSE).
void Shoot(const std::function<void()> &action, std::vector<std::string> names, WPARAM command,
           const std::function<void(HWND)> &prepare = nullptr);
// Serves the queue for a moment.
void Settle();
