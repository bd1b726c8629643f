#pragma once
// The desktop's hosts (a window, an off-screen page), as the tests of a
// desktop build reach them.

#include "engine/graphics/layer.h"
#include "hosts/desktop/raster.h"

namespace lesson {

// The page of the layer's host as it stands, in pixels.
Raster& rasterOf(Layer& layer);

}  // namespace lesson
