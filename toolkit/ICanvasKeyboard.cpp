// The computer-keyboard note handler: letter keys play MIDI notes.
#include "toolkit/ICanvas.h"

#include "framework/MidiTypes.h"

#include <algorithm>

namespace vx::ui {

namespace {

// Shared by every context for the life of the process, as the keyboard is.
struct QwertyState {
    int baseNote = 48;
    bool held[128] = {};
};

QwertyState& Qwerty() {
    static QwertyState state;
    return state;
}

// Semitones above the base note of each note key, by the key's capital letter.
int SemitoneOf(int vk) {
    static constexpr struct {
        char key;
        int semitone;
    } kKeys[] = {{'A', 0}, {'W', 1}, {'S', 2},  {'E', 3},  {'D', 4},  {'F', 5},  {'T', 6}, {'G', 7},
                 {'Y', 8}, {'H', 9}, {'U', 10}, {'J', 11}, {'K', 12}, {'O', 13}, {'L', 14}};
    for (const auto& k : kKeys)
        if (k.key == vk)
            return k.semitone;
    return -1;
}

} // namespace

void ICanvas::SetQwertyMidiKeyHandlerFunc(MidiFunc func) {
    SetKeyHandlerFunc([this, func = std::move(func)](const IKeyPress& key, bool isUp) {
        QwertyState& q = Qwerty();
        auto send = [&](uint8_t status, int note, uint8_t velocity) {
            IMidiMsg msg;
            msg.status = status;
            msg.data1 = static_cast<uint8_t>(note);
            msg.data2 = velocity;
            delegate.PushMidiFromUI(msg);
            if (func)
                func(msg);
        };
        if (key.VK == 'Z' || key.VK == 'X') {
            if (isUp)
                return true;
            q.baseNote = std::clamp(q.baseNote + (key.VK == 'Z' ? -12 : 12), 24, 96);
            for (int note = 0; note < 128; ++note)
                if (q.held[note]) {
                    q.held[note] = false;
                    send(0x80, note, 0);
                }
            return true;
        }
        const int semitone = SemitoneOf(key.VK);
        if (semitone < 0)
            return true;
        const int pitch = q.baseNote + semitone;
        if (pitch < 0 || pitch > 127)
            return true;
        if (!isUp && !q.held[pitch]) {
            q.held[pitch] = true;
            send(0x90, pitch, 127);
        } else if (isUp && q.held[pitch]) {
            q.held[pitch] = false;
            send(0x80, pitch, 0);
        }
        return true;
    });
}

} // namespace vx::ui
