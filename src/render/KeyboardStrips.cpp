#include "render/Layouts.h"

namespace kalvara {

void DrawKeyboardStrips(DocumentContext& context) {
    context.Page = HPDF_AddPage(context.Pdf);
    HPDF_Page_SetSize(context.Page, HPDF_PAGE_SIZE_LEGAL, HPDF_PAGE_LANDSCAPE);
}

} // namespace kalvara
