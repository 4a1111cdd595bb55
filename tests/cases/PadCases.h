#pragma once

// Pad cipher cases shared by the QTest suite and the Qt-free runner.
#include <array>
#include <string>
#include <string_view>

namespace quarn::cases {

enum class PadKind
{
    Zeros,          // 100 groups 00000
    Counting,       // 12345 67890, then zeros
    ZerosWithTail,  // the zero pad followed by CR LF and letters
    LineBreakAtTwo, // the zero pad with a LF as its third character
};

inline std::string padText(PadKind kind)
{
    std::string zeros;
    for (int i = 0; i < 100; ++i)
        zeros += "00000 ";
    switch (kind) {
    case PadKind::Zeros:
        return zeros;
    case PadKind::Counting:
        return "12345 67890 " + zeros.substr(12);
    case PadKind::ZerosWithTail:
        return zeros + "\r\nxyz";
    case PadKind::LineBreakAtTwo:
        zeros[2] = '\n';
        return zeros;
    }
    return zeros;
}

struct CipherCase
{
    std::string_view name;
    std::string_view groups;
    PadKind pad;
    bool decode;
    std::string_view output;
};

inline constexpr std::array CipherCases{
    CipherCase{"a zero pad leaves the groups as they are", "12345 678", PadKind::Zeros, false, "12345 678"},
    CipherCase{"a zero pad deciphers to the same digits", "12345 678", PadKind::Zeros, true, "12345 678"},
    CipherCase{"digits that add up to ten encipher to zeros", "98765 ", PadKind::Counting, false, "00000 "},
    CipherCase{"and decipher back", "00000 ", PadKind::Counting, true, "98765 "},
    CipherCase{"addition is modulo 10", "55555 55555 ", PadKind::Counting, false, "67890 12345 "},
    CipherCase{"ten digits end with a blank even without one in the input", "00000 00000", PadKind::Counting, false,
               "12345 67890 "},
    CipherCase{"eight digits are a group, a blank and three digits", "00000 000", PadKind::Counting, false,
               "12345 678"},
    CipherCase{"an empty groups text gives an empty result", "", PadKind::Counting, false, ""},
    CipherCase{"a lone blank gives an empty result", " ", PadKind::Counting, false, ""},
    CipherCase{"characters after the 600th of the pad are never read", "11111", PadKind::ZerosWithTail, false,
               "11111 "},
};

struct CipherFailureCase
{
    std::string_view name;
    std::string_view groups;
    PadKind pad;
    std::string_view message;
    std::string_view partial; // what was produced before the failure
};

inline constexpr std::array CipherFailureCases{
    CipherFailureCase{"a missing blank names the pad's blank at its place", "12345678901", PadKind::Zeros,
                      "' ' ist kein g\xFCltiger Integerwert", "12345 "},
    CipherFailureCase{"two blanks in a row name the blank", "12345  67890", PadKind::Zeros,
                      "' ' ist kein g\xFCltiger Integerwert", "12345 "},
    CipherFailureCase{"a letter is named", "12A45", PadKind::Zeros, "'A' ist kein g\xFCltiger Integerwert", "12"},
    CipherFailureCase{"two trailing blanks step onto the last one", "12345  ", PadKind::Zeros,
                      "' ' ist kein g\xFCltiger Integerwert", "12345 "},
    CipherFailureCase{"a line break in the pad is named", "12345", PadKind::LineBreakAtTwo,
                      "'\n' ist kein g\xFCltiger Integerwert", "12"},
    CipherFailureCase{"the groups character is named first", "12X45", PadKind::LineBreakAtTwo,
                      "'X' ist kein g\xFCltiger Integerwert", "12"},
};

// SHA-256 digests as the standard gives them; a repeated input is (text, times).
struct DigestCase
{
    std::string_view name;
    std::string_view text;
    int times;
    std::string_view hex;
};

inline constexpr std::array DigestCases{
    DigestCase{"the empty message", "", 1, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    DigestCase{"abc", "abc", 1, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    DigestCase{"two blocks of padding", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 1,
               "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    DigestCase{"a million a", "a", 1000000, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

} // namespace quarn::cases
