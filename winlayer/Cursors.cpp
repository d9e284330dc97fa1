#include "winlayer/Cursors.h"

#include "winlayer/CursorFile.h"
#include "winlayer/CursorTracker.h"
#include "winlayer/NamedFiles.h"

#include "platform/ak/Application.h"
#include "platform/ak/View.h"
#include "platform/ak/Window.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <strings.h>

using namespace winlayer;

namespace {

constexpr UINT kMouseMove = 0x200;
constexpr size_t kPathLengthLimit = 1024;

class AkDesk : public CursorDesk {
public:
    ak::Point MouseLocation() override { return ak::Cursor::MouseLocation(); }
    void Hide() override { ak::Cursor::Hide(); }
    void Unhide() override { ak::Cursor::Unhide(); }
    bool Warp(ak::Point onScreen) override {
        if (!ak::Application::Shared())
            return false;
        ak::Cursor::Warp(onScreen);
        return true;
    }
};

CursorTracker& Tracker() {
    static AkDesk desk;
    static CursorTracker tracker(desk);
    return tracker;
}

CursorResourceNode* g_registry = nullptr;
ak::Ref<ak::Cursor> g_lastSet;

std::optional<std::vector<unsigned char>> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return bytes;
}

bool EndsWithCur(const std::string& name) {
    return name.size() >= 5 && strcasecmp(name.c_str() + name.size() - 4, ".cur") == 0;
}

ak::Ref<ak::Image> FirstImage(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (ak::Ref<ak::Image> image = ak::Image::FromFile(path))
            return image;
    return {};
}

// A cursor file's image and hot spot; nothing when the bytes are no
// one-image cursor or do not decode.
ak::Ref<ak::Image> DecodeCursor(const std::vector<unsigned char>& bytes, POINT* hotSpot) {
    const auto icon = CursorToIcon(bytes);
    if (!icon)
        return {};
    ak::Ref<ak::Image> image = ak::Image::FromData(icon->ico.data(), icon->ico.size());
    if (image && hotSpot)
        *hotSpot = {icon->hotX, icon->hotY};
    return image;
}

ak::Cursor* Cached(int id, const std::function<ak::Ref<ak::Cursor>()>& make) {
    static std::map<int, ak::Ref<ak::Cursor>> cursors;
    ak::Ref<ak::Cursor>& slot = cursors[id];
    if (!slot)
        slot = make();
    return slot.Get();
}

ak::Ref<ak::Cursor> FromBitmap(BuiltInCursor which) {
    ak::Ref<ak::Image> image = ImageFromCursorBitmap(BuiltInCursorBitmap(which));
    return ak::Cursor::FromImage(image.Get(), {8, 8});
}

std::optional<ak::CursorShape> ShapeOf(INT_PTR id) {
    switch (id) {
    case IDC_ARROW:
        return ak::CursorShape::Arrow;
    case IDC_IBEAM:
        return ak::CursorShape::IBeam;
    case IDC_UPARROW:
        return ak::CursorShape::ResizeUp;
    case IDC_SIZEWE:
        return ak::CursorShape::ResizeLeftRight;
    case IDC_SIZENS:
        return ak::CursorShape::ResizeUpDown;
    case IDC_HAND:
        return ak::CursorShape::OpenHand;
    default:
        return std::nullopt;
    }
}

std::optional<BuiltInCursor> BitmapOf(INT_PTR id) {
    switch (id) {
    case IDC_SIZENWSE:
        return BuiltInCursor::SizeNorthWestSouthEast;
    case IDC_SIZENESW:
        return BuiltInCursor::SizeNorthEastSouthWest;
    case IDC_SIZEALL:
        return BuiltInCursor::SizeAll;
    case IDC_NO:
        return BuiltInCursor::No;
    default:
        return std::nullopt;
    }
}

HCURSOR FromRegistry(INT_PTR id) {
    for (CursorResourceNode* node = g_registry; node; node = node->next) {
        if (node->resourceId != id)
            continue;
        if (node->cursor)
            return node->cursor.Get();
        POINT hot{node->hotX, node->hotY};
        ak::Ref<ak::Image> image = WISP_ReadCursorFile(node->name, &hot);
        if (!image)
            continue;
        node->hotX = hot.x;
        node->hotY = hot.y;
        node->cursor = ak::Cursor::FromImage(image.Get(), {double(hot.x), double(hot.y)});
        return node->cursor.Get();
    }
    return nullptr;
}

} // namespace

namespace winlayer {

DWORD PackMessagePos(int x, int y) {
    return (DWORD(y) << 16) | (DWORD(x) & 0xFFFF);
}

ak::Ref<ak::Image> WISP_ReadCursorFile(const char* name, POINT* hotSpot) {
    if (!name || !*name)
        return {};
    const std::string text = name;
    const bool isPath = text.find('/') != std::string::npos || text.size() >= kPathLengthLimit;
    std::optional<std::vector<unsigned char>> bytes;
    if (isPath) {
        if (EndsWithCur(text))
            bytes = ReadWholeFile(text);
    } else if (const auto candidates = NamedFileCandidates(text, ".cur"); candidates.size() == 2) {
        bytes = ReadWholeFile(candidates[1]);
    }
    if (bytes)
        if (ak::Ref<ak::Image> image = DecodeCursor(*bytes, hotSpot))
            return image;
    return isPath ? ak::Image::FromFile(text) : FirstImage(NamedFileCandidates(text, ".png"));
}

} // namespace winlayer

HCURSOR WISP_LoadCursor(INT_PTR id) {
    if (!ak::Application::Shared())
        return nullptr;
    if (const auto shape = ShapeOf(id))
        return Cached(int(id), [&] { return ak::Cursor::WithShape(*shape); });
    if (const auto bitmap = BitmapOf(id))
        return Cached(int(id), [&] { return FromBitmap(*bitmap); });
    return FromRegistry(id);
}

HCURSOR WISP_LoadCursorFromFile(const char* name) {
    POINT hot{0, 0};
    ak::Ref<ak::Image> image = WISP_ReadCursorFile(name, &hot);
    if (!image || !ak::Application::Shared())
        return nullptr;
    ak::Ref<ak::Cursor> cursor = ak::Cursor::FromImage(image.Get(), {double(hot.x), double(hot.y)});
    cursor->Retain(); // the caller's reference
    return cursor.Get();
}

CursorResourceNode* WISP_Register_Cursor_Resource(INT_PTR id, const char* name, int hotX,
                                                  int hotY) {
    g_registry = new CursorResourceNode{id, name, hotX, hotY, {}, g_registry};
    return g_registry;
}

void WISP_SetCursor(HCURSOR cursor) {
    if (!ak::Application::Shared())
        return;
    if (cursor) {
        g_lastSet = cursor;
        cursor->Set();
        return;
    }
    g_lastSet.Reset();
    WISP_LoadCursor(IDC_ARROW)->Set();
}

HCURSOR WISP_GetCursor() {
    return ak::Cursor::Current();
}

HCURSOR WISP_GetLastSetCursor() {
    return g_lastSet.Get();
}

BOOL GetCursorPos(POINT* point) {
    if (!point)
        return FALSE;
    const ak::Point at = Tracker().Position();
    *point = {int(at.x), int(at.y)};
    return TRUE;
}

DWORD GetMessagePos() {
    const ak::Point at = Tracker().Position();
    return PackMessagePos(int(at.x), int(at.y));
}

int WISP_IsCursorVisible() {
    return Tracker().IsVisible() ? 1 : 0;
}

int WISP_ShowCursor(BOOL show) {
    return Tracker().Show(show != FALSE);
}

int WISP_SetCursorPos(int x, int y) {
    return Tracker().SetPosition({double(x), double(y)}) ? 1 : 0;
}

ak::Point MouseEventPosition(UINT message, ak::View* view, const ak::Event& event) {
    if (!view)
        return event.locationInWindow;
    CursorTracker& tracker = Tracker();
    ak::Window* window = view->GetWindow();
    if (!tracker.IsHidden() || !window)
        return view->ConvertPointFromView(event.locationInWindow, nullptr);
    ak::Point onScreen = tracker.Position();
    if (message == kMouseMove && event.window)
        onScreen = tracker.Moved(event.window->ConvertPointToScreen(event.locationInWindow));
    return view->ConvertPointFromView(window->ConvertPointFromScreen(onScreen), nullptr);
}
