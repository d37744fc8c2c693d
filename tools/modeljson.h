// The query model as a JSON document: property names as keys, enumerator
// names as values. Texts are single-byte; bytes that are not valid UTF-8 are
// written as \u00XX escapes of their byte values, so the document is always
// valid JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace Vexar {

class TVXSelectParser;
class EVXParserError;

// The model held by Parser (dialect option records included for the
// InterBase/Firebird and MySQL parsers), as it stands: nothing is generated.
nlohmann::ordered_json ModelToJson(const TVXSelectParser& Parser);

// The whole message of a parse error; what() stops at a NUL byte of the token.
std::string ErrorMessage(const EVXParserError& Error);

// {"ErrorCode", "Message", "Token", "LineNo", "LinePos"} of a parse error.
nlohmann::ordered_json ErrorToJson(const EVXParserError& Error);

// A single-byte text as a JSON string value (invalid UTF-8 bytes become the
// code points U+0080..U+00FF of their values).
nlohmann::ordered_json JsonText(const std::string& S);

// Appends S as a quoted JSON string, byte for byte as DumpJson(JsonText(S))
// writes it, without building a JSON value.
void AppendJsonText(std::string& Out, std::string_view S);

// The bytes WriteJsonText may use for a text of Size bytes: 6 per byte at
// most (\u00XX), the quotes, and slack past the end: a plain byte is
// written together with the byte after it, which the next one overwrites.
constexpr size_t JsonTextRoom(size_t Size) { return 6 * Size + 2 + 8; }

// Writes what AppendJsonText appends at D, which has JsonTextRoom(S.size())
// bytes; returns the end of what it wrote.
char* WriteJsonText(char* D, std::string_view S);

// Compact JSON text with every non-ASCII character escaped.
std::string DumpJson(const nlohmann::ordered_json& J, int Indent = -1);

}  // namespace Vexar
