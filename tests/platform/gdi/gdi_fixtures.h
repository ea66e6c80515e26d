// Owners of drawing handles and the memory canvas, under the names the drawing tests use.
#pragma once

#include "pda/gdi.h"
#include "memory_canvas.h"
#include "pda/owners.h"

namespace gdi_test {

template <class H>
using UniqueObject = pda::UniqueGdiObject<H>;
using UniqueDC = pda::UniqueMemoryDC;

using MemoryCanvas = test_support::MemoryCanvas;

}  // namespace gdi_test
