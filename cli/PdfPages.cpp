#include "PdfPages.h"

#include <cstdio>

namespace quarn::cli {

namespace {

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A string literal of PDF: the three characters with a meaning of their own are escaped.
std::string literal(const std::string& bytes)
{
    std::string out = "(";
    for (const char c : bytes) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + ")";
}

} // namespace

std::string pdfOfPages(const std::vector<std::vector<std::string>>& pages, const PdfPageLayout& layout,
                       const std::string& title)
{
    // Objects: 1 catalogue, 2 page tree, 3 font, 4 information, then a page and its contents for each page.
    std::vector<std::string> objects;
    std::string kids;
    for (std::size_t p = 0; p < pages.size(); ++p)
        kids += std::to_string(5 + 2 * p) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [ " + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
    objects.push_back("<< /Title " + literal(title) + " /Creator (Quarn) >>");
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::string content = "BT /F1 " + number(layout.fontSize) + " Tf " + number(layout.linePitch) + " TL " +
                              number(layout.left) + " " + number(layout.height - layout.firstBaseline) + " Td\n";
        for (const std::string& line : pages[p])
            content += literal(line) + " Tj T*\n";
        content += "ET\n";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + number(layout.width) + " " +
                          number(layout.height) + "] /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(6 + 2 * p) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
    }

    // Bytes above 127 in the comment mark the file as binary for tools that guess.
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R /Info 4 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace quarn::cli
