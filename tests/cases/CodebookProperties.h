#pragma once

#include "CodeTable.h"

#include <string>
#include <string_view>

namespace quarn::cases {

// Every character the decoder can write: the table's letters and figures, CR LF, and the lower-case
// marks "rpt" and "-code-".
inline constexpr std::string_view DecoderAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ .:,-/()+=\"0123456789\r\nrptcode";

// What decoding the encoded text gives back: the table characters of the text in order, an R P T that
// stands side by side in the text as "rpt". The encoder looks at the raw text for R P T, so a character it
// passes over between them keeps them three letters.
inline std::string expectedRoundTrip(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 3) == "RPT") {
            out += "rpt";
            i += 2;
        } else if (CodeTable::findLetter(text[i]) || CodeTable::findFigure(text[i])) {
            out += text[i];
        }
    }
    return out;
}

} // namespace quarn::cases
