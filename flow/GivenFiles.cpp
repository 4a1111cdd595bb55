#include "GivenFiles.h"

#include "FileKinds.h"

#include <algorithm>

namespace quarn::GivenFiles {

namespace {

bool forPad(const File& file)
{
    return file.kind == Kind::Pad;
}

std::optional<std::size_t> chosen(const std::vector<File>& files, bool pad)
{
    for (std::size_t i = files.size(); i-- > 0;)
        if (forPad(files[i]) == pad && files[i].refusal.empty())
            return i;
    return std::nullopt;
}

std::string more(std::size_t n)
{
    return "… und " + std::to_string(n) + " weitere";
}

// Lines under a heading, the excess counted.
void part(std::string& out, const char* heading, const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    out += heading;
    out += '\n';
    for (std::size_t i = 0; i < std::min(lines.size(), ShownLines); ++i)
        out += "• " + lines[i] + '\n';
    if (lines.size() > ShownLines)
        out += "• " + more(lines.size() - ShownLines) + '\n';
}

std::string nameList(const std::vector<std::string>& names)
{
    std::string list;
    for (std::size_t i = 0; i < std::min(names.size(), ShownNames); ++i)
        list += (i ? ", " : "") + names[i];
    if (names.size() > ShownNames)
        list += " " + more(names.size() - ShownNames);
    return list;
}

std::string takenAs(const File& file)
{
    switch (file.kind) {
    case Kind::Pad:
        return file.name + " als OTP";
    case Kind::Cipher:
        return file.name + " als Chiffriertext, „Dekodieren“ erledigt";
    case Kind::Text:
        break;
    }
    return file.name + " als Klartext";
}

} // namespace

Kind kindOf(std::string_view name, bool readsAsPad)
{
    const FileKind kind = fileKindOf(name);
    if (readsAsPad || kind == FileKind::Pad)
        return Kind::Pad;
    return kind == FileKind::CipherText ? Kind::Cipher : Kind::Text;
}

std::optional<std::size_t> chosenPad(const std::vector<File>& files)
{
    return chosen(files, true);
}

std::optional<std::size_t> chosenInput(const std::vector<File>& files)
{
    return chosen(files, false);
}

std::string summary(const std::vector<File>& files, const std::vector<std::string>& notices, bool padReady)
{
    const std::optional<std::size_t> pad = chosenPad(files);
    const std::optional<std::size_t> input = chosenInput(files);
    const auto isChosen = [&](std::size_t i) { return i == pad || i == input; };

    std::vector<std::string> opened, refused, passedPads, passedInputs;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const File& file = files[i];
        if (!file.refusal.empty())
            refused.push_back(file.refusal);
        else if (!isChosen(i))
            (forPad(file) ? passedPads : passedInputs).push_back(file.name);
        else if (file.declined)
            refused.push_back(file.name + ": nicht übernommen, das OTP im Feld bleibt");
        else
            opened.push_back(takenAs(file));
    }

    // One file says what its button would say, and nothing when all went well.
    if (files.size() == 1) {
        std::string said = refused.empty() ? std::string() : refused.front();
        for (const std::string& notice : notices)
            said += (said.empty() ? "" : "\n") + notice;
        return said;
    }
    if (files.empty())
        return {};

    std::string out;
    part(out, "Geöffnet:", opened);
    std::vector<std::string> passed;
    if (!passedPads.empty())
        passed.push_back("OTP: " + nameList(passedPads));
    if (!passedInputs.empty())
        passed.push_back("Eingabe: " + nameList(passedInputs));
    part(out, "Übergangen, da jedes Feld nur die zuletzt genannte Datei übernimmt:", passed);
    part(out, "Nicht geöffnet:", refused);
    part(out, "Hinweise:", notices);
    if (input && files[*input].kind == Kind::Cipher)
        out += padReady ? "Weiter mit „Dechiffrieren“." : "Zum Dechiffrieren fehlt noch das OTP.";
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

} // namespace quarn::GivenFiles
