#pragma once

#include "Fonts.h"

#include <string>
#include <vector>

namespace resgen {

// The few kinds of block the manual's source uses; any other markup stays
// in the text as written.
struct Block {
    enum class Kind { Title, Heading, Paragraph, Bullet, Code } kind;
    std::string text;
};

std::vector<Block> ParseManual(const std::string& source);

// Sets `blocks` on A4 pages of a PDF at `path`, with fixed metadata dates.
void WriteManual(const Fonts& fonts, const std::vector<Block>& blocks, const std::string& path);

} // namespace resgen
