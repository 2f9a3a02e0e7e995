#pragma once
// Owns one libharu document and frees it on every path out.

#include <hpdf.h>
#include <string>

namespace kalvara {

// The memory libharu works in, when both are set; malloc's heap otherwise.
struct PdfMemory {
    HPDF_Alloc_Func Allocate = nullptr;
    HPDF_Free_Func Free = nullptr;
};

class PdfDocument {
public:
    // handler and user_data go to libharu; user_data must outlive the
    // document. Get() is null when libharu could not create the document.
    PdfDocument(HPDF_Error_Handler handler, void* user_data, PdfMemory memory = {});
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;
    ~PdfDocument();

    HPDF_Doc Get() const { return doc_; }

    // The whole document as PDF bytes. False (and bytes empty) when libharu
    // failed; the failure has then reached the error handler.
    bool SaveToMemory(std::string& bytes);

private:
    HPDF_Doc doc_ = nullptr;
};

} // namespace kalvara
