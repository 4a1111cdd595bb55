#pragma once

// Work-flow cases shared by the QTest suite and the Qt-free runner. Texts are UTF-8, the encoder's bytes
// Windows-1252.
#include "CipherFlow.h"
#include "DirectionRules.h"
#include "EncoderInput.h"
#include "FileKinds.h"
#include "InputText.h"
#include "Messages.h"
#include "PadCases.h"
#include "PassedOver.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarn::cases {

struct DirectionCase
{
    std::string_view name;
    bool decode;
    std::size_t typed, loaded;
    std::string_view caption, cipherButton, loadButton;
};

inline constexpr std::array DirectionCases{
    DirectionCase{"a plain text is 100 characters typed or loaded", false, 100, 100, "Klartext: (max. 100 Zeichen)",
                  "Chiffrieren", "Text Laden"},
    DirectionCase{"a cipher text is 600 typed and 603 loaded; its caption counts digits", true, 600, 603,
                  "Chiffriertext: (max. 500 Zeichen)", "Dechiffrieren", "Crypt Laden"},
};

struct EncoderInputCase
{
    std::string_view name;
    std::u32string_view text;
    std::string_view bytes;
    std::u32string_view passedOver;
    bool offer;
};

inline constexpr std::array EncoderInputCases{
    EncoderInputCase{"letters are upper-cased as the code page has them", U"ab\u00e9", "AB\xC9", U"\u00c9", false},
    EncoderInputCase{"a character the code page lacks stands in and is named as it is", U"a\u0151", "A?", U"\u0151",
                     false},
    EncoderInputCase{"one stand-in for a character beyond 16 bits", U"\U0001F600", "?", U"\U0001F600", false},
    EncoderInputCase{"a lower-case umlaut is offered in upper case", U"\u00e4b",
                     "\xC4"
                     "B",
                     U"\u00c4", true},
    EncoderInputCase{"sharp s is offered", U"\u00df", "\xDF", U"\u00df", true},
    EncoderInputCase{"each passed-over character once, in order", U"\n.\t\n", "\n.\t\n", U"\n\t", false},
};

struct CipherPlanCase
{
    std::string_view name;
    // The pad's story before the step: made here, enciphered a message, then saved.
    bool made, enciphered, saved;
    bool decode;
    std::string_view groups;
    bool shortPad;
    CipherPlan::Stop stop;
    int reuse; // where the reuse question stands among the questions; -1: not asked
    int replace;
};

inline constexpr std::array CipherPlanCases{
    CipherPlanCase{"nothing to cipher stops both directions first", true, false, false, true, "", false,
                   CipherPlan::Stop::NothingToCipher, -1, -1},
    CipherPlanCase{"an encoder that kept nothing makes no pad", false, false, false, false, "", true,
                   CipherPlan::Stop::NothingToCipher, -1, -1},
    CipherPlanCase{"a received message needs the partner's pad, not one made here", true, false, false, true, "12345 ",
                   false, CipherPlan::Stop::LoadPadFirst, -1, -1},
    CipherPlanCase{"a pad made here and saved deciphers", true, false, true, true, "12345 ", false,
                   CipherPlan::Stop::None, -1, -1},
    CipherPlanCase{"a second message asks about reuse", true, true, true, false, "99999 ", false,
                   CipherPlan::Stop::None, 0, -1},
    CipherPlanCase{"the same message again asks nothing", true, true, true, false, "12345 ", false,
                   CipherPlan::Stop::None, -1, -1},
    CipherPlanCase{"deciphering never asks about reuse", true, true, true, true, "99999 ", false,
                   CipherPlan::Stop::None, -1, -1},
    CipherPlanCase{"a full pad that would be lost asks nothing when it enciphers its message again", true, true, false,
                   false, "12345 ", false, CipherPlan::Stop::None, -1, -1},
    CipherPlanCase{"a short pad that would be lost asks before a fresh one replaces it", true, true, false, false,
                   "12345 ", true, CipherPlan::Stop::None, -1, 0},
    CipherPlanCase{"a fresh pad for a short one asks nothing when no message is lost", false, false, false, false,
                   "12345 ", true, CipherPlan::Stop::None, -1, -1},
};

struct CipherInputCase
{
    std::string_view name;
    std::size_t ones; // the text: this many '1's, then `tail`
    std::string_view tail;
    std::size_t used;
    std::string_view groupsEnd;
    bool cut;
};

inline constexpr std::array CipherInputCases{
    CipherInputCase{"a pad's length of characters is read whole", 600, "", 600, "1", false},
    CipherInputCase{"one character more is cut and told", 600, "2", 600, "1", true},
    CipherInputCase{"a UTF-8 umlaut is one character, in its code-page form", 599, "\xC3\xA4", 600, "\xE4", false},
    CipherInputCase{"a character the code page lacks takes the stand-in", 0,
                    "1\xE2\x86\x92"
                    "2",
                    3, "1?2", false},
    CipherInputCase{"a line break counts like any character", 599, "\r\n", 600, "1\r", true},
};

struct FileKindCase
{
    std::string_view name;
    std::string_view file;
    FileKind kind;
};

inline constexpr std::array FileKindCases{
    FileKindCase{"a pad is named in capitals", "/tmp/a.OTP", FileKind::Pad},
    FileKindCase{"a pad's name in small letters is a text", "a.otp", FileKind::PlainText},
    FileKindCase{"a cipher text in any case", "B.CrP", FileKind::CipherText},
    FileKindCase{"only the end counts", "a.crp.txt", FileKind::PlainText},
    FileKindCase{"no dot, no kind", "OTP", FileKind::PlainText},
    FileKindCase{"a name shorter than the ending", "rp", FileKind::PlainText},
    FileKindCase{"a name that is nothing but its ending has that kind", ".OTP", FileKind::Pad},
};

struct FullStopCase
{
    std::string_view name;
    std::string_view text;
    std::string_view shown;
};

inline constexpr std::array FullStopCases{
    FullStopCase{"a letter at the end takes a full stop", "kaputt", "kaputt."},
    FullStopCase{"a full stop is not doubled", "kaputt.", "kaputt."},
    FullStopCase{"an exclamation mark sorts before it", "kaputt!", "kaputt!"},
    FullStopCase{"a closing bracket sorts before it", "(kaputt)", "(kaputt)"},
    FullStopCase{"a slash sorts after it", "a/", "a/."},
    FullStopCase{"an umlaut at the end takes one", "gr\xC3\xBC", "gr\xC3\xBC."},
    FullStopCase{"nothing stays nothing", "", ""},
};

inline std::string flowProblem(const DirectionCase& c)
{
    const DirectionRules& r = DirectionRules::of(c.decode ? CipherDirection::Decode : CipherDirection::Encode);
    if (r.typedLimit != c.typed || r.loadedLimit != c.loaded)
        return "limits " + std::to_string(r.typedLimit) + " " + std::to_string(r.loadedLimit);
    if (r.inputCaption != c.caption || r.cipherButton != c.cipherButton || r.loadButton != c.loadButton)
        return "captions " + r.inputCaption + " " + r.cipherButton + " " + r.loadButton;
    return {};
}

inline std::string flowProblem(const EncoderInputCase& c)
{
    const EncoderInput input = EncoderInput::of(c.text);
    if (input.bytes() != c.bytes)
        return "bytes " + input.bytes();
    // The notice names each character passed over once, in order: it stands for the list.
    if (input.notice() != PassedOver::notice(c.passedOver))
        return "passed over " + input.notice();
    if (input.offersGermanLetters() != c.offer)
        return "offer";
    if (input.notice().empty() != c.passedOver.empty())
        return "notice " + input.notice();
    return {};
}

inline std::string flowProblem(const CipherPlanCase& c)
{
    const std::string pad = padText(PadKind::Counting).substr(0, c.shortPad ? 599 : 600);
    PadHistory pads;
    if (c.made)
        pads.made(pad);
    if (c.enciphered)
        pads.enciphered(pad, "12345 ");
    if (c.saved)
        pads.written("/a.OTP", pad);
    const CipherPlan plan =
        CipherPlan::of(pads, c.decode ? CipherDirection::Decode : CipherDirection::Encode, c.groups, pad);
    if (plan.stop != c.stop)
        return "stop " + std::to_string(int(plan.stop));
    const auto at = [&plan](const Question& q) {
        for (std::size_t i = 0; i < plan.questions.size(); ++i)
            if (plan.questions[i] == q)
                return int(i);
        return -1;
    };
    if (at(Messages::reusePad()) != c.reuse || at(Messages::replacePad()) != c.replace ||
        plan.questions.size() != std::size_t(c.reuse >= 0) + std::size_t(c.replace >= 0))
        return std::to_string(plan.questions.size()) + " questions";
    return {};
}

inline std::string flowProblem(const CipherInputCase& c)
{
    const std::string text = std::string(c.ones, '1') + std::string(c.tail);
    InputText characters(text);
    const CipherInput in = CipherInput::of(characters);
    if (in.used.size() != c.used || in.groups.size() != c.used || !in.groups.ends_with(c.groupsEnd))
        return "groups " + in.groups.substr(in.groups.size() - std::min<std::size_t>(in.groups.size(), 3));
    if (in.cut != c.cut || in.notice() != (c.cut ? Messages::cipherInputCut() : ""))
        return "notice " + in.notice();
    return {};
}

inline std::string flowProblem(const FileKindCase& c)
{
    return fileKindOf(c.file) == c.kind ? std::string() : "kind " + std::to_string(int(fileKindOf(c.file)));
}

inline std::string flowProblem(const FullStopCase& c)
{
    const std::string shown = Messages::withFullStop(std::string(c.text));
    return shown == c.shown ? std::string() : shown;
}

// Rules that stand outside a table: the questions' default buttons, privacy by kind, the cipher's failure.
inline std::vector<std::pair<std::string, std::string>> flowRules()
{
    std::vector<std::pair<std::string, std::string>> out;
    const auto rule = [&out](std::string name, bool ok) { out.emplace_back(std::move(name), ok ? "" : "broken"); };
    rule("every question that may lose a pad defaults to Nein",
         !Messages::reusePad().defaultYes && !Messages::closeWithPad().defaultYes &&
             !Messages::replacePad().defaultYes && !Messages::overwriteUsedPad("a").defaultYes &&
             Messages::overwrite("a").defaultYes);
    rule("a pad, a decoded text and a worksheet are private; a cipher text is not",
         FileKindRules::of(FileKind::Pad).ownerOnly && FileKindRules::of(FileKind::PlainText).ownerOnly &&
             FileKindRules::of(FileKind::Worksheet).ownerOnly && !FileKindRules::of(FileKind::CipherText).ownerOnly);
    rule("only the pad's notices say OTP", FileKindRules::of(FileKind::Pad).namedAsPad &&
                                               !FileKindRules::of(FileKind::PlainText).namedAsPad &&
                                               !FileKindRules::of(FileKind::Worksheet).namedAsPad);
    PadHistory pads;
    const std::string pad = padText(PadKind::Counting), other = padText(PadKind::Zeros);
    pads.made(pad);
    pads.enciphered(pad, "12345 ");
    rule("a pad replaced by itself loses nothing, by another it is lost",
         !replaceQuestion(pads, pad, pad) && !replaceQuestion(pads, pad, pad + "\r\n") &&
             replaceQuestion(pads, pad, other) == Messages::replacePad() && replaceQuestion(pads, pad) &&
             closeQuestion(pads, pad) == Messages::closeWithPad() && !closeQuestion(pads, other));
    rule("control characters, DEL and C1 among them, are written out; a no-break space is not",
         PassedOver::readable(0x7F) == "\\x7F" && PassedOver::readable(0x1F) == "\\x1F" &&
             PassedOver::readable(0x9F) == "\\x9F" && PassedOver::readable(0x81) == "\\x81" &&
             PassedOver::readable(0xA0) == "\xC2\xA0" && PassedOver::readable(U'~') == "~");
    const auto asGiven = [](const PadCipherResult& result, std::u32string_view given = {}) {
        return result.failure ? Messages::text(cipherFailure(*result.failure, given)) : std::string();
    };
    const PadCipherResult failed = PadCipher::run("12?45", padText(PadKind::Zeros), CipherDirection::Encode);
    rule("the cipher's failure names the character the user gave, not its stand-in",
         asGiven(failed, U"12\u0151") == "'\u0151' ist kein gültiger Integerwert" &&
             asGiven(failed) == "'?' ist kein gültiger Integerwert" &&
             asGiven(failed, U"12") == failureText(failed.failure));
    const PadCipherResult padFailed = PadCipher::run("12345", "00000 0000X ", CipherDirection::Encode);
    rule("a failure of the pad is the cipher's own", asGiven(padFailed, U"12345") == failureText(padFailed.failure));
    return out;
}

// Every case by name, with what is wrong (empty when nothing is).
inline std::vector<std::pair<std::string, std::string>> flowProblems()
{
    std::vector<std::pair<std::string, std::string>> out;
    const auto all = [&out](const auto& table) {
        for (const auto& c : table)
            out.emplace_back(std::string(c.name), flowProblem(c));
    };
    all(DirectionCases);
    all(EncoderInputCases);
    all(CipherPlanCases);
    all(CipherInputCases);
    all(FileKindCases);
    all(FullStopCases);
    for (auto& rule : flowRules())
        out.push_back(std::move(rule));
    return out;
}

} // namespace quarn::cases
