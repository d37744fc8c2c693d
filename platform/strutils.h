// Case rules for SQL words and other small text helpers.
#pragma once

#include <string>
#include <string_view>

namespace Vexar {

// ASCII upper and lower case of a whole text; other bytes are kept.
std::string UpperCase(std::string_view S);
std::string LowerCase(std::string_view S);

// Compares two texts without regard to ASCII case: <0, 0 or >0.
int CompareText(std::string_view A, std::string_view B);
inline bool SameText(std::string_view A, std::string_view B) { return CompareText(A, B) == 0; }

// Removes leading and trailing blanks and control characters.
std::string Trim(std::string_view S);

// Decimal text of an integer.
std::string IntToStr(long long V);

// Reads a decimal integer that fits a 32-bit signed int; false for anything
// else (empty text, signs, other characters, overflow).
bool TryStrToInt(std::string_view S, int& Value);

}  // namespace Vexar
