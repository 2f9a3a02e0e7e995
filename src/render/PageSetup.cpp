#include "render/PageSetup.h"

namespace kalvara {

namespace {

struct PageExtent {
    std::int32_t Width;
    std::int32_t Height;
};

// Portrait extents in points; landscape swaps them.
PageExtent PortraitExtent(HPDF_PageSizes size) {
    return size == HPDF_PAGE_SIZE_LEGAL ? PageExtent{612, 1008} : PageExtent{612, 792};
}

} // namespace

HPDF_Page StartLayoutPage(DocumentContext& context, const PageSetup& setup) {
    context.Page = HPDF_AddPage(context.Pdf);
    HPDF_Page_SetSize(context.Page, setup.Size, setup.Direction);
    if (setup.Geometry == GeometryRule::Untouched) {
        return context.Page;
    }
    if (setup.Geometry == GeometryRule::EveryPage || context.PageWidth == 0) {
        PageExtent extent = PortraitExtent(setup.Size);
        if (setup.Direction == HPDF_PAGE_LANDSCAPE) {
            extent = {extent.Height, extent.Width};
        }
        context.PageWidth = extent.Width;
        context.PageHeight = extent.Height;
        context.LeftEdge = setup.LeftEdge;
        context.RightEdge = setup.RightEdge;
        context.CenterX = context.PageWidth / 2;
    }
    return context.Page;
}

} // namespace kalvara
