#include "render/CalendarDocument.h"

#include "core/AtomicFile.h"
#include "core/Notice.h"
#include "render/DocumentContext.h"
#include "render/Layouts.h"
#include "render/PdfDocument.h"

#include <cstring>
#include <fmt/format.h>

namespace kalvara {

namespace {

constexpr const char* PdfErrorTitle = "PDF Error";

// Writes data over path, all or nothing, and says why it could not in
// libharu's terms, so that the user sees what a failing HPDF_SaveToFile would
// have reported, and in words.
struct WriteFailure {
    HPDF_STATUS Error = HPDF_OK; // HPDF_FILE_OPEN_ERROR or HPDF_FILE_IO_ERROR
    int Detail = 0;              // errno
    std::string Problem;         // empty on success
};

WriteFailure ReplaceFile(const std::string& path, const std::string& data, LinkHandling links) {
    const AtomicWriteError error = ReplaceFileAtomically(path, data, links);
    if (!error) {
        return {};
    }
    return {static_cast<HPDF_STATUS>(error.AtCreate ? HPDF_FILE_OPEN_ERROR : HPDF_FILE_IO_ERROR),
            error.Errno, "cannot write " + path + ": " + std::strerror(error.Errno)};
}

void DrawPages(DocumentContext& context) {
    const CalendarSelection& selection = context.Selection;
    switch (selection.Style) {
    case CalendarStyle::Month:
        if (selection.Period == AllPeriods) {
            for (std::int32_t month = 1; month <= 12; ++month) {
                DrawMonthCalendar(context, month);
            }
        } else if (selection.Period >= 1 && selection.Period <= 12) {
            DrawMonthCalendar(context, selection.Period);
        }
        break;
    case CalendarStyle::Quarter:
        if (selection.Period == AllPeriods) {
            for (std::int32_t month = 1; month <= 10; month += 3) {
                DrawQuarterCalendar(context, month);
            }
        } else if (selection.Period >= 1 && selection.Period <= 12) {
            DrawQuarterCalendar(context, selection.Period);
        }
        break;
    case CalendarStyle::Year:
        DrawYearCalendar(context);
        break;
    case CalendarStyle::ThreeYears:
        DrawThreeYearCalendar(context);
        break;
    case CalendarStyle::KeyboardStrips:
        DrawKeyboardStrips(context);
        break;
    case CalendarStyle::Planning:
        DrawPlanningCalendar(context);
        break;
    }
}

} // namespace

std::string PdfErrorText(HPDF_STATUS error, HPDF_STATUS detail) {
    const auto error32 = static_cast<std::uint32_t>(error);
    const auto detail32 = static_cast<std::uint32_t>(detail);
    return fmt::format("Error number = {0} [&H{0:X}]|Detail number = {1} [&H{1:X}]{{f11,t4}}",
                       error32, detail32);
}

std::string PdfErrorDetailText(const PdfRunState* state) {
    if (state == nullptr || state->TargetPath.empty()) {
        return {};
    }
    std::string text = "|While writing \"" + QuoteMarkup(state->TargetPath) + "\"";
    if (!state->Reason.empty()) {
        text += ":|" + QuoteMarkup(state->Reason);
    }
    return text + ".{f6}";
}

void PdfErrorHandler(HPDF_STATUS error, HPDF_STATUS detail, void* user_data) {
    auto* state = static_cast<PdfRunState*>(user_data);
    ShowNotice(PdfErrorTitle, PdfErrorText(error, detail), PdfErrorDetailText(state));
    if (state == nullptr) {
        return;
    }
    ++state->ErrorCount;
    if (state->AfterPdfError) {
        state->AfterPdfError();
    }
}

bool RenderCalendarDocument(const CalendarSelection& selection, BroadcastYearTable& years,
                            PdfRunState& state, std::string& bytes) {
    bytes.clear();
    PdfDocument document(PdfErrorHandler, &state, state.Memory);
    if (document.Get() == nullptr) {
        state.NoDocument = true;
        ShowNotice(PdfErrorTitle, "Unable to create PDF object.{f11,t4}",
                   "Please inform technical support of this error.{f6}");
        return false;
    }
    HPDF_SetCompressionMode(document.Get(), HPDF_COMP_ALL);

    DocumentContext context(selection, years);
    context.Pdf = document.Get();
    context.FontRegular = HPDF_GetFont(document.Get(), "Helvetica", nullptr);
    context.FontBold = HPDF_GetFont(document.Get(), "Helvetica-Bold", nullptr);
    context.FontBoldOblique = HPDF_GetFont(document.Get(), "Helvetica-BoldOblique", nullptr);

    BuildBroadcastYear(selection.StartYear, years);
    DrawPages(context);
    // libharu refuses to save a document once any of its calls has failed.
    return document.SaveToMemory(bytes);
}

GenerateResult GenerateCalendar(const CalendarSelection& selection, BroadcastYearTable& years,
                                const GenerateEnvironment& environment) {
    GenerateResult result;
    PdfRunState state;
    state.AfterPdfError = environment.AfterPdfError;
    state.Memory = environment.Memory;
    std::string bytes;
    const bool rendered = RenderCalendarDocument(selection, years, state, bytes);
    result.PdfErrorOccurred = !rendered || state.ErrorCount > 0;
    // libharu may have reported its own failure before giving up on the
    // document; either way there is nothing to number.
    if (state.NoDocument) {
        // No document at all: nothing is numbered or saved.
        result.Problem = "Unable to create PDF object.";
        return result;
    }
    // The number advances even when drawing failed, as it always has.
    LinkHandling links = LinkHandling::WriteThrough;
    if (!environment.OutputPath.empty()) {
        result.Path = environment.OutputPath;
    } else if (environment.TakeNumberedFile) {
        const NumberedCalendarFile numbered = environment.TakeNumberedFile();
        result.Path = numbered.Path;
        result.NumberNotKept = numbered.NotKept;
        // The numbered names are the program's own: a link planted under one
        // is replaced rather than followed out of the folder.
        links = LinkHandling::ReplaceLink;
    } else {
        result.Problem = "no file to write the calendar to";
        return result;
    }
    if (!rendered) {
        result.Problem = "the PDF document could not be produced";
        return result;
    }
    // Only a complete document touches the target. A file that cannot be
    // written is a PDF error like any other, so the user hears of it.
    const WriteFailure failure = ReplaceFile(result.Path, bytes, links);
    if (!failure.Problem.empty()) {
        state.TargetPath = result.Path;
        state.Reason = std::strerror(failure.Detail);
        PdfErrorHandler(failure.Error, static_cast<HPDF_STATUS>(failure.Detail), &state);
        result.PdfErrorOccurred = true;
        result.Problem = failure.Problem;
        return result;
    }
    result.Saved = true;
    if (!environment.PdfReaderPath.empty() && environment.OpenInReader) {
        environment.OpenInReader(result.Path);
    }
    return result;
}

} // namespace kalvara
