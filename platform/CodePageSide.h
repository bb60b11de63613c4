// What each platform side supplies for the text helpers that both share
// (TextWalking.cpp): the length of one character and the conversion of one
// UTF-16 character.
#ifndef ZAV_PLATFORM_CODEPAGESIDE_H
#define ZAV_PLATFORM_CODEPAGESIDE_H

#include <cstddef>
#include <string>

namespace zav::platform::side {

// Bytes in the character at `p`: a lead byte with its valid trail byte(s),
// else 1 (also at the terminator, so callers always advance).
std::size_t characterLength(const char* p);

// Appends the character made of `count` (1, or 2 for a surrogate pair)
// UTF-16 units; '?' when the code page has no such character.
void appendCharacter(const char16_t* units, std::size_t count, std::string& out);

}  // namespace zav::platform::side

#endif
