#include "DirectionRules.h"

#include "InputText.h"
#include "Limits.h"

#include <algorithm>

namespace quarn {

std::size_t DirectionRules::loadReadLimit() const
{
    return loadedLimit + Limits::LoadLineBreak;
}

const DirectionRules& DirectionRules::of(CipherDirection direction)
{
    static const DirectionRules encode{Limits::PlainText, Limits::PlainText,
                                       "Klartext: (max. " + std::to_string(Limits::PlainText) + " Zeichen)",
                                       "Chiffrieren", "Text Laden"};
    static const DirectionRules decode{Limits::CipherTextTyped, Limits::CipherTextLoaded,
                                       "Chiffriertext: (max. " + std::to_string(Limits::CipherDigits) + " Zeichen)",
                                       "Dechiffrieren", "Crypt Laden"};
    return direction == CipherDirection::Decode ? decode : encode;
}

LoadedInput LoadedInput::of(std::u32string text, bool readCut, CipherDirection direction)
{
    const std::size_t limit = DirectionRules::of(direction).loadedLimit;
    // A file that held more than was read has no end of its own here to drop.
    if (!readCut)
        text.resize(InputText::lengthWithoutFinalLineBreak(text));
    LoadedInput loaded;
    loaded.tooLarge = readCut || text.size() > limit;
    text.resize(std::min(text.size(), limit));
    loaded.text = std::move(text);
    return loaded;
}

} // namespace quarn
