#pragma once

#include <string>
#include <vector>

namespace quarn::cli {

// A PDF of text pages without any library: each line in Courier (one of the fonts every PDF reader has),
// its Windows-1252 bytes in the font's WinAnsi encoding, which is the same code page, so the text is real
// text that a reader shows, searches and copies. Lines stand at `firstBaseline` and every `linePitch`
// points below it, from `left`; all measures in points.
struct PdfPageLayout
{
    double width;
    double height;
    double left;
    double firstBaseline;
    double linePitch;
    double fontSize;
};

std::string pdfOfPages(const std::vector<std::vector<std::string>>& pages, const PdfPageLayout& layout,
                       const std::string& title);

} // namespace quarn::cli
