#pragma once
// The styled text that the RTF reader produces: paragraphs of runs, each run
// a stretch of UTF-8 text in one character format. Plain values, no toolkit.

#include <string>
#include <vector>

namespace kalvara {

// Font size when a document sets none: 12 points, in RTF's half-points.
inline constexpr int RtfDefaultHalfPoints = 24;

struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = RtfDefaultHalfPoints; // 1 .. RtfMaxHalfPoints

    friend bool operator==(const RtfCharFormat&, const RtfCharFormat&) = default;
};

// A run's text never holds control characters other than "\t" (tab) and "\n"
// (a line break inside the paragraph, RTF's \line).
struct RtfRun {
    std::string text;
    RtfCharFormat format;
};

enum class RtfAlignment { Left, Center, Right, Justify };

// Indents and spacing are in twips (1/1440 inch), clamped to sane ranges by
// the reader so that no caller has to guard against absurd values.
struct RtfParagraphFormat {
    RtfAlignment alignment = RtfAlignment::Left;
    int leftIndent = 0;      // 0 .. RtfMaxIndent
    int firstLineIndent = 0; // -RtfMaxIndent .. RtfMaxIndent, negative hangs
    int spaceBefore = 0;     // 0 .. RtfMaxSpacing
    int spaceAfter = 0;      // 0 .. RtfMaxSpacing

    friend bool operator==(const RtfParagraphFormat&, const RtfParagraphFormat&) = default;
};

struct RtfParagraph {
    std::vector<RtfRun> runs;
    RtfParagraphFormat format;
};

struct RtfDocument {
    std::vector<RtfParagraph> paragraphs;
};

inline constexpr int RtfMaxHalfPoints = 400; // 200 points
inline constexpr int RtfMaxIndent = 14400;   // 10 inches
inline constexpr int RtfMaxSpacing = 2880;   // 2 inches

} // namespace kalvara
