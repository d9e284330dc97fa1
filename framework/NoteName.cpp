#include "framework/NoteName.h"

namespace vx {

void FormatNoteName(int note, bool middleCIsC4, VxString& text) {
    static constexpr const char* kNames[12] = {"C ", "C#", "D ", "D#", "E ", "F ",
                                               "F#", "G ", "G#", "A ", "A#", "B "};
    // Floored, so a note below 0 still names a valid pitch class.
    const long long n = note;
    const int pitchClass = static_cast<int>((n % 12 + 12) % 12);
    const long long octave = (n - pitchClass) / 12 - (middleCIsC4 ? 1 : 2);
    text.SetFormatted(32, "%s%lld", kNames[pitchClass], octave);
}

} // namespace vx
