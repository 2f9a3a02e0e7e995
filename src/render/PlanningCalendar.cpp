#include "render/Layouts.h"

namespace kalvara {

void DrawPlanningCalendar(DocumentContext& context) {
    context.Page = HPDF_AddPage(context.Pdf);
    HPDF_Page_SetHeight(context.Page, 792);
    HPDF_Page_SetWidth(context.Page, 612);
}

} // namespace kalvara
