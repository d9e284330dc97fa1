#include "winlayer/MenuModel.h"

using namespace winlayer;

namespace {

// Fewer items than this are all looked at for routing to copy; in longer
// menus only the first six and the last five.
constexpr int kRoutingScanAll = 15;
constexpr int kRoutingHead = 6;
constexpr int kRoutingTail = 5;

using Destination = std::shared_ptr<MenuDestination>;

std::function<void(ak::MenuItem&)> CommandHandler(const Destination& destination) {
    return [destination](ak::MenuItem& item) {
        if (item.Tag() != 0 && !item.Submenu())
            destination->OnMenuCommand(static_cast<int>(item.Tag()));
    };
}

void Route(ak::Menu& menu, const Destination& destination) {
    if (destination)
        menu.onWillShow = [destination](ak::Menu& shown) {
            destination->OnMenuWillShow(HandleOf(&shown));
        };
    else
        menu.onWillShow = nullptr;
    for (const auto& item : menu.Items()) {
        if (ak::Menu* sub = item->Submenu())
            Route(*sub, destination);
        else if (item->Tag() != 0)
            item->onActivate = destination ? CommandHandler(destination) : nullptr;
    }
}

// The receiver of one popup's choice.
class PopupReceiver : public MenuDestination, public std::enable_shared_from_this<PopupReceiver> {
public:
    PopupReceiver(HMENU top, Destination window) : m_top(top), m_window(std::move(window)) {}
    void OnMenuCommand(int id) override {
        if (id != 0)
            m_chosen = id;
    }
    void OnMenuWillShow(HMENU menu) override {
        if (menu == m_top || !m_window)
            return;
        m_window->OnMenuWillShow(menu);
        RouteMenu(menu, shared_from_this());
    }
    int Chosen() const { return m_chosen; }

private:
    HMENU m_top;
    Destination m_window;
    int m_chosen = 0;
};

} // namespace

namespace winlayer {

void RouteMenu(HMENU menu, std::shared_ptr<MenuDestination> destination) {
    if (ak::Menu* m = AkMenu(menu))
        Route(*m, destination);
}

void CopyRouting(ak::Menu& menu, ak::MenuItem& item) {
    const int count = menu.Count();
    for (int i = 0; i < count; ++i) {
        if (count >= kRoutingScanAll && i >= kRoutingHead && i < count - kRoutingTail)
            continue;
        ak::MenuItem* other = menu.ItemAt(i);
        if (other != &item && other->onActivate) {
            item.onActivate = other->onActivate;
            return;
        }
    }
}

int TrackPopupMenuIn(HMENU menu, int flags, ak::View* view, ak::Point inView,
                     std::shared_ptr<MenuDestination> window) {
    if (!menu || !view)
        return 0;
    const bool notify = !(flags & TPM_NONOTIFY);
    auto receiver = std::make_shared<PopupReceiver>(menu, notify ? window : nullptr);
    RouteMenu(menu, receiver);
    if (window && notify) {
        window->OnMenuWillShow(menu);
        // Items the window added are routed too.
        RouteMenu(menu, receiver);
    }
    constexpr double kBelowPointer = 4;
    AkMenu(menu)->PopUp(view, {inView.x, inView.y + kBelowPointer});
    RouteMenu(menu, nullptr);
    const int chosen = receiver->Chosen();
    if (chosen == 0)
        return 0;
    if (flags & TPM_RETURNCMD)
        return chosen;
    if (window)
        window->OnMenuCommand(chosen);
    return 1;
}

} // namespace winlayer
