// The editing state machine is stb_textedit, instantiated here on code points
// in single-line mode; this file supplies its callbacks and key codes.
#include "toolkit/TextEditEngine.h"

#include <algorithm>
#include <cstring>

namespace vx::ui {

namespace {

struct TextBuffer {
    std::u32string text;
    std::vector<float> widths; // one per character; empty means rebuild
    TextEditEngine::MeasureFunc measure;
    TextEditEngine::Box box;
    uint64_t revision = 0; // counts edits, so an edit is seen even when the state looks alike

    int Length() const { return static_cast<int>(text.size()); }

    // Each width is measured together with the previous character, so the
    // kerning between the two counts.
    void RebuildWidths() {
        if (!widths.empty() || text.empty())
            return;
        widths.resize(text.size(), 0.f);
        if (!measure)
            return;
        const std::u32string_view all(text);
        widths[0] = measure(all.substr(0, 1));
        for (size_t i = 1; i < text.size(); ++i)
            widths[i] = measure(all.substr(i - 1, 2)) - measure(all.substr(i - 1, 1));
    }

    float Width(int index) {
        RebuildWidths();
        return index >= 0 && index < Length() ? widths[static_cast<size_t>(index)] : 0.f;
    }

    char32_t At(int index) const {
        return index >= 0 && index < Length() ? text[static_cast<size_t>(index)] : U'\0';
    }

    bool Insert(int pos, const char32_t* chars, int n) {
        if (pos < 0 || pos > Length() || n < 0)
            return false;
        text.insert(static_cast<size_t>(pos), chars, static_cast<size_t>(n));
        Edited();
        return true;
    }

    void Erase(int pos, int n) {
        pos = std::clamp(pos, 0, Length());
        n = std::clamp(n, 0, Length() - pos);
        if (n == 0)
            return;
        text.erase(static_cast<size_t>(pos), static_cast<size_t>(n));
        Edited();
    }

    void Edited() {
        widths.clear();
        ++revision;
    }

    // Sum of the widths of the characters before position n.
    float WidthBefore(int n) {
        float sum = 0.f;
        for (int i = 0; i < std::min(n, Length()); ++i)
            sum += Width(i);
        return sum;
    }
};

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\u00A0' || c == U'\u3000';
}

// No text for keys with the control or special bit, and none for control characters.
int KeyToText(uint32_t key) {
    if (key & (textkey::kControl | textkey::kSpecial))
        return 0;
    const uint32_t c = key & ~textkey::kModifiers;
    if (c < 0x20 || c == 0x7F || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return static_cast<int>(c);
}

} // namespace

} // namespace vx::ui

#define STB_TEXTEDIT_CHARTYPE char32_t
#define STB_TEXTEDIT_POSITIONTYPE int
#define STB_TEXTEDIT_KEYTYPE uint32_t
#define STB_TEXTEDIT_UNDOSTATECOUNT 99
#define STB_TEXTEDIT_UNDOCHARCOUNT 999
#define STB_TEXTEDIT_STRING ::vx::ui::TextBuffer
#define STB_TEXTEDIT_memmove std::memmove

namespace vx::ui {
namespace {
#include <stb/stb_textedit.h>

void LayoutRow(StbTexteditRow* row, TextBuffer* buffer, int) {
    const TextEditEngine::Box& box = buffer->box;
    const float width = buffer->WidthBefore(buffer->Length());
    switch (box.align) {
    case 0:
        row->x0 = box.left;
        break;
    case 2:
        row->x0 = box.right - width;
        break;
    default:
        row->x0 = (box.left + box.right) / 2.f - width / 2.f;
        break;
    }
    row->x1 = row->x0 + width;
    switch (box.vAlign) {
    case 0:
        row->ymin = 0.f;
        break;
    case 2:
        row->ymin = box.height - box.fontSize;
        break;
    default:
        row->ymin = box.height / 2.f - box.fontSize / 2.f;
        break;
    }
    row->ymax = row->ymin + box.fontSize;
    row->baseline_y_delta = 1.25f;
    row->num_chars = buffer->Length();
}

} // namespace
} // namespace vx::ui

#define STB_TEXTEDIT_STRINGLEN(obj) ((obj)->Length())
#define STB_TEXTEDIT_LAYOUTROW(row, obj, start) ::vx::ui::LayoutRow(row, obj, start)
#define STB_TEXTEDIT_GETWIDTH(obj, start, i) ((obj)->Width((start) + (i)))
#define STB_TEXTEDIT_KEYTOTEXT(key) ::vx::ui::KeyToText(key)
#define STB_TEXTEDIT_GETCHAR(obj, i) ((obj)->At(i))
#define STB_TEXTEDIT_NEWLINE U'\n'
#define STB_TEXTEDIT_IS_SPACE(c) ::vx::ui::IsBlank(c)
#define STB_TEXTEDIT_DELETECHARS(obj, i, n) ((obj)->Erase((i), (n)))
#define STB_TEXTEDIT_INSERTCHARS(obj, i, chars, n) ((obj)->Insert((i), (chars), (n)))

#define STB_TEXTEDIT_K_SHIFT ::vx::ui::textkey::kShift
#define STB_TEXTEDIT_K_LEFT ::vx::ui::textkey::kLeft
#define STB_TEXTEDIT_K_RIGHT ::vx::ui::textkey::kRight
#define STB_TEXTEDIT_K_UP ::vx::ui::textkey::kUp
#define STB_TEXTEDIT_K_DOWN ::vx::ui::textkey::kDown
#define STB_TEXTEDIT_K_PGUP ::vx::ui::textkey::kPageUp
#define STB_TEXTEDIT_K_PGDOWN ::vx::ui::textkey::kPageDown
#define STB_TEXTEDIT_K_LINESTART ::vx::ui::textkey::kHome
#define STB_TEXTEDIT_K_LINEEND ::vx::ui::textkey::kEnd
#define STB_TEXTEDIT_K_TEXTSTART (::vx::ui::textkey::kHome | ::vx::ui::textkey::kControl)
#define STB_TEXTEDIT_K_TEXTEND (::vx::ui::textkey::kEnd | ::vx::ui::textkey::kControl)
#define STB_TEXTEDIT_K_WORDLEFT (::vx::ui::textkey::kLeft | ::vx::ui::textkey::kControl)
#define STB_TEXTEDIT_K_WORDRIGHT (::vx::ui::textkey::kRight | ::vx::ui::textkey::kControl)
#define STB_TEXTEDIT_K_DELETE ::vx::ui::textkey::kDelete
#define STB_TEXTEDIT_K_BACKSPACE ::vx::ui::textkey::kBackspace
#define STB_TEXTEDIT_K_UNDO ::vx::ui::textkey::kUndo
#define STB_TEXTEDIT_K_REDO ::vx::ui::textkey::kRedo
#define STB_TEXTEDIT_K_INSERT ::vx::ui::textkey::kInsert

#define STB_TEXTEDIT_IMPLEMENTATION
namespace vx::ui {
namespace {
#include <stb/stb_textedit.h>
} // namespace

struct TextEditEngine::Impl {
    TextBuffer buffer;
    STB_TexteditState state{};
};

namespace {

// The parts of the state an operation can change, plus the edit count.
struct Snapshot {
    int cursor, selectStart, selectEnd;
    unsigned char insertMode, hasPreferredX;
    float preferredX;
    short undoPoint, redoPoint;
    int undoCharPoint, redoCharPoint;
    uint64_t revision;

    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const STB_TexteditState& s, const TextBuffer& b) {
    return {s.cursor,
            s.select_start,
            s.select_end,
            s.insert_mode,
            s.has_preferred_x,
            s.preferred_x,
            s.undostate.undo_point,
            s.undostate.redo_point,
            s.undostate.undo_char_point,
            s.undostate.redo_char_point,
            b.revision};
}

} // namespace

TextEditEngine::TextEditEngine() : impl(std::make_unique<Impl>()) {
    stb_textedit_initialize_state(&impl->state, 1);
}

TextEditEngine::~TextEditEngine() = default;

template <class Op>
bool TextEditEngine::Changes(Op op) {
    const Snapshot before = Take(impl->state, impl->buffer);
    op(impl->buffer, impl->state);
    // Undo moves the cursor but not the selection, which may then lie past
    // the text's end, and a later move would carry the cursor there.
    stb_textedit_clamp(&impl->buffer, &impl->state);
    return !(Take(impl->state, impl->buffer) == before);
}

void TextEditEngine::Start(std::u32string text) {
    const unsigned char insertMode = impl->state.insert_mode;
    stb_textedit_clear_state(&impl->state, 1);
    impl->state.insert_mode = insertMode;
    impl->buffer.text = std::move(text);
    impl->buffer.Edited();
    impl->state.select_start = 0;
    impl->state.select_end = impl->buffer.Length();
    impl->state.cursor = 0;
    impl->buffer.RebuildWidths();
}

void TextEditEngine::SetMeasure(MeasureFunc measure) {
    impl->buffer.measure = std::move(measure);
    impl->buffer.widths.clear();
}

void TextEditEngine::SetBox(const Box& box) {
    impl->buffer.box = box;
}

const std::u32string& TextEditEngine::Text() const {
    return impl->buffer.text;
}

int TextEditEngine::Length() const {
    return impl->buffer.Length();
}

int TextEditEngine::Cursor() const {
    return impl->state.cursor;
}

// The engine leaves the ends of an empty selection where they were, possibly
// past the end of a text that has since shrunk; an empty one is at the cursor.
int TextEditEngine::SelectionStart() const {
    const STB_TexteditState& s = impl->state;
    const int start =
        s.select_start == s.select_end ? s.cursor : std::min(s.select_start, s.select_end);
    return std::clamp(start, 0, Length());
}

int TextEditEngine::SelectionEnd() const {
    const STB_TexteditState& s = impl->state;
    const int end =
        s.select_start == s.select_end ? s.cursor : std::max(s.select_start, s.select_end);
    return std::clamp(end, 0, Length());
}

bool TextEditEngine::HasSelection() const {
    return SelectionStart() != SelectionEnd();
}

bool TextEditEngine::InsertMode() const {
    return impl->state.insert_mode != 0;
}

bool TextEditEngine::Click(float x, float y) {
    return Changes([&](TextBuffer& b, STB_TexteditState& s) { stb_textedit_click(&b, &s, x, y); });
}

bool TextEditEngine::Drag(float x, float y) {
    return Changes([&](TextBuffer& b, STB_TexteditState& s) { stb_textedit_drag(&b, &s, x, y); });
}

bool TextEditEngine::Key(uint32_t code) {
    return Changes([&](TextBuffer& b, STB_TexteditState& s) { stb_textedit_key(&b, &s, code); });
}

bool TextEditEngine::Paste(std::u32string_view text) {
    if (text.empty() && !HasSelection())
        return false;
    return Changes([&](TextBuffer& b, STB_TexteditState& s) {
        stb_textedit_paste(&b, &s, text.data(), static_cast<int>(text.size()));
    });
}

bool TextEditEngine::DeleteSelection() {
    return Changes([](TextBuffer& b, STB_TexteditState& s) { stb_textedit_cut(&b, &s); });
}

bool TextEditEngine::SelectAll() {
    return Changes([](TextBuffer& b, STB_TexteditState& s) {
        s.select_start = 0;
        s.select_end = b.Length();
    });
}

TextRow TextEditEngine::Row() const {
    StbTexteditRow row{};
    LayoutRow(&row, &impl->buffer, 0);
    return {row.x0, row.x1, row.ymin, row.ymax};
}

float TextEditEngine::WidthBefore(int n) const {
    return impl->buffer.WidthBefore(n);
}

float TextEditEngine::CharWidth(int index) const {
    return impl->buffer.Width(index);
}

} // namespace vx::ui
