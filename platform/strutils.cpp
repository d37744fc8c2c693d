#include "platform/strutils.h"

#include <climits>

namespace Vexar {

namespace {
inline char Up(char C) { return (C >= 'a' && C <= 'z') ? char(C - 'a' + 'A') : C; }
inline char Low(char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; }
}  // namespace

std::string UpperCase(std::string_view S) {
  std::string R(S);
  for (char& C : R) C = Up(C);
  return R;
}

std::string LowerCase(std::string_view S) {
  std::string R(S);
  for (char& C : R) C = Low(C);
  return R;
}

int CompareText(std::string_view A, std::string_view B) {
  size_t N = A.size() < B.size() ? A.size() : B.size();
  for (size_t i = 0; i < N; ++i) {
    unsigned char X = static_cast<unsigned char>(Up(A[i]));
    unsigned char Y = static_cast<unsigned char>(Up(B[i]));
    if (X != Y) return X < Y ? -1 : 1;
  }
  if (A.size() == B.size()) return 0;
  return A.size() < B.size() ? -1 : 1;
}

std::string Trim(std::string_view S) {
  size_t B = 0, E = S.size();
  while (B < E && static_cast<unsigned char>(S[B]) <= ' ') ++B;
  while (E > B && static_cast<unsigned char>(S[E - 1]) <= ' ') --E;
  return std::string(S.substr(B, E - B));
}

std::string IntToStr(long long V) { return std::to_string(V); }

bool TryStrToInt(std::string_view S, int& Value) {
  if (S.empty()) return false;
  long long V = 0;
  for (char C : S) {
    if (C < '0' || C > '9') return false;
    V = V * 10 + (C - '0');
    if (V > INT_MAX) return false;
  }
  Value = static_cast<int>(V);
  return true;
}

}  // namespace Vexar
