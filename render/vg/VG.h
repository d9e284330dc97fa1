#pragma once

// The vector renderer's whole interface.

#include "render/vg/VGColor.h"
#include "render/vg/VGContext.h"
#include "render/vg/VGImage.h"
#include "render/vg/VGPaint.h"
#include "render/vg/VGPath.h"
#include "render/vg/VGRendererTable.h"
#include "render/vg/VGText.h"
#include "render/vg/VGTransform.h"
#include "render/vg/VGTypes.h"
