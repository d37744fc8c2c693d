// TPersistent: the base of objects that can copy each other's contents.
#pragma once

#include <string>

namespace Vexar {

class TPersistent {
 public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  virtual ~TPersistent() = default;

  // Copies Source's contents into this object. The base asks the source to
  // copy itself (AssignTo); a class that knows no way to copy raises
  // EConvertError "Cannot assign a <source class> to a <this class>".
  virtual void Assign(const TPersistent* Source);

  // The unqualified class name of the object's dynamic type.
  std::string ClassName() const;

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

}  // namespace Vexar
