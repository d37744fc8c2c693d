#include "platform/persistent.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/exception.h"
#include "platform/format.h"

namespace Vexar {

std::string TPersistent::ClassName() const {
  const char* Mangled = typeid(*this).name();
  int Status = 0;
  std::unique_ptr<char, void (*)(void*)> Name(
      abi::__cxa_demangle(Mangled, nullptr, nullptr, &Status), std::free);
  std::string R = (Status == 0 && Name) ? Name.get() : Mangled;
  size_t P = R.rfind("::");
  return P == std::string::npos ? R : R.substr(P + 2);
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  std::string SourceName = Source ? Source->ClassName() : std::string("nil");
  throw EConvertError(Format("Cannot assign a %s to a %s", SourceName, ClassName()));
}

}  // namespace Vexar
