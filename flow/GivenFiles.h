#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// The files given to the window at once (its command line, or handed to a running window): where each goes,
// and the one summary of what came of them. Texts are UTF-8.
namespace GivenFiles {

enum class Kind
{
    Pad,    // named as a pad, or its content is one: the pad field
    Cipher, // a *.crp file: the input, in decode direction
    Text    // any other: the input, as plain text
};

Kind kindOf(std::string_view name, bool readsAsPad);

struct File
{
    std::string name; // as the messages name it
    Kind kind = Kind::Text;
    std::string refusal;   // the load's message when the file cannot be taken; empty: it can
    bool declined = false; // chosen, but the load's question was answered "&Nein"
};

// A field takes one file: the last one given that it can take, so a later file wins as a later click would.
std::optional<std::size_t> chosenPad(const std::vector<File>& files);
std::optional<std::size_t> chosenInput(const std::vector<File>& files);

// At most this many lines per part of the summary, and names per list; the rest is counted.
constexpr std::size_t ShownLines = 8;
constexpr std::size_t ShownNames = 5;

// One box for all the files; empty when there is nothing to say (one file, taken without a word). One file
// alone gets the load's own message, as its button would show it. `notices` are what the loads said of the
// files they took; `padReady`: the pad field holds a pad that can decipher.
std::string summary(const std::vector<File>& files, const std::vector<std::string>& notices, bool padReady);

} // namespace GivenFiles

} // namespace quarn
