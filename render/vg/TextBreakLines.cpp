#include "render/vg/VGText.h"
#include "render/vg/VGTextInternal.h"

namespace {

enum class CodepointClass { Space, Newline, Char, CjkChar };

CodepointClass classify(unsigned int c, unsigned int previous) {
    switch (c) {
    case 9:
    case 11:
    case 12:
    case 32:
    case 0x00A0:
        return CodepointClass::Space;
    case 10: // a line feed after a carriage return ends nothing more
        return previous == 13 ? CodepointClass::Space : CodepointClass::Newline;
    case 13:
        return previous == 10 ? CodepointClass::Space : CodepointClass::Newline;
    case 0x0085:
        return CodepointClass::Newline;
    default:
        break;
    }
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3000 && c <= 0x30FF) ||
        (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x1100 && c <= 0x11FF) ||
        (c >= 0x3130 && c <= 0x318F) || (c >= 0xAC00 && c <= 0xD7AF))
        return CodepointClass::CjkChar;
    return CodepointClass::Char;
}

bool is_char(CodepointClass t) {
    return t == CodepointClass::Char || t == CodepointClass::CjkChar;
}

// The rows being built, in atlas pixels; emitted rows are in user units.
class RowBreaker {
public:
    RowBreaker(VGwrapRow* rows, int maxRows, float invscale)
        : rows_(rows), maxRows_(maxRows), invscale_(invscale) {}

    // False once the row limit is reached.
    bool glyph(const GlyphAtlasTextIter& it, const GlyphAtlasQuad& q, CodepointClass type,
               float breakRowWidth) {
        if (type == CodepointClass::Newline) {
            const char* start = rowStart_ ? rowStart_ : it.str;
            const char* stop = rowEnd_ ? rowEnd_ : it.str;
            if (!emit(start, stop, it.next, rowWidth_, rowMinX_, rowMaxX_))
                return false;
            breakEnd_ = rowStart_;
            breakWidth_ = breakMaxX_ = 0;
            rowStart_ = rowEnd_ = nullptr;
            rowWidth_ = rowMinX_ = rowMaxX_ = 0;
        } else if (!rowStart_) {
            if (is_char(type)) {
                start_row_at(it, q);
                breakEnd_ = rowStart_;
                breakWidth_ = breakMaxX_ = 0;
            }
        } else if (!continue_row(it, q, type, breakRowWidth)) {
            return false;
        }
        ptype_ = type;
        return true;
    }

    int finish(const char* end) {
        if (rowStart_)
            emit(rowStart_, rowEnd_, end, rowWidth_, rowMinX_, rowMaxX_);
        return nrows_;
    }

    int count() const { return nrows_; }

private:
    bool emit(const char* start, const char* stop, const char* next, float width, float minx,
              float maxx) {
        rows_[nrows_++] = {start,           stop, next, width * invscale_, minx * invscale_,
                           maxx * invscale_};
        return nrows_ < maxRows_;
    }

    void start_row_at(const GlyphAtlasTextIter& it, const GlyphAtlasQuad& q) {
        rowStartX_ = it.x;
        rowStart_ = it.str;
        rowEnd_ = it.next;
        rowWidth_ = it.nextx - rowStartX_;
        rowMinX_ = q.x0 - rowStartX_;
        rowMaxX_ = q.x1 - rowStartX_;
        wordStart_ = it.str;
        wordStartX_ = it.x;
        wordBoxX0_ = q.x0;
    }

    bool continue_row(const GlyphAtlasTextIter& it, const GlyphAtlasQuad& q, CodepointClass type,
                      float breakRowWidth) {
        const float nextWidth = it.nextx - rowStartX_;
        const float widthBefore = rowWidth_, maxXBefore = rowMaxX_;
        if (is_char(type)) {
            rowEnd_ = it.next;
            rowWidth_ = nextWidth;
            rowMaxX_ = q.x1 - rowStartX_;
        }
        if ((is_char(ptype_) && type == CodepointClass::Space) || type == CodepointClass::CjkChar) {
            // The break lies before this glyph, so its extent is the row's so far.
            breakEnd_ = it.str;
            breakWidth_ = widthBefore;
            breakMaxX_ = maxXBefore;
        }
        if ((ptype_ == CodepointClass::Space && is_char(type)) || type == CodepointClass::CjkChar) {
            wordStart_ = it.str;
            wordStartX_ = it.x;
            wordBoxX0_ = q.x0;
        }
        if (!is_char(type) || nextWidth <= breakRowWidth)
            return true;

        if (breakEnd_ == rowStart_) {
            // No break opportunity: the word is split at this glyph, which
            // moves to the next row and so takes no part in this one's extent.
            if (!emit(rowStart_, it.str, it.str, widthBefore, rowMinX_, maxXBefore))
                return false;
            start_row_at(it, q);
        } else {
            if (!emit(rowStart_, breakEnd_, wordStart_, breakWidth_, rowMinX_, breakMaxX_))
                return false;
            rowStartX_ = wordStartX_;
            rowStart_ = wordStart_;
            rowEnd_ = it.next;
            rowWidth_ = it.nextx - rowStartX_;
            rowMinX_ = wordBoxX0_ - rowStartX_;
            rowMaxX_ = q.x1 - rowStartX_;
        }
        breakEnd_ = rowStart_;
        breakWidth_ = breakMaxX_ = 0;
        return true;
    }

    VGwrapRow* rows_;
    int maxRows_;
    float invscale_;
    int nrows_ = 0;
    const char* rowStart_ = nullptr;
    const char* rowEnd_ = nullptr;
    const char* wordStart_ = nullptr;
    const char* breakEnd_ = nullptr;
    float rowStartX_ = 0, rowWidth_ = 0, rowMinX_ = 0, rowMaxX_ = 0;
    float wordStartX_ = 0, wordBoxX0_ = 0;
    float breakWidth_ = 0, breakMaxX_ = 0;
    CodepointClass ptype_ = CodepointClass::Space;
};

} // namespace

int vg_text_break_lines(VGdrawContext* ctx, const char* string, const char* end,
                        float breakRowWidth, VGwrapRow* rows, int maxRows) {
    if (maxRows <= 0 || !rows || !vg_has_font(ctx))
        return 0;
    vg_text_range(&string, &end);
    if (string == end)
        return 0;
    const float scale = vg_text_scale(ctx);
    vg_apply_text_state(ctx, scale);
    breakRowWidth *= scale;

    GlyphAtlasTextIter iter, before;
    glyphatlas_iter_init(ctx->fs.get(), &iter, 0, 0, string, end, GLYPHATLAS_GLYPH_BITMAP_OPTIONAL);
    before = iter;
    GlyphAtlasQuad q{};
    RowBreaker breaker(rows, maxRows, 1.0f / scale);
    unsigned int pcodepoint = 0;
    while (vg_measure_next(ctx, &iter, &before, &q)) {
        if (!glyphatlas_iter_decoded(iter))
            continue;
        const CodepointClass type = classify(iter.codepoint, pcodepoint);
        if (!breaker.glyph(iter, q, type, breakRowWidth))
            return breaker.count();
        pcodepoint = iter.codepoint;
    }
    return breaker.finish(end);
}
