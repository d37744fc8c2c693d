// The option records of the InterBase/Firebird dialect: Firebird's FIRST and
// SKIP words at the head of the select list (TVXFBOptions) and InterBase's
// ROWS clause at the end of the statement (TVXIBOptions). Their clause texts
// are always written in capitals.
#pragma once

#include <string>

#include "platform/persistent.h"

namespace Vexar {

// ROWS n [TO m] [BY k] [PERCENT] [WITH TIES].
class TVXIBOptions : public TPersistent {
 public:
  bool Percent() const { return FPercent; }
  void SetPercent(bool Value) { FPercent = Value; }
  bool WithTies() const { return FWithTies; }
  void SetWithTies(bool Value) { FWithTies = Value; }
  int Rows() const { return FRows; }
  void SetRows(int Value) { FRows = Value; }
  int RowsBy() const { return FRowsBy; }
  void SetRowsBy(int Value) { FRowsBy = Value; }
  int RowsTo() const { return FRowsTo; }
  void SetRowsTo(int Value) { FRowsTo = Value; }
  // Whether the statement has a ROWS clause, also one whose numbers are 0:
  // «ROWS 0» returns no row, so it is written back as read.
  bool HasRows() const { return FHasRows; }
  void SetHasRows(bool Value) { FHasRows = Value; }

  // Every field false or 0.
  void Clear();
  void Assign(const TPersistent* Source) override;
  // "ROWS 5 TO 10 BY 2 PERCENT WITH TIES" (the parts that are set), or empty
  // when none of the three numbers is 1 or more and no ROWS clause was read.
  std::string GetScript() const;

 private:
  bool FPercent = false;
  bool FWithTies = false;
  int FRows = 0;
  int FRowsBy = 0;
  int FRowsTo = 0;
  bool FHasRows = false;
};

// FIRST n and SKIP m; a number of 0 or less leaves its word out, except a
// FIRST 0 that was read: it returns no row.
class TVXFBOptions : public TPersistent {
 public:
  int First() const { return FFirst; }
  void SetFirst(int Value) { FFirst = Value; }
  int Skip() const { return FSkip; }
  void SetSkip(int Value) { FSkip = Value; }
  // Whether the statement has a FIRST word, also FIRST 0.
  bool HasFirst() const { return FHasFirst; }
  void SetHasFirst(bool Value) { FHasFirst = Value; }

  void Clear();
  void Assign(const TPersistent* Source) override;
  // "FIRST 10 SKIP 20 " (with its final blank), or empty.
  std::string GetScript() const;

 private:
  int FFirst = 0;
  int FSkip = 0;
  bool FHasFirst = false;
};

}  // namespace Vexar
