#include "platform/format.h"

namespace Vexar {

std::string FormatArgs(std::string_view Fmt, const TFormatArg* Args, size_t Count) {
  std::string R;
  R.reserve(Fmt.size() + 16 * Count);
  size_t Next = 0;
  for (size_t i = 0; i < Fmt.size(); ++i) {
    char C = Fmt[i];
    if (C != '%' || i + 1 >= Fmt.size()) {
      R += C;
      continue;
    }
    char D = Fmt[i + 1];
    if (D == '%') {
      R += '%';
      ++i;
      continue;
    }
    if (D != 's' && D != 'd') {
      R += C;
      continue;
    }
    ++i;
    if (Next >= Count) continue;
    const auto& V = Args[Next++].Value();
    if (const auto* S = std::get_if<std::string>(&V))
      R += *S;
    else
      R += std::to_string(std::get<int64_t>(V));
  }
  return R;
}

}  // namespace Vexar
