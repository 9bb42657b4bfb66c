#pragma once

// The textured panel: the texture and the pictures on it (button faces, title plates), drawn once
// into a backing bitmap that its transparent children show through.

#include <windows.h>

#include "chrome/win32/chrome_window.h"
#include "chrome/win32/widget.h"

namespace norv::widgets {

enum class PictureKind { kFaceReleased, kFacePressed, kTitlePlate };

HWND CreatePanel(HWND parent, const StylePtr& style, DesignRect rect);
// Adds a picture to a panel's drawing; returns its index for SetPanelPicture, or -1 when `panel`
// is not a panel.
int AddPanelPicture(HWND panel, PictureKind kind, DesignRect rect, FaceFit fit);
void SetPanelPicture(HWND panel, int index, PictureKind kind);

// Paints the part of the parent panel's drawing that lies under `child`, so the child looks
// transparent; a child of anything else gets the dialog colour.
void PaintParentBackground(HWND child, HDC target, const RECT& area);

}  // namespace norv::widgets
