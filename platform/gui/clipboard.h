#pragma once

#include <string>

namespace plotvik {

class TCustomPanel;

// Puts the panel's picture on the desktop's clipboard as a PNG image (image/png), exactly as the
// panel's window shows it: a pending paint runs first, and on a scaled screen the picture is the
// screen's pixels (each pixel a block when enlarged, shrunk as the window shrinks it below 1).
// Without a window the picture is the window image itself.
void CopyPanelToClipboard(TCustomPanel& panel);

// Puts UTF-8 `text` on the desktop's clipboard as plain text.
void CopyTextToClipboard(const std::string& text);

}  // namespace plotvik
