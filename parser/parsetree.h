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

struct TVXExprNode;
struct TVXCondNode;
class TVXNodePool;

// Trees own their nodes through these pointers. A node given up goes back
// to the pool it came from, with the room of its lists, for the next tree:
// a parser reads expression after expression, and making and freeing every
// node would cost more than reading it. A pointer without a pool deletes.
struct TVXNodeRecycler {
  TVXNodePool* Pool = nullptr;
  void operator()(TVXExprNode* N) const;
  void operator()(TVXCondNode* N) const;
};
using TVXExprPtr = std::unique_ptr<TVXExprNode, TVXNodeRecycler>;
using TVXCondPtr = std::unique_ptr<TVXCondNode, TVXNodeRecycler>;

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
  std::vector<TVXExprPtr> Kids;
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
  std::vector<TVXCondPtr> Kids;  // ckAnd, ckOr: operands; ckNot: one
  TVXExprPtr Left;               // ckLeaf
  const TVXOperator* Operator = nullptr;
  std::vector<TVXExprPtr> Right;
  int TokenIndex = 0;
};

// The nodes given up by the trees of one parser, cleared and ready for the
// next tree. It keeps at most KeptNodes of each kind; a tree is one
// expression or condition, so that holds the nodes of any usual one.
class TVXNodePool {
 public:
  TVXNodePool() = default;
  TVXNodePool(const TVXNodePool&) = delete;
  TVXNodePool& operator=(const TVXNodePool&) = delete;
  ~TVXNodePool() {
    for (TVXExprNode* N : FExprs)
      delete N;
    for (TVXCondNode* N : FConds)
      delete N;
  }

  TVXExprPtr NewExpr() {
    TVXExprNode* N;
    if (FExprs.empty()) {
      N = new TVXExprNode;
    } else {
      N = FExprs.back();
      FExprs.pop_back();
    }
    return TVXExprPtr(N, TVXNodeRecycler{this});
  }
  TVXCondPtr NewCond() {
    TVXCondNode* N;
    if (FConds.empty()) {
      N = new TVXCondNode;
    } else {
      N = FConds.back();
      FConds.pop_back();
    }
    return TVXCondPtr(N, TVXNodeRecycler{this});
  }

  void Give(TVXExprNode* N) {
    N->Kids.clear();  // gives up the operands first
    N->Kind = TVXExprNode::ekIdent;
    N->Text.clear();
    N->Quals.clear();
    N->Ops.clear();
    N->TokenIndex = 0;
    if (FExprs.size() < KeptNodes)
      FExprs.push_back(N);
    else
      delete N;
  }
  void Give(TVXCondNode* N) {
    N->Kids.clear();
    N->Left.reset();
    N->Right.clear();
    N->Kind = TVXCondNode::ckLeaf;
    N->Operator = nullptr;
    N->TokenIndex = 0;
    if (FConds.size() < KeptNodes)
      FConds.push_back(N);
    else
      delete N;
  }

 private:
  static constexpr size_t KeptNodes = 1024;
  std::vector<TVXExprNode*> FExprs;
  std::vector<TVXCondNode*> FConds;
};

inline void TVXNodeRecycler::operator()(TVXExprNode* N) const {
  if (Pool)
    Pool->Give(N);
  else
    delete N;
}

inline void TVXNodeRecycler::operator()(TVXCondNode* N) const {
  if (Pool)
    Pool->Give(N);
  else
    delete N;
}

}  // namespace Vexar
