#include "render/Layouts.h"

namespace kalvara {

void DrawMonthCalendar(DocumentContext& context, std::int32_t) {
    context.Page = HPDF_AddPage(context.Pdf);
    HPDF_Page_SetSize(context.Page, HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_LANDSCAPE);
}

} // namespace kalvara
