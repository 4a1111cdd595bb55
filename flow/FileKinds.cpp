#include "FileKinds.h"

#include <algorithm>

namespace quarn {

const FileKindRules& FileKindRules::of(FileKind kind)
{
    static const FileKindRules rules[] = {
        {".OTP", "Schlüsseldateien (*.OTP)|*.OTP", "Schlüseldateien (*.OTP)|*.OTP", true, true},
        {".txt", "Textdatei (*.txt)|*.txt", "Textdateien (*.txt)|*.txt", true, false},
        {".crp", "Crypt-Datei (*.crp)|*.crp", "Crypt Dateien (*.crp)|*.crp", false, false},
        {".pdf", "PDF-Dokument (*.pdf)|*.pdf", {}, true, false},
    };
    return rules[static_cast<int>(kind)];
}

FileKind fileKindOf(std::string_view name)
{
    const auto endsWith = [name](std::string_view end, bool anyCase) {
        if (name.size() < end.size())
            return false;
        return std::equal(end.begin(), end.end(), name.end() - std::ptrdiff_t(end.size()), [anyCase](char a, char b) {
            const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
            return anyCase ? lower(a) == lower(b) : a == b;
        });
    };
    if (endsWith(".OTP", false))
        return FileKind::Pad;
    if (endsWith(".crp", true))
        return FileKind::CipherText;
    return FileKind::PlainText;
}

} // namespace quarn
