#include "CipherFlow.h"

#include "EncoderInput.h"
#include "InputText.h"
#include "Limits.h"
#include "Windows1252.h"

namespace quarn {

CipherInput CipherInput::of(InputText& text)
{
    CipherInput in;
    // Read no further than the one character past the pad that tells of the cut.
    while (!text.atEnd()) {
        if (in.used.size() == Limits::Pad) {
            in.cut = true;
            break;
        }
        const char32_t cp = text.next();
        const auto byte = Windows1252::fromUnicode(cp);
        in.used += cp;
        in.groups += byte ? static_cast<char>(*byte) : EncoderInput::StandIn;
    }
    return in;
}

std::string CipherInput::notice() const
{
    return cut ? Messages::cipherInputCut() : std::string();
}

CipherPlan CipherPlan::of(const PadHistory& pads, CipherDirection direction, std::string_view groups,
                          std::string_view pad)
{
    CipherPlan plan;
    const bool decode = direction == CipherDirection::Decode;
    if (groups.empty())
        plan.stop = Stop::NothingToCipher;
    else if (decode && pads.needsPartnersPad(pad))
        plan.stop = Stop::LoadPadFirst;
    if (plan.stop != Stop::None || decode)
        return plan;
    if (pads.wouldReuse(pad, groups))
        plan.questions.push_back(Messages::reusePad());
    // A short pad is replaced by a new one as the cipher starts.
    if (pad.size() < PadCipher::PadLength)
        if (auto question = replaceQuestion(pads, pad))
            plan.questions.push_back(*question);
    return plan;
}

std::optional<Question> replaceQuestion(const PadHistory& pads, std::string_view pad, std::string_view replacement)
{
    if (!pads.wouldLose(pad, replacement))
        return std::nullopt;
    return Messages::replacePad();
}

std::optional<Question> closeQuestion(const PadHistory& pads, std::string_view pad)
{
    if (!pads.wouldLose(pad))
        return std::nullopt;
    return Messages::closeWithPad();
}

Failure cipherFailure(const Failure& failure, std::u32string_view given)
{
    Failure asGiven = failure;
    if (failure.kind == Failure::Kind::NotADigitInGroups && failure.position < given.size())
        asGiven.character = given[failure.position];
    return asGiven;
}

} // namespace quarn
