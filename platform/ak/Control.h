#pragma once

#include "platform/ak/Color.h"
#include "platform/ak/Font.h"
#include "platform/ak/NativeView.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace ak {

// A native control: one GTK widget filling the view, a tag, an enabled
// state, a font and an action that only the user's input fires. Setters
// block the widget's own signal handlers, so a programmatic change never
// looks like a user's.
class Control : public NativeView {
public:
    using Action = std::function<void(Control&)>;

    int64_t Tag() const { return m_tag; }
    void SetTag(int64_t tag) { m_tag = tag; }
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    const Font& GetFont() const { return m_font; }
    void SetFont(const Font& font);
    // The colour of the control's texts (its title, a box's title); inherited
    // by the widget's labels.
    void SetForegroundColor(Color color);
    const std::optional<Color>& ForegroundColor() const { return m_foreground; }
    // Resizes the frame to the widget's natural size, keeping the origin. GTK
    // takes a new font in at the next loop iteration; measure after that.
    virtual void SizeToFit();
    void SetAction(Action action) { m_action = std::move(action); }

    // The widget, for the layer's own files and the tests' input helpers.
    GtkWidget* Widget() const { return m_widget; }

protected:
    // Adopts a floating widget.
    Control(Rect frame, GtkWidget* widget);
    ~Control() override;

    // Connects a handler whose user data is this control; it is blocked
    // while a Silence is alive and disconnected when the control goes.
    using Callback = void (*)();
    void Connect(void* instance, const char* signal, Callback callback);
    // The same, run after the signal's own handler.
    void ConnectAfter(void* instance, const char* signal, Callback callback);
    // Fires the action once, holding the control so the action may release it.
    void FireAction();
    // A GDK button event that opens a context menu: a single right press.
    static bool IsContextMenuPress(const void* buttonEvent);

    class Silence {
    public:
        explicit Silence(Control& control);
        ~Silence();
        Silence(const Silence&) = delete;
        Silence& operator=(const Silence&) = delete;

    private:
        Control& m_control;
    };

private:
    GtkWidget* m_widget;
    int64_t m_tag = 0;
    bool m_enabled = true;
    Font m_font;
    Action m_action;
    struct Handler {
        void* instance;
        unsigned long id;
    };
    std::vector<Handler> m_handlers;
    void* m_fontProvider = nullptr;
    void* m_colorProvider = nullptr;
    std::optional<Color> m_foreground;
};

// Sets title and similar texts from possibly malformed UTF-8.
std::string ValidUtf8(const std::string& text);

} // namespace ak
