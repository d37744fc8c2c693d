// The InterBase/Firebird select parser. One parser serves both server
// families; SQLServer decides which extra clause is read and written:
//
//   Firebird:  SELECT [FIRST n] [SKIP m] [DISTINCT] select list ...
//   InterBase: ... [ORDER BY ...] ROWS n [TO m] [BY k] [PERCENT] [WITH TIES]
//
// The numbers go to the two option records, which every parse empties first.
#pragma once

#include <memory>

#include "dialects/iboptions.h"
#include "dialects/ibscanner.h"
#include "parser/selectparser.h"

namespace Vexar {

enum TVXIBSQLServer { qssInterBase, qssFireBird };

class TVXIBSelectParser : public TVXSelectParser {
 public:
  ~TVXIBSelectParser() override;

  TVXIBOptions* IBOptions() const { return FIBOptions.get(); }
  TVXFBOptions* FBOptions() const { return FFBOptions.get(); }
  // Copy Value into the owned record (nothing when it is that record).
  void SetIBOptions(const TVXIBOptions* Value);
  void SetFBOptions(const TVXFBOptions* Value);
  TVXIBSQLServer SQLServer() const { return FSQLServer; }
  void SetSQLServer(TVXIBSQLServer Value) { FSQLServer = Value; }
  // The scanner, as the dialect's own class.
  TVXIBScanner* IBScanner() const { return static_cast<TVXIBScanner*>(Scanner()); }

  std::string GetExpression() override;
  // The inherited Clear, then both option records.
  void Clear() override;

 protected:
  friend class TVXSelectParser;
  TVXIBSelectParser();

  std::unique_ptr<TVXSQLScanner> CreateScanner() override;
  void DoParseSelectClause() override;
  void DoParseAppendix() override;

 private:
  std::unique_ptr<TVXIBOptions> FIBOptions;
  std::unique_ptr<TVXFBOptions> FFBOptions;
  TVXIBSQLServer FSQLServer = qssInterBase;
  bool FRowsRead = false;  // a ROWS clause was read by this parse
};

}  // namespace Vexar
