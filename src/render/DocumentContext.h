#pragma once
// Where a layout draws: the document and its fonts (set by the driver), the
// page being drawn and its geometry (set by the layouts), plus the selection
// and the broadcast year table that the layouts read. One is made per run of
// the driver and handed by reference to every layout call of that run.

#include "engine/BroadcastYearTable.h"
#include "core/CalendarSelection.h"

#include <cstdint>
#include <hpdf.h>

namespace kalvara {

struct DocumentContext {
    DocumentContext(const CalendarSelection& selection, BroadcastYearTable& years)
        : Selection(selection), Years(years) {}

    // Owned by the driver; a layout never frees or replaces it.
    HPDF_Doc Pdf = nullptr;
    // The page that the current layout call added with HPDF_AddPage.
    HPDF_Page Page = nullptr;
    HPDF_Font FontRegular = nullptr;     // "Helvetica"
    HPDF_Font FontBold = nullptr;        // "Helvetica-Bold"
    HPDF_Font FontBoldOblique = nullptr; // "Helvetica-BoldOblique"

    // Running y from the top of the page; only the Planning layout uses it.
    std::int32_t CursorY = 0;
    // Page geometry in points. Month and Quarter fill it only while PageWidth
    // is still 0, so the first page of a document decides it.
    std::int32_t PageWidth = 0;
    std::int32_t PageHeight = 0;
    std::int32_t LeftEdge = 0;
    std::int32_t RightEdge = 0;
    std::int32_t CenterX = 0;

    const CalendarSelection& Selection;
    // Built for StartYear by the driver; layouts that print later years
    // rebuild it, and it stays at the last year built after the run.
    BroadcastYearTable& Years;
};

} // namespace kalvara
