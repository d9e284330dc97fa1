#include "Manual.h"

#include "Output.h"

#include <cairo-pdf.h>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace resgen {
namespace {

constexpr double kPageW = 595.276, kPageH = 841.89, kMargin = 64;
constexpr double kTextW = kPageW - 2 * kMargin;

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

class PageWriter {
public:
    PageWriter(const Fonts& fonts, cairo_t* cr) : mFonts(fonts), mCr(cr) {}

    void Write(const Block& b) {
        switch (b.kind) {
        case Block::Kind::Title:
            Flow(mFonts.bold, 26, b.text, 0, 20, 14);
            break;
        case Block::Kind::Heading:
            Flow(mFonts.bold, 16, b.text, 0, 16, 6);
            break;
        case Block::Kind::Paragraph:
            Flow(mFonts.regular, 10.5, b.text, 0, 4, 6);
            break;
        case Block::Kind::Bullet:
            Flow(mFonts.regular, 10.5, b.text, 14, 0, 3);
            break;
        case Block::Kind::Code:
            for (std::istringstream lines(b.text); std::getline(lines, mLine);)
                Flow(mFonts.mono, 9, mLine, 10, 0, 1);
            mY += 6;
            break;
        }
    }

    void Finish() { Footer(); }

private:
    // Word wrapping; a word wider than the line is broken where it must be.
    void Flow(const FontFace& font, double size, const std::string& text, double indent,
              double before, double after) {
        font.Use(mCr, size);
        const double lineH = size * 1.35, width = kTextW - indent;
        mY += before;
        std::istringstream words(text);
        std::string line, word;
        bool bullet = indent > 0 && &font != &mFonts.mono;
        auto emit = [&] {
            if (mY + lineH > kPageH - kMargin)
                NewPage(font, size);
            if (bullet) {
                cairo_move_to(mCr, kMargin + 2, mY + size);
                cairo_show_text(mCr, "\xE2\x80\xA2");
                bullet = false;
            }
            cairo_move_to(mCr, kMargin + indent, mY + size);
            cairo_show_text(mCr, line.c_str());
            mY += lineH;
            line.clear();
        };
        while (words >> word) {
            for (;;) {
                const std::string tried = line.empty() ? word : line + " " + word;
                if (Width(tried) <= width) {
                    line = tried;
                    break;
                }
                if (!line.empty()) {
                    emit();
                    continue;
                }
                size_t fit = word.size() - 1;
                while (fit > 1 && Width(word.substr(0, fit)) > width)
                    --fit;
                line = word.substr(0, fit);
                word = word.substr(fit);
                emit();
            }
        }
        if (!line.empty() || text.empty())
            emit();
        mY += after;
    }

    double Width(const std::string& s) {
        cairo_text_extents_t ext;
        cairo_text_extents(mCr, s.c_str(), &ext);
        return ext.x_advance;
    }

    void NewPage(const FontFace& font, double size) {
        Footer();
        cairo_show_page(mCr);
        ++mPage;
        mY = kMargin;
        font.Use(mCr, size);
    }

    void Footer() {
        mFonts.regular.Use(mCr, 9);
        const std::string n = std::to_string(mPage);
        cairo_move_to(mCr, kPageW / 2 - Width(n) / 2, kPageH - kMargin / 2);
        cairo_show_text(mCr, n.c_str());
    }

    const Fonts& mFonts;
    cairo_t* mCr;
    double mY = kMargin;
    int mPage = 1;
    std::string mLine;
};

} // namespace

std::vector<Block> ParseManual(const std::string& source) {
    std::vector<Block> blocks;
    std::istringstream lines(source);
    std::string line;
    bool inCode = false;
    auto paragraphOpen = [&] {
        return !blocks.empty() && (blocks.back().kind == Block::Kind::Paragraph ||
                                   blocks.back().kind == Block::Kind::Bullet);
    };
    bool joinable = false;
    while (std::getline(lines, line)) {
        if (StartsWith(line, "```")) {
            if (!inCode)
                blocks.push_back({Block::Kind::Code, ""});
            inCode = !inCode;
            joinable = false;
            continue;
        }
        if (inCode) {
            blocks.back().text += line + "\n";
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            joinable = false;
        } else if (StartsWith(line, "# ")) {
            blocks.push_back({Block::Kind::Title, line.substr(2)});
            joinable = false;
        } else if (StartsWith(line, "## ")) {
            blocks.push_back({Block::Kind::Heading, line.substr(3)});
            joinable = false;
        } else if (StartsWith(line, "- ")) {
            blocks.push_back({Block::Kind::Bullet, line.substr(2)});
            joinable = true;
        } else if (joinable && paragraphOpen()) {
            blocks.back().text += " " + line.substr(line.find_first_not_of(" \t"));
        } else {
            blocks.push_back({Block::Kind::Paragraph, line});
            joinable = true;
        }
    }
    return blocks;
}

void WriteManual(const Fonts& fonts, const std::vector<Block>& blocks, const std::string& path) {
    const std::string temp = path + ".tmp";
    cairo_surface_t* surface = cairo_pdf_surface_create(temp.c_str(), kPageW, kPageH);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, "OmnarControl User Manual");
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "resgen");
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, "2026-01-01T00:00:00Z");
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_MOD_DATE, "2026-01-01T00:00:00Z");
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    PageWriter writer(fonts, cr);
    for (const Block& b : blocks)
        writer.Write(b);
    writer.Finish();
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::remove(temp.c_str());
        throw std::runtime_error("cannot write " + temp);
    }
    CommitFile(temp, path);
}

} // namespace resgen
