#include "render/Layouts.h"

namespace kalvara {

void DrawThreeYearCalendar(DocumentContext& context) {
    context.Page = HPDF_AddPage(context.Pdf);
    HPDF_Page_SetSize(context.Page, HPDF_PAGE_SIZE_LETTER, HPDF_PAGE_PORTRAIT);
}

} // namespace kalvara
