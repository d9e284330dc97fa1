#include "winlayer/window/MetalView.h"

#include "platform/ak/Application.h"
#include "platform/ak/Screen.h"
#include "platform/ak/Window.h"
#include "platform/sys/Log.h"
#include "winlayer/MessageQueue.h"
#include "winlayer/WinBasics.h"
#include "winlayer/draw/GdiRecords.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace winlayer {

namespace {

// The command queue of a device and the buffer that collects presentations
// until the flush (or the refresh outside one) commits it.
struct DeviceRecord {
    std::shared_ptr<mtl::CommandQueue> queue;
    std::shared_ptr<mtl::CommandBuffer> pending;
};

struct MetalViews {
    NeedRefreshList needRefresh;
    std::map<const mtl::Device*, DeviceRecord> devices;
    bool flushing = false;
    bool timerStarted = false;
};

MetalViews& Views() {
    static MetalViews views;
    return views;
}

void Log(const char* format, const void* pointer = nullptr) {
    char line[256];
    std::snprintf(line, sizeof line, format, pointer);
    sys::LogError(line);
}

void FlushTimer(HWND, UINT, UINT_PTR, DWORD) {
    FlushMetalViews();
}

} // namespace

MetalView::MetalView(Wisp_vOmnarControl_hwnd* view, int mode)
    : view_(view), mode_(mode), alive_(std::make_shared<Wisp_vOmnarControl_hwnd*>(view)) {
    std::weak_ptr<Wisp_vOmnarControl_hwnd*> alive = alive_;
    presented_ = std::make_shared<PresentedFrame>([alive] {
        ak::Application::RunOnMainLater([alive] {
            if (const auto view = alive.lock(); view && *view)
                (*view)->SetNeedsDisplay();
        });
    });
    layer_->setPresenter(presented_);
    layer_->opaque = false;
}

MetalView::~MetalView() {
    *alive_ = nullptr;
    Views().needRefresh.Remove(view_);
}

bool MetalView::OpenFrame(bool retina) {
    const ak::Size bounds = view_->Bounds().size;
    const std::optional<PixelSize> size = DrawableSize(bounds.width, bounds.height, retina);
    if (!size)
        return false;
    retina_ = retina;
    if (mode_ == direct) {
        layer_->drawableSize = {std::size_t(size->width), std::size_t(size->height), 1};
        drawable_ = layer_->nextDrawable();
        texture_ = drawable_ ? drawable_->texture() : nullptr;
        if (!texture_)
            Log("wisp-cocoa: error creating metal texture for direct mode\n");
    } else {
        const PixelSize have =
            texture_ ? PixelSize{int(texture_->width()), int(texture_->height())} : PixelSize{};
        if (!texture_ || !KeepsTexture(have, *size)) {
            texture_ = device_ ? device_->newTexture(mtl::TextureDescriptor::texture2D(
                                     mtl::PixelFormatBGRA8Unorm, RoundUpTo4(size->width),
                                     RoundUpTo4(size->height), false))
                               : nullptr;
            if (!texture_)
                Log("wisp-cocoa: error creating metal texture for full mode\n");
        }
    }
    dirty_ = 1;
    return true;
}

void MetalView::Upload(const std::uint32_t* pixels, int x, int y, int width, int height, int stride,
                       bool retina) {
    if (!pixels || width < 1 || height < 1)
        return;
    if (!dirty_ && !OpenFrame(retina))
        return;
    if (!texture_)
        return;
    // Clip to the texture; a negative origin skips the first source columns or rows.
    int skipX = 0, skipY = 0;
    if (x < 0) {
        skipX = -x;
        width += x;
        x = 0;
    }
    if (y < 0) {
        skipY = -y;
        height += y;
        y = 0;
    }
    width = std::min<long long>(width, static_cast<long long>(texture_->width()) - x);
    height = std::min<long long>(height, static_cast<long long>(texture_->height()) - y);
    if (width < 1 || height < 1)
        return;
    const mtl::Region region{{std::size_t(x), std::size_t(y), 0},
                             {std::size_t(width), std::size_t(height), 1}};
    texture_->replaceRegion(region, 0, pixels + std::size_t(skipY) * stride + skipX,
                            std::size_t(stride) * 4);
}

bool MetalView::ViewRetina() const {
    return ak::Screen::Main().BackingScaleFactor() >= 2;
}

std::vector<std::uint32_t> MetalView::ReadBack(int x, int y, int width, int height) const {
    std::vector<std::uint32_t> pixels(std::size_t(width) * height);
    if (!texture_)
        return pixels;
    const int w = std::min<long long>(width, static_cast<long long>(texture_->width()) - x);
    const int h = std::min<long long>(height, static_cast<long long>(texture_->height()) - y);
    if (x < 0 || y < 0 || w < 1 || h < 1)
        return pixels;
    texture_->getBytes(
        pixels.data(), std::size_t(width) * 4,
        mtl::Region::make2D(std::size_t(x), std::size_t(y), std::size_t(w), std::size_t(h)), 0);
    return pixels;
}

void MetalView::Blit(const std::uint32_t* pixels, int x, int y, int width, int height, int stride,
                     bool retina, bool blend) {
    if (!pixels || width < 1 || height < 1)
        return;
    if (!dirty_) { // the first pixels open the frame as they are
        Upload(pixels, x, y, width, height, stride, retina);
        return;
    }
    std::vector<std::uint32_t> doubled;
    if (!retina && retina_) {
        doubled = DoublePixels(pixels, width, height, stride);
        pixels = doubled.data();
        x *= 2;
        y *= 2;
        width *= 2;
        height *= 2;
        stride = width;
        retina = true;
    } else if (retina && !retina_) {
        if (mode_ == direct) {
            char line[256];
            std::snprintf(line, sizeof line,
                          "wisp-cocoa: DRAWING UNSUPPORTED: metal direct-mode non-retina drawing "
                          "followed by retina drawing, will cause incorrect display. (%p %d %d %d "
                          "%d)\n",
                          static_cast<const void*>(pixels), x, y, width, height);
            sys::LogError(line);
        } else if (texture_) {
            Log("wisp-cocoa: PERFORMANCE WARNING: metal non-retina drawing followed by retina "
                "drawing, calling code should be fixed.\n");
            const int w = int(texture_->width()), h = int(texture_->height());
            const std::vector<std::uint32_t> old = ReadBack(0, 0, w, h);
            std::vector<std::uint32_t> whole = DoublePixels(old.data(), w, h, w);
            const int wide = 2 * w;
            for (int row = 0; row < height; ++row)
                for (int col = 0; col < width; ++col) {
                    const int tx = x + col, ty = y + row;
                    if (tx < 0 || ty < 0 || tx >= wide || ty >= 2 * h)
                        continue;
                    std::uint32_t& out = whole[std::size_t(ty) * wide + tx];
                    const std::uint32_t in = pixels[std::size_t(row) * stride + col];
                    out = blend ? BlendOver(out, in) : in;
                }
            dirty_ = 0;
            Upload(whole.data(), 0, 0, wide, 2 * h, wide, true);
            return;
        }
    }
    if (!blend) {
        Upload(pixels, x, y, width, height, stride, retina);
        return;
    }
    if (x < 0) { // what lies left of or above the frame never shows
        pixels -= x;
        width += x;
        x = 0;
    }
    if (y < 0) {
        pixels -= std::ptrdiff_t(y) * stride;
        height += y;
        y = 0;
    }
    if (width < 1 || height < 1)
        return;
    std::vector<std::uint32_t> under = ReadBack(x, y, width, height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            std::uint32_t& out = under[std::size_t(row) * width + col];
            out = BlendOver(out, pixels[std::size_t(row) * stride + col]);
        }
    Upload(under.data(), x, y, width, height, width, retina);
}

void MetalView::Refresh(const RECT* area) {
    if (mode_ != direct && mode_ != full)
        return;
    if (!device_)
        device_ = mtl::Device::createSystemDefaultDevice(); // one CPU device, kept
    if (layer_->device() != device_) {
        layer_->setDevice(device_);
        texture_ = nullptr;
        drawable_ = nullptr;
    }
    MetalViews& views = Views();
    auto record = views.devices.find(device_.get());
    if (record == views.devices.end()) {
        Log("wisp-cocoa: creating metal device context for %p\n", device_.get());
        record = views.devices.emplace(device_.get(), DeviceRecord{}).first;
    }
    RECT client{};
    GetClientRect(view_->Handle(), &client);
    RECT paint = client;
    if (mode_ == full && area) {
        paint = {std::max(client.left, area->left), std::max(client.top, area->top),
                 std::min(client.right, area->right), std::min(client.bottom, area->bottom)};
    }
    if (mode_ == direct) {
        drawable_ = nullptr;
        texture_ = nullptr;
    }
    if (paint.right > paint.left && paint.bottom > paint.top) {
        if (mode_ == full) {
            const ak::Rect frame =
                view_->Superview() ? view_->Superview()->ConvertRectToView(view_->Frame(), nullptr)
                                   : view_->Frame();
            const FrameRect now{frame.origin.x, frame.origin.y, frame.size.width,
                                frame.size.height};
            // The first frame has nothing to compare with: it keeps the top left.
            if (hasLastFrame_)
                gravity_ = UpdatedGravity(gravity_, lastFrame_, now);
            lastFrame_ = now;
            hasLastFrame_ = true;
        }
        ak::Ref<ak::View> hold(view_);
        HDC hdc = WISP_CreateMetalDC(view_->Handle());
        dirty_ = 0;
        view_->deliverPaint(hdc, true,
                            {{double(paint.left), double(paint.top)},
                             {double(paint.right - paint.left), double(paint.bottom - paint.top)}});
        WISP_DeleteGfxContext(hdc);
    }
    dirty_ = 0;
    if (mode_ == direct) {
        if (drawable_)
            drawable_->present();
        presentedRetina_ = retina_;
        drawable_ = nullptr;
        texture_ = nullptr;
        return;
    }
    if (texture_)
        CopyToDrawable();
}

void MetalView::CopyToDrawable() {
    const ak::Size bounds = view_->Bounds().size;
    const std::optional<PixelSize> size = DrawableSize(bounds.width, bounds.height, retina_);
    if (!size) {
        Log("wisp-cocoa: metal with empty bounds\n");
        return;
    }
    layer_->drawableSize = {std::size_t(size->width), std::size_t(size->height), 1};
    const std::shared_ptr<mtl::Drawable> drawable = layer_->nextDrawable();
    if (!drawable) {
        Log("wisp-cocoa: metal surface got nul drawable\n");
        return;
    }
    MetalViews& views = Views();
    DeviceRecord& record = views.devices[device_.get()];
    if (!record.queue)
        record.queue = device_->newCommandQueue();
    if (!record.pending)
        record.pending = record.queue->commandBuffer();
    // Memory is shared with the CPU, so the copy is a read back and a write.
    const std::size_t w = std::min<std::size_t>(size->width, texture_->width());
    const std::size_t h = std::min<std::size_t>(size->height, texture_->height());
    std::vector<unsigned char> pixels(w * h * 4);
    const mtl::Region region{{0, 0, 0}, {w, h, 1}};
    texture_->getBytes(pixels.data(), w * 4, region, 0);
    drawable->texture()->replaceRegion(region, 0, pixels.data(), w * 4);
    presentedRetina_ = retina_;
    record.pending->presentDrawable(drawable);
    if (!views.flushing) {
        record.pending->commit();
        record.pending->waitUntilCompleted();
        record.pending = nullptr;
    }
}

void MetalView::PaintFrame(cairo_t* cr) const {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels = presented_->lastFrame(&width, &height);
    if (pixels.empty())
        return;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        pixels.data(), CAIRO_FORMAT_ARGB32, width, height, width * 4);
    const double scale = presentedRetina_ ? 0.5 : 1.0;
    const ak::Size bounds = view_->Bounds().size;
    // Bit 0 anchors the right edge, bit 1 the bottom one.
    const double x = (gravity_ & 1) ? bounds.width - width * scale : 0;
    const double y = (gravity_ & 2) ? bounds.height - height * scale : 0;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

MetalView* MetalOf(HWND window) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(ObjectOf(window));
    return view ? view->metal() : nullptr;
}

void MetalNeedsRefresh(Wisp_vOmnarControl_hwnd* view, const RECT* area, bool keep) {
    Views().needRefresh.Add(view, area, keep);
}

bool MetalViewListed(HWND window) {
    return Views().needRefresh.Contains(ObjectOf(window));
}

void FlushMetalViews() {
    MetalViews& views = Views();
    if (views.flushing)
        return;
    views.flushing = true;
    views.needRefresh.Flush(
        [](const void* view) -> const void* {
            return static_cast<const Wisp_vOmnarControl_hwnd*>(view)->GetWindow();
        },
        [](const void* window) {
            const auto* top = static_cast<const ak::Window*>(window);
            return top->IsVisible() && !top->IsMiniaturized();
        },
        [](const void* view, RECT area) {
            auto* hwnd = const_cast<Wisp_vOmnarControl_hwnd*>(
                static_cast<const Wisp_vOmnarControl_hwnd*>(view));
            if (MetalView* metal = hwnd->metal())
                metal->Refresh(&area);
        });
    for (auto& [device, record] : views.devices)
        if (record.pending) {
            record.pending->commit();
            record.pending->waitUntilCompleted();
            record.pending = nullptr;
        }
    views.flushing = false;
}

BOOL DefaultMetalDeviceName(char* buffer, int size) {
    if (!buffer || size < 1)
        return FALSE;
    const std::shared_ptr<mtl::Device> device = mtl::Device::createSystemDefaultDevice();
    if (!device)
        return FALSE;
    lstrcpyn(buffer, device->name(), size);
    return buffer[0] != 0 ? TRUE : FALSE;
}

void MetalViewShown(Wisp_vOmnarControl_hwnd* view, bool shown) {
    MetalView* metal = view->metal();
    if (!metal)
        return;
    if (shown)
        metal->Refresh(nullptr);
    Views().needRefresh.Remove(view);
}

} // namespace winlayer

int WISP_EnableMetal(HWND window, int mode) {
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(winlayer::ObjectOf(window));
    if (!view)
        return 0;
    if (view->metalMode() != 0 || mode == 0)
        return view->metalMode();
    if (mode < 0) {
        view->setMetalMode(mode); // a layer without Metal: drawing stays as it was
        return mode;
    }
    winlayer::MetalViews& views = winlayer::Views();
    if (!views.timerStarted) {
        views.timerStarted = true;
        SetTimer(nullptr, 0, 1, &winlayer::FlushTimer);
    }
    view->setMetal(std::make_unique<winlayer::MetalView>(view, std::min(mode, 2)));
    InvalidateRect(window, nullptr, FALSE);
    return view->metalMode();
}

int Wisp_vOmnarControl_hwnd::metalMode() const {
    return metal_ ? metal_->GetMode() : layerOnlyMode_;
}

void Wisp_vOmnarControl_hwnd::setMetal(std::unique_ptr<winlayer::MetalView> metal) {
    metal_ = std::move(metal);
}

HDC WISP_CreateMetalDC(HWND window) {
    return winlayer::NewMetalContext(winlayer::MetalOf(window));
}
