#include "render/PdfDocument.h"

namespace kalvara {

PdfDocument::PdfDocument(HPDF_Error_Handler handler, void* user_data, PdfMemory memory)
    : doc_(memory.Allocate != nullptr && memory.Free != nullptr
               ? HPDF_NewEx(handler, memory.Allocate, memory.Free, 0, user_data)
               : HPDF_New(handler, user_data)) {}

PdfDocument::~PdfDocument() {
    if (doc_ != nullptr) {
        HPDF_Free(doc_);
    }
}

bool PdfDocument::SaveToMemory(std::string& bytes) {
    bytes.clear();
    if (doc_ == nullptr || HPDF_SaveToStream(doc_) != HPDF_OK) {
        return false;
    }
    HPDF_ResetStream(doc_);
    for (;;) {
        char block[16384];
        HPDF_UINT32 size = sizeof block;
        const HPDF_STATUS status =
            HPDF_ReadFromStream(doc_, reinterpret_cast<HPDF_BYTE*>(block), &size);
        bytes.append(block, size);
        if (status == HPDF_STREAM_EOF) {
            return true;
        }
        if (status != HPDF_OK) {
            bytes.clear();
            return false;
        }
    }
}

} // namespace kalvara
