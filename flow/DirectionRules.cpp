#include "DirectionRules.h"

#include "Limits.h"

namespace quarn {

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

} // namespace quarn
