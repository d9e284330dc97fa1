#pragma once

#include "tests/pages/PagesFixture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace omnar::test {

// An open panel whose editor acts as after start-up: values are no longer
// being applied and edits are tracked. Connect() plays the identified pedal.
class EditFixture : public PagesFixture {
protected:
    EditFixture();

    void Connect();
    // Parameter `index` to the plain value, as a control would set it.
    void Set(int index, double value);
    int Value(int index) const;
    // The messages handed to the MIDI output since the last call, as hex
    // ("F0 00 51 21 05 50 0C 02 40 F7").
    std::vector<std::string> TakeSent();
    // One 100 ms tick of the transfer timer.
    void Tick();
    vx::ui::IControl* Tag(int tag);
};

std::string HexBytes(const std::vector<uint8_t>& bytes);

} // namespace omnar::test
