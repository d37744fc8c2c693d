// TSet<E>: a set of the enumerators of a plain enumeration (at most 64).
#pragma once

#include <cstdint>
#include <initializer_list>

namespace Vexar {

template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Items) {
    for (E I : Items) Include(I);
  }

  constexpr bool Contains(E I) const { return (FBits & Bit(I)) != 0; }
  constexpr TSet& Include(E I) {
    FBits |= Bit(I);
    return *this;
  }
  constexpr TSet& Exclude(E I) {
    FBits &= ~Bit(I);
    return *this;
  }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr void Clear() { FBits = 0; }

  constexpr TSet operator|(TSet O) const { return FromBits(FBits | O.FBits); }
  constexpr TSet operator&(TSet O) const { return FromBits(FBits & O.FBits); }
  constexpr TSet operator-(TSet O) const { return FromBits(FBits & ~O.FBits); }
  constexpr bool operator==(const TSet& O) const = default;
  // True when every member of this set is in O.
  constexpr bool SubsetOf(TSet O) const { return (FBits & ~O.FBits) == 0; }
  constexpr uint64_t Bits() const { return FBits; }

 private:
  static constexpr uint64_t Bit(E I) { return uint64_t(1) << static_cast<unsigned>(I); }
  static constexpr TSet FromBits(uint64_t B) {
    TSet S;
    S.FBits = B;
    return S;
  }
  uint64_t FBits = 0;
};

}  // namespace Vexar
