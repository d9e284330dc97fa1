#pragma once

// Value types and codes of the CPU Metal layer. The numbers are Metal's own,
// so code written against Metal passes the same values.

#include <cstddef>
#include <cstdint>

namespace mtl {

enum PixelFormat : uint64_t {
    PixelFormatInvalid = 0,
    PixelFormatR8Unorm = 10,
    PixelFormatRGBA8Unorm = 70,
    PixelFormatBGRA8Unorm = 80,
    PixelFormatStencil8 = 253,
};

enum BlendFactor : uint64_t {
    BlendFactorZero = 0,
    BlendFactorOne = 1,
    BlendFactorSourceColor = 2,
    BlendFactorOneMinusSourceColor = 3,
    BlendFactorSourceAlpha = 4,
    BlendFactorOneMinusSourceAlpha = 5,
    BlendFactorDestinationColor = 6,
    BlendFactorOneMinusDestinationColor = 7,
    BlendFactorDestinationAlpha = 8,
    BlendFactorOneMinusDestinationAlpha = 9,
    BlendFactorSourceAlphaSaturated = 10,
};

enum CompareFunction : uint64_t {
    CompareFunctionNever = 0,
    CompareFunctionLess = 1,
    CompareFunctionEqual = 2,
    CompareFunctionLessEqual = 3,
    CompareFunctionGreater = 4,
    CompareFunctionNotEqual = 5,
    CompareFunctionGreaterEqual = 6,
    CompareFunctionAlways = 7,
};

enum StencilOperation : uint64_t {
    StencilOperationKeep = 0,
    StencilOperationZero = 1,
    StencilOperationReplace = 2,
    StencilOperationIncrementClamp = 3,
    StencilOperationDecrementClamp = 4,
    StencilOperationInvert = 5,
    StencilOperationIncrementWrap = 6,
    StencilOperationDecrementWrap = 7,
};

enum CullMode : uint64_t { CullModeNone = 0, CullModeFront = 1, CullModeBack = 2 };
enum Winding : uint64_t { WindingClockwise = 0, WindingCounterClockwise = 1 };
enum LoadAction : uint64_t { LoadActionDontCare = 0, LoadActionLoad = 1, LoadActionClear = 2 };
enum StoreAction : uint64_t { StoreActionDontCare = 0, StoreActionStore = 1 };
enum PrimitiveType : uint64_t { PrimitiveTypeTriangle = 3, PrimitiveTypeTriangleStrip = 4 };
enum IndexType : uint64_t { IndexTypeUInt16 = 0, IndexTypeUInt32 = 1 };

enum ColorWriteMask : uint64_t {
    ColorWriteMaskNone = 0,
    ColorWriteMaskAlpha = 1,
    ColorWriteMaskBlue = 2,
    ColorWriteMaskGreen = 4,
    ColorWriteMaskRed = 8,
    ColorWriteMaskAll = 15,
};

enum SamplerMinMagFilter : uint64_t {
    SamplerMinMagFilterNearest = 0,
    SamplerMinMagFilterLinear = 1
};
enum SamplerMipFilter : uint64_t {
    SamplerMipFilterNotMipmapped = 0,
    SamplerMipFilterNearest = 1,
    SamplerMipFilterLinear = 2,
};
enum SamplerAddressMode : uint64_t {
    SamplerAddressModeClampToEdge = 0,
    SamplerAddressModeRepeat = 2
};

enum StorageMode : uint64_t {
    StorageModeShared = 0,
    StorageModeManaged = 1,
    StorageModePrivate = 2
};
enum ResourceOptions : uint64_t { ResourceCPUCacheModeWriteCombined = 1 };
enum TextureUsage : uint64_t {
    TextureUsageShaderRead = 1,
    TextureUsageShaderWrite = 2,
    TextureUsageRenderTarget = 4,
};
enum TextureType : uint64_t { TextureType2D = 2 };

struct Origin {
    size_t x = 0, y = 0, z = 0;
};
struct Size {
    size_t width = 0, height = 0, depth = 1;
};
struct Region {
    Origin origin;
    Size size;
    static Region make2D(size_t x, size_t y, size_t w, size_t h) { return {{x, y, 0}, {w, h, 1}}; }
};

struct Viewport {
    double originX = 0, originY = 0, width = 0, height = 0, znear = 0, zfar = 1;
};
struct ScissorRect {
    size_t x = 0, y = 0, width = 0, height = 0;
};
struct ClearColor {
    double red = 0, green = 0, blue = 0, alpha = 0;
};

// Bytes per pixel of a format; 0 for one the layer does not know.
size_t bytes_per_pixel(PixelFormat format);

} // namespace mtl
