#include "render/Primitives.h"

#include "engine/DateText.h"

namespace kalvara {

std::int32_t ToPdfY(HPDF_Page page, std::int32_t y) {
    const double height = HPDF_Page_GetHeight(page);
    return RoundHalfEven(height - static_cast<double>(y));
}

void DrawText(HPDF_Page page, const std::string& text, std::int32_t x, std::int32_t y,
              HPDF_Font font, std::int32_t size, TextAlignment alignment) {
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, font, static_cast<HPDF_REAL>(size));
    const HPDF_REAL width = HPDF_Page_TextWidth(page, text.c_str());
    const auto baseline = static_cast<HPDF_REAL>(ToPdfY(page, y));
    const auto left = static_cast<HPDF_REAL>(x);
    // The shifted x stays a real: rounding it would move centred text by up
    // to half a point.
    switch (alignment) {
    case AlignLeft:
        HPDF_Page_TextOut(page, left, baseline, text.c_str());
        break;
    case AlignRight:
        HPDF_Page_TextOut(page, left - width, baseline, text.c_str());
        break;
    case AlignCenter:
        HPDF_Page_TextOut(page, left - width / 2, baseline, text.c_str());
        break;
    default:
        break;
    }
    HPDF_Page_EndText(page);
}

void DrawHLine(HPDF_Page page, std::int32_t x_from, std::int32_t x_to, std::int32_t y,
               const RgbColor& colour, float width) {
    const auto pdf_y = static_cast<HPDF_REAL>(ToPdfY(page, y));
    HPDF_Page_SetRGBStroke(page, colour.Red, colour.Green, colour.Blue);
    HPDF_Page_SetLineWidth(page, width);
    HPDF_Page_MoveTo(page, static_cast<HPDF_REAL>(x_from), pdf_y);
    HPDF_Page_LineTo(page, static_cast<HPDF_REAL>(x_to), pdf_y);
    HPDF_Page_Stroke(page);
    HPDF_Page_SetRGBStroke(page, 0, 0, 0);
}

void DrawVLine(HPDF_Page page, std::int32_t x, std::int32_t y, std::int32_t offset,
               std::int32_t length) {
    const auto top = static_cast<HPDF_REAL>(ToPdfY(page, y - offset));
    HPDF_Page_MoveTo(page, static_cast<HPDF_REAL>(x), top);
    HPDF_Page_LineTo(page, static_cast<HPDF_REAL>(x), top - static_cast<HPDF_REAL>(length));
    HPDF_Page_Stroke(page);
}

void DrawLine(HPDF_Page page, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              float width) {
    HPDF_Page_SetLineWidth(page, width);
    HPDF_Page_MoveTo(page, static_cast<HPDF_REAL>(x1), static_cast<HPDF_REAL>(ToPdfY(page, y1)));
    HPDF_Page_LineTo(page, static_cast<HPDF_REAL>(x2), static_cast<HPDF_REAL>(ToPdfY(page, y2)));
    HPDF_Page_Stroke(page);
}

void FillBox(HPDF_Page page, const RgbColor& colour, std::int32_t y, std::int32_t x,
             std::int32_t width, std::int32_t height, std::int32_t outlined) {
    HPDF_Page_SetLineWidth(page, 0.6f);
    if (outlined != 0) {
        HPDF_Page_SetRGBStroke(page, 0, 0, 0);
    } else {
        // A border in the fill colour keeps the box its own colour to the edge.
        HPDF_Page_SetRGBStroke(page, colour.Red, colour.Green, colour.Blue);
    }
    HPDF_Page_SetRGBFill(page, colour.Red, colour.Green, colour.Blue);
    // The rectangle grows upward in PDF space, so y is the box's bottom edge.
    HPDF_Page_Rectangle(page, static_cast<HPDF_REAL>(x), static_cast<HPDF_REAL>(ToPdfY(page, y)),
                        static_cast<HPDF_REAL>(width), static_cast<HPDF_REAL>(height));
    HPDF_Page_FillStroke(page);
    HPDF_Page_SetRGBStroke(page, 0, 0, 0);
    HPDF_Page_SetRGBFill(page, 0, 0, 0);
}

void SetFillColor(HPDF_Page page, const RgbColor& colour) {
    HPDF_Page_SetRGBFill(page, colour.Red, colour.Green, colour.Blue);
}

} // namespace kalvara
