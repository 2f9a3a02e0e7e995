#pragma once
// Produces one calendar through the document driver into a temporary folder
// and reads it back with mutool.

#include "PdfReadback.h"
#include "render/CalendarDocument.h"
#include "support/TempFolder.h"

#include <string>

namespace kalvara::test {

struct RenderedCalendar {
    GenerateResult Result;
    PdfReadback Readback;
    BroadcastYearTable Years; // as the run left it
};

// Writes the selection to folder/name (the file number is not touched) and
// reads the file back.
inline RenderedCalendar RenderCalendar(const CalendarSelection& selection, const TempFolder& folder,
                                       const std::string& name = "calendar.pdf") {
    RenderedCalendar rendered;
    GenerateEnvironment environment;
    environment.SettingsFile = folder.File("Zorv.ini");
    environment.OutputFolder = folder.File("PDF/");
    environment.OutputPath = folder.File(name);
    rendered.Result = GenerateCalendar(selection, rendered.Years, environment);
    if (rendered.Result.Saved) {
        rendered.Readback = ReadPdfTrace(rendered.Result.Path);
    }
    return rendered;
}

} // namespace kalvara::test
