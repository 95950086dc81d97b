// The result tree's three 16 x 16 images, drawn with GDI: a plain value, an object, an array.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace vivu {

// An image list holding kImageValue, kImageObject and kImageArray (ItemLabel.h)
// in that order; the caller destroys it. Null when GDI fails.
HIMAGELIST CreateTreeImages();

} // namespace vivu
