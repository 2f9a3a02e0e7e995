#pragma once
// How a layout starts its page: added to the document, sized, and its
// geometry recorded in the context by the layout's rule.

#include "render/DocumentContext.h"

#include <cstdint>
#include <hpdf.h>

namespace kalvara {

enum class GeometryRule {
    FirstPageDecides, // Month and Quarter: only while PageWidth is still 0
    EveryPage,        // the single-page layouts
    Untouched,        // Planning works with CursorY alone
};

struct PageSetup {
    HPDF_PageSizes Size = HPDF_PAGE_SIZE_LETTER;
    HPDF_PageDirection Direction = HPDF_PAGE_PORTRAIT;
    std::int32_t LeftEdge = 0;
    std::int32_t RightEdge = 0;
    GeometryRule Geometry = GeometryRule::EveryPage;
};

// Adds the page, stores it in the context and returns it.
HPDF_Page StartLayoutPage(DocumentContext& context, const PageSetup& setup);

} // namespace kalvara
