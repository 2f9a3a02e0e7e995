#include "render/Layouts.h"

namespace kalvara {

void DrawQuarterCalendar(DocumentContext& context, std::int32_t) {
    context.Page = HPDF_AddPage(context.Pdf);
    HPDF_Page_SetSize(context.Page, HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT);
}

} // namespace kalvara
