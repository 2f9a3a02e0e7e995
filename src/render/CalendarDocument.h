#pragma once
// The document driver: turns a selection into one saved PDF file.

#include "core/CalendarSelection.h"
#include "core/NumberedCalendarFile.h"
#include "engine/BroadcastYearTable.h"
#include "render/PdfDocument.h"

#include <cstdint>
#include <functional>
#include <hpdf.h>
#include <string>

namespace kalvara {

// Where the run writes and what it tells the program around it.
struct GenerateEnvironment {
    std::string PdfReaderPath; // empty: the file is saved and not opened
    // When not empty the PDF is written exactly here (through a symbolic
    // link, which stays) and no file number is taken.
    std::string OutputPath;
    // Otherwise this takes the next numbered file once the pages are drawn
    // (TakeNumberedCalendarFile of the program's settings file and output
    // folder); a link in the output folder is replaced, not followed.
    std::function<NumberedCalendarFile()> TakeNumberedFile;
    // Opens the saved file; called only when PdfReaderPath is not empty.
    std::function<void(const std::string& path)> OpenInReader;
    // Runs after each "PDF Error" notice (the desktop program closes its main
    // window); may be empty.
    std::function<void()> AfterPdfError;
    // Where libharu takes its memory from, so that a caller can bound what
    // one document may take.
    PdfMemory Memory;
};

struct GenerateResult {
    std::string Path;              // the file written (or meant to be written)
    bool PdfErrorOccurred = false; // libharu reported at least one error
    bool Saved = false;            // the complete file is at Path
    std::string Problem;           // one line saying why nothing was saved
    // One line when the numbered file was saved but its number could not be
    // kept, so the next run may replace it; the fronts tell the user.
    std::string NumberNotKept;
};

// Kept for one run; libharu hands it back to PdfErrorHandler as user data.
struct PdfRunState {
    std::int32_t ErrorCount = 0;
    bool NoDocument = false; // HPDF_New gave no document
    // The file being written and the system's reason for the failure, when
    // the error is about the file; text 2 of the "PDF Error" notice names them.
    std::string TargetPath;
    std::string Reason;
    std::function<void()> AfterPdfError;
    PdfMemory Memory; // as in GenerateEnvironment
};

// Builds the year table for the selection, draws the style's pages, takes the
// numbered file (unless OutputPath is set), saves the file over any older one
// of that name and opens it, in that order.
// The file is written beside its target and renamed, so a failure never
// leaves a part of a file behind.
GenerateResult GenerateCalendar(const CalendarSelection& selection, BroadcastYearTable& years,
                                const GenerateEnvironment& environment);

// The document of the selection as PDF bytes, drawn the way GenerateCalendar
// draws it, without touching the disk. False when libharu failed (its errors
// have reached PdfErrorHandler with state as user data) or could not create a
// document (after the "Unable to create PDF object." notice).
bool RenderCalendarDocument(const CalendarSelection& selection, BroadcastYearTable& years,
                            PdfRunState& state, std::string& bytes);

// The libharu error callback. user_data is the run's PdfRunState (or null).
// Shows the "PDF Error" notice, counts the error and calls AfterPdfError.
void PdfErrorHandler(HPDF_STATUS error, HPDF_STATUS detail, void* user_data);

// Text 2 of the "PDF Error" notice: the file and the reason when the run's
// state names them, else empty.
std::string PdfErrorDetailText(const PdfRunState* state);

// "Error number = 4119 [&H1017]|Detail number = 0 [&H0]{f11,t4}"
std::string PdfErrorText(HPDF_STATUS error, HPDF_STATUS detail);

} // namespace kalvara
