#pragma once

// The toolkit sees the plug-in side through the framework's editor delegate.
#include "framework/ICanvasEditorDelegate.h"
#include "framework/IEditorDelegate.h"
