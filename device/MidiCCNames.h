#pragma once

#include <array>
#include <string>

// Display names of the 128 MIDI controller numbers; empty where a number has
// no common name. Built before the editor object exists, read by the MIDI
// mapping page.
extern const std::array<std::string, 128> MidiCCNames;

// Note names by pitch class 0..11.
extern const std::array<std::string, 12> MidiNoteNames;
