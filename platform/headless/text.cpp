// Text on the scripted desktop: FreeType renders the "sans-serif" face that fontconfig picks
// (DejaVu Sans here) at 13 pixels, hinted, with grayscale antialiasing and no kerning. The
// character cell runs from the face's ascender to its descender at that size, which gives a cell
// of 17 pixels, well inside the 22-pixel footer line.
#include <algorithm>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/headless/desktop_state.h"

namespace {

constexpr FT_UInt TextPixelSize = 13;
constexpr FT_Int32 GlyphLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL;

// Loaded once and kept for the run; loaded again only when a test chooses another font file.
struct TextFont {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    bool chosen = false;
    std::string chosenFile;
    int32_t ascent = 0;   // pixels above the baseline
    int32_t descent = 0;  // pixels below it
};

TextFont font;

std::string SansSerifFile(int* index) {
    std::string file;
    FcConfig* config = FcInitLoadConfigAndFonts();
    FcPattern* pattern = config ? FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif")) : nullptr;
    if (pattern) {
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(config, pattern, &result);
        FcChar8* path = nullptr;
        if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
            file = reinterpret_cast<const char*>(path);
            if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
        }
        if (match) FcPatternDestroy(match);
        FcPatternDestroy(pattern);
    }
    if (config) FcConfigDestroy(config);
    return file;
}

void OpenFace(const std::string& file, int index) {
    if (file.empty() || (!font.library && FT_Init_FreeType(&font.library) != 0)) return;
    if (FT_New_Face(font.library, file.c_str(), index, &font.face) != 0) {
        font.face = nullptr;
        return;
    }
    if (FT_Set_Pixel_Sizes(font.face, 0, TextPixelSize) != 0) {
        FT_Done_Face(font.face);
        font.face = nullptr;
        return;
    }
    const FT_Size_Metrics& metrics = font.face->size->metrics;
    font.ascent = static_cast<int32_t>((metrics.ascender + 63) >> 6);
    font.descent = static_cast<int32_t>((-metrics.descender + 63) >> 6);
}

// The face to draw with, or null when there is none.
FT_Face TextFace() {
    if (font.chosen && font.chosenFile == headless.fontFile) return font.face;
    if (font.face) FT_Done_Face(font.face);
    font.face = nullptr;
    font.chosen = true;
    font.chosenFile = headless.fontFile;
    int index = 0;
    OpenFace(headless.fontFile.empty() ? SansSerifFile(&index) : headless.fontFile, index);
    return font.face;
}

// The hinted advance of one character in whole pixels; 0 when it cannot be loaded.
int32_t AdvanceOf(FT_Face face, wchar_t c) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), GlyphLoadFlags) != 0) return 0;
    return static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
}

// Puts a rendered glyph with its top-left at left, top of the cell, keeping the brighter coverage where
// neighbouring glyphs overlap. Ink outside the cell is cut off.
void StampGlyph(const FT_Bitmap& bitmap, int32_t left, int32_t top, TextCoverage* out) {
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    for (int32_t row = 0; row < static_cast<int32_t>(bitmap.rows); ++row) {
        const int32_t y = top + row;
        if (y < 0 || y >= out->height) continue;
        const int32_t stride = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
        const int32_t stored = bitmap.pitch < 0 ? static_cast<int32_t>(bitmap.rows) - 1 - row : row;
        const unsigned char* line = bitmap.buffer + static_cast<size_t>(stored) * stride;
        for (int32_t column = 0; column < static_cast<int32_t>(bitmap.width); ++column) {
            const int32_t x = left + column;
            if (x < 0 || x >= out->width) continue;
            uint8_t* pixel = &out->coverage[(static_cast<size_t>(y) * out->width + x) * 3];
            const uint8_t value = std::max(pixel[0], line[column]);
            pixel[0] = pixel[1] = pixel[2] = value;
        }
    }
}

}  // namespace

void SetHeadlessFontFile(const std::string& path) { headless.fontFile = path; }

int32_t MeasureTextWidth(const std::wstring& text) {
    FT_Face face = text.empty() ? nullptr : TextFace();
    if (!face) return 0;
    int32_t width = 0;
    for (const wchar_t c : text) width += AdvanceOf(face, c);
    return width;
}

bool RasteriseText(const std::wstring& text, TextCoverage* out) {
    if (!out) return false;
    FT_Face face = TextFace();
    if (!face) return false;
    *out = TextCoverage{};
    const int32_t width = MeasureTextWidth(text);
    if (width <= 0) return true;
    out->width = width;
    out->height = font.ascent + font.descent;
    out->coverage.assign(static_cast<size_t>(out->width) * out->height * 3, 0);
    int32_t pen = 0;
    for (const wchar_t c : text) {
        if (FT_Load_Char(face, static_cast<FT_ULong>(c), GlyphLoadFlags) != 0) continue;
        const int32_t advance = static_cast<int32_t>((face->glyph->advance.x + 32) >> 6);
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
            StampGlyph(face->glyph->bitmap, pen + face->glyph->bitmap_left, font.ascent - face->glyph->bitmap_top,
                       out);
        }
        pen += advance;
    }
    return true;
}
