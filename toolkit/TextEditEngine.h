#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vx::ui {

// Key codes the editing engine reads: a special key is kSpecial | its
// virtual-key code, a character its code point; modifiers add their bits.
namespace textkey {
inline constexpr uint32_t kSpecial = 0x80000000u;
inline constexpr uint32_t kShift = 0x40000000u;
inline constexpr uint32_t kControl = 0x20000000u;
inline constexpr uint32_t kAlt = 0x10000000u;
inline constexpr uint32_t kModifiers = kShift | kControl | kAlt;

inline constexpr uint32_t kBackspace = kSpecial | 8;
inline constexpr uint32_t kPageUp = kSpecial | 33;
inline constexpr uint32_t kPageDown = kSpecial | 34;
inline constexpr uint32_t kEnd = kSpecial | 35;
inline constexpr uint32_t kHome = kSpecial | 36;
inline constexpr uint32_t kLeft = kSpecial | 37;
inline constexpr uint32_t kUp = kSpecial | 38;
inline constexpr uint32_t kRight = kSpecial | 39;
inline constexpr uint32_t kDown = kSpecial | 40;
inline constexpr uint32_t kInsert = kSpecial | 45;
inline constexpr uint32_t kDelete = kSpecial | 46;
inline constexpr uint32_t kUndo = kControl | 'z';
inline constexpr uint32_t kRedo = kControl | kShift | 'z';
} // namespace textkey

// The single row of text inside the entry box: x0..x1 in panel units, ymin..ymax
// measured from the box's top.
struct TextRow {
    float x0 = 0.f;
    float x1 = 0.f;
    float ymin = 0.f;
    float ymax = 0.f;
};

// Single-line editing over code points (cursor, selection, word moves, undo
// and redo), with a cache of character widths that counts kerning between
// neighbours. One code point is one character for every operation.
class TextEditEngine {
public:
    // Width of a run of characters as the text measurement gives it.
    using MeasureFunc = std::function<float(std::u32string_view)>;

    // The box the row is laid out in and the text style's alignment.
    struct Box {
        float left = 0.f;
        float right = 0.f;
        float height = 0.f;
        float fontSize = 0.f;
        int align = 1;  // 0 left, 1 centre, 2 right
        int vAlign = 1; // 0 top, 1 middle, 2 bottom
    };

    TextEditEngine();
    ~TextEditEngine();
    TextEditEngine(const TextEditEngine&) = delete;
    TextEditEngine& operator=(const TextEditEngine&) = delete;

    // New text, all of it selected, cursor at 0, undo and redo emptied (old
    // records would point past the new text's end).
    void Start(std::u32string text);

    void SetMeasure(MeasureFunc measure);
    void SetBox(const Box& box);

    const std::u32string& Text() const;
    int Length() const;
    int Cursor() const;
    // The selection as a half-open range [start, end); equal when empty.
    int SelectionStart() const;
    int SelectionEnd() const;
    bool HasSelection() const;
    bool InsertMode() const;

    // Each returns whether the text, cursor, selection or history changed.
    bool Click(float x, float y);
    bool Drag(float x, float y);
    bool Key(uint32_t code);
    // Replaces the selection with text and records one undo step.
    bool Paste(std::u32string_view text);
    bool DeleteSelection();
    bool SelectAll();

    // The width cache fills on first use.
    TextRow Row() const;
    // Sum of the widths of the characters before position n.
    float WidthBefore(int n) const;
    float CharWidth(int index) const;

private:
    struct Impl;
    template <class Op>
    bool Changes(Op op);

    std::unique_ptr<Impl> impl;
};

} // namespace vx::ui
