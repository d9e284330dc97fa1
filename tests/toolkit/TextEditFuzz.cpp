// Drives the text editing engine with arbitrary keys, pastes, clicks and new
// texts; the cursor and the selection must stay inside the text throughout.
#include "toolkit/TextEditEngine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using vx::ui::TextEditEngine;
namespace key = vx::ui::textkey;

constexpr uint32_t kKeys[] = {
    key::kBackspace, key::kDelete, key::kLeft,   key::kRight, key::kUp,     key::kDown,
    key::kHome,      key::kEnd,    key::kInsert, key::kUndo,  key::kRedo,   key::kPageUp,
    key::kPageDown,  U'a',         U' ',         U'\n',       U'\U0001F600'};
constexpr uint32_t kModifiers[] = {0, key::kShift, key::kControl, key::kShift | key::kControl,
                                   key::kAlt};

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data(data), size(size) {}
    bool More() const { return pos < size; }
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }

private:
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
};

std::u32string Chars(Reader& in) {
    std::u32string text(in.Byte() % 40, U'x');
    for (char32_t& c : text)
        c = in.Byte() % 4 == 0 ? U' ' : static_cast<char32_t>(U'a' + in.Byte() % 26);
    return text;
}

void Check(const TextEditEngine& engine) {
    const int n = engine.Length();
    if (engine.Cursor() < 0 || engine.Cursor() > n || engine.SelectionStart() < 0 ||
        engine.SelectionEnd() > n)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    TextEditEngine engine;
    engine.SetMeasure([](std::u32string_view chars) { return 7.f * float(chars.size()); });
    engine.SetBox({100.f, 200.f, 20.f, 14.f, 1, 1});
    engine.Start(U"start text");
    while (in.More()) {
        switch (in.Byte() % 7) {
        case 0:
            engine.Key(kKeys[in.Byte() % std::size(kKeys)] |
                       kModifiers[in.Byte() % std::size(kModifiers)]);
            break;
        case 1:
            engine.Paste(Chars(in));
            break;
        case 2:
            engine.Click(float(in.Byte()), 5.f);
            break;
        case 3:
            engine.Drag(float(in.Byte()), 5.f);
            break;
        case 4:
            engine.SelectAll();
            break;
        case 5:
            engine.DeleteSelection();
            break;
        default:
            engine.Start(Chars(in));
            break;
        }
        Check(engine);
    }
    return 0;
}
