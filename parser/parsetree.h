// The small syntax trees the SELECT parser builds for one expression or one
// condition before it fills the model. Reading a whole expression or
// condition first lets the parser decide precedence and how a node is
// stored (a column, a call, an opaque expression text) from its complete
// shape. Used only inside the parser.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace Vexar {

class TVXOperator;

struct TVXExprNode {
  enum TKind {
    ekIdent,    // Text: column name; Quals: qualifier parts
    ekInteger,  // Text: the number as written, a sign included
    ekFloat,
    ekString,  // Text: the value, quotes resolved
    ekCall,    // Text: function name; Kids: arguments
    ekStar,    // "*" or "q.*"; Quals: qualifier parts
    ekUnary,   // Text: "-" or "+"; Kids[0]: operand
    ekBinary,  // Kids: operands; Ops: the operations between them
    ekParen,   // Kids[0]: the expression in parentheses
    ekList     // Kids: the items of a parenthesised list (an IN operand)
  };
  TKind Kind = ekIdent;
  std::string Text;
  std::vector<std::string> Quals;
  std::vector<std::string> Ops;
  std::vector<std::unique_ptr<TVXExprNode>> Kids;
  int TokenIndex = 0;  // first token of the node

  // The qualifier parts joined by points ("" when unqualified).
  std::string Qualifier() const {
    std::string R;
    for (const std::string& Q : Quals) {
      if (!R.empty())
        R += ".";
      R += Q;
    }
    return R;
  }
};

struct TVXCondNode {
  enum TKind { ckLeaf, ckAnd, ckOr, ckNot };
  TKind Kind = ckLeaf;
  std::vector<std::unique_ptr<TVXCondNode>> Kids;  // ckAnd, ckOr: operands; ckNot: one
  std::unique_ptr<TVXExprNode> Left;               // ckLeaf
  const TVXOperator* Operator = nullptr;
  std::vector<std::unique_ptr<TVXExprNode>> Right;
  int TokenIndex = 0;
};

}  // namespace Vexar
