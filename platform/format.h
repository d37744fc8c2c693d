// printf-style formatting of messages and generated SQL fragments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace Vexar {

// One argument of Format: an integer or a text.
class TFormatArg {
 public:
  TFormatArg(int V) : FValue(static_cast<int64_t>(V)) {}
  TFormatArg(long V) : FValue(static_cast<int64_t>(V)) {}
  TFormatArg(long long V) : FValue(static_cast<int64_t>(V)) {}
  TFormatArg(unsigned V) : FValue(static_cast<int64_t>(V)) {}
  TFormatArg(const char* V) : FValue(std::string(V ? V : "")) {}
  TFormatArg(std::string_view V) : FValue(std::string(V)) {}
  TFormatArg(const std::string& V) : FValue(V) {}
  const std::variant<int64_t, std::string>& Value() const { return FValue; }

 private:
  std::variant<int64_t, std::string> FValue;
};

// Fills Fmt's placeholders in order: %s takes a text, %d an integer, %% is a
// percent sign. An argument of the other kind is converted (an integer for %s
// prints its decimal text); a placeholder without an argument prints nothing,
// and an unknown directive is copied as written. Never throws on bad formats:
// translated catalogues may carry faulty texts.
std::string FormatArgs(std::string_view Fmt, const TFormatArg* Args, size_t Count);

template <typename... A>
std::string Format(std::string_view Fmt, const A&... Args) {
  if constexpr (sizeof...(A) == 0) {
    return FormatArgs(Fmt, nullptr, 0);
  } else {
    const TFormatArg List[] = {TFormatArg(Args)...};
    return FormatArgs(Fmt, List, sizeof...(A));
  }
}

}  // namespace Vexar
