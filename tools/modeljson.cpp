#include "tools/modeljson.h"

#include <cstdint>
#include <cstring>

#include "dialects/ibparser.h"
#include "dialects/myparser.h"
#include "parser/selectparser.h"

namespace Vexar {

using Json = nlohmann::ordered_json;

namespace {

// Length of the valid UTF-8 sequence starting at S[i], or 0; Code gets its
// code point.
size_t Utf8Decode(std::string_view S, size_t i, uint32_t& Code) {
  auto B = [&](size_t k) { return static_cast<unsigned char>(S[k]); };
  unsigned char C = B(i);
  size_t N;
  uint32_t Min;
  if (C < 0x80) {
    Code = C;
    return 1;
  }
  if ((C & 0xE0) == 0xC0) {
    N = 2;
    Min = 0x80;
  } else if ((C & 0xF0) == 0xE0) {
    N = 3;
    Min = 0x800;
  } else if ((C & 0xF8) == 0xF0) {
    N = 4;
    Min = 0x10000;
  } else {
    return 0;
  }
  if (i + N > S.size()) return 0;
  Code = C & (0x7F >> N);
  for (size_t k = 1; k < N; ++k) {
    if ((B(i + k) & 0xC0) != 0x80) return 0;
    Code = (Code << 6) | (B(i + k) & 0x3F);
  }
  if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) return 0;
  return N;
}

const char* KindName(TVXFunctionKind K) {
  static const char* const Names[] = {"fkUnknown", "fkFunction",  "fkIdentifier", "fkInteger",
                                      "fkFloat",   "fkString",    "fkExpression"};
  return Names[K];
}

const char* ParamTypeName(TParamType T) {
  static const char* const Names[] = {"ptUnknown", "ptInput", "ptOutput", "ptInputOutput",
                                      "ptResult"};
  return Names[T];
}

const char* JoinKindName(TVXJoinKind K) {
  static const char* const Names[] = {"vxjInnerJoin", "vxjLOuterJoin", "vxjROuterJoin",
                                      "vxjFOuterJoin"};
  return Names[K];
}

const char* FilterName(TVXCriterionFilter F) {
  static const char* const Names[] = {"cfAll", "cfAny", "cfNone", "cfNotAll"};
  return Names[F];
}

Json Expr(const TVXFunctionDef& D) {
  Json J = Json::object();
  J["Name"] = JsonText(D.Name());
  J["Kind"] = KindName(D.Kind());
  Json Args = Json::array();
  for (int i = 0; i < D.Arguments()->Count(); ++i) Args.push_back(Expr(*D.Arguments()->Items(i)));
  J["Arguments"] = std::move(Args);
  return J;
}

Json Group(const TVXCriterions& G);

Json Criterion(const TVXCriterion& C) {
  Json J = Json::object();
  J["LeftSide"] = Expr(*C.LeftSide());
  J["Operator"] = JsonText(C.Operator());
  Json Right = Json::array();
  for (int i = 0; i < C.RightSide()->Count(); ++i) Right.push_back(Expr(*C.RightSide()->Items(i)));
  J["RightSide"] = std::move(Right);
  J["SubItems"] = Group(*C.SubItems());
  return J;
}

Json Group(const TVXCriterions& G) {
  Json J = Json::object();
  J["Filter"] = FilterName(G.Filter());
  Json Items = Json::array();
  for (int i = 0; i < G.Count(); ++i) Items.push_back(Criterion(*G.Items(i)));
  J["Items"] = std::move(Items);
  return J;
}

Json Table(const TVXTableDef& T) {
  Json J = Json::object();
  J["Name"] = JsonText(T.Name());
  J["Alias"] = JsonText(T.Alias());
  J["TableType"] = T.TableType() == qttStoredProc ? "qttStoredProc" : "qttTable";
  Json Fields = Json::array();
  for (int i = 0; i < T.FieldDefs()->Count(); ++i) {
    const TVXFieldDef& F = *T.FieldDefs()->Items(i);
    Json E = Json::object();
    E["Name"] = JsonText(F.Name());
    E["Alias"] = JsonText(F.Alias());
    E["Kind"] = KindName(F.Kind());
    E["OutputIndex"] = F.OutputIndex();
    E["ParamType"] = ParamTypeName(F.ParamType());
    Json Args = Json::array();
    for (int a = 0; a < F.Arguments()->Count(); ++a) Args.push_back(Expr(*F.Arguments()->Items(a)));
    E["Arguments"] = std::move(Args);
    Fields.push_back(std::move(E));
  }
  J["FieldDefs"] = std::move(Fields);
  Json Joins = Json::array();
  for (int i = 0; i < T.JoinDefs()->Count(); ++i) {
    const TVXJoinDef& D = *T.JoinDefs()->Items(i);
    Json E = Json::object();
    E["JoinKind"] = JoinKindName(D.JoinKind());
    E["FieldName"] = JsonText(D.FieldName());
    E["JoinAlias"] = JsonText(D.JoinAlias());
    E["JoinField"] = JsonText(D.JoinField());
    E["Comparison"] = JsonText(D.Comparison());
    Joins.push_back(std::move(E));
  }
  J["JoinDefs"] = std::move(Joins);
  return J;
}

}  // namespace

Json JsonText(const std::string& S) {
  std::string R;
  R.reserve(S.size());
  for (size_t i = 0; i < S.size();) {
    uint32_t Code;
    size_t N = Utf8Decode(S, i, Code);
    if (N > 0) {
      R.append(S, i, N);
      i += N;
    } else {
      // The byte as the code point of the same value, in UTF-8.
      unsigned char C = static_cast<unsigned char>(S[i++]);
      R += static_cast<char>(0xC0 | (C >> 6));
      R += static_cast<char>(0x80 | (C & 0x3F));
    }
  }
  return Json(std::move(R));
}

std::string DumpJson(const Json& J, int Indent) {
  return J.dump(Indent, ' ', /*ensure_ascii=*/true);
}

namespace {

// For each byte, what it becomes inside a JSON string when it is not part of
// a longer sequence: the byte itself, or its short escape (\b \t \n \f \r
// \" \\), as up to two characters and their count. The count is 0 for the
// other control characters and DEL, written as \u00XX, and for the bytes
// 0x80 and up, which start a multi-byte sequence or are not UTF-8.
struct TEscapeTable {
  char Text[256][2] = {};
  unsigned char Length[256] = {};
  constexpr TEscapeTable() {
    for (int C = 0x20; C < 0x7F; ++C) {
      Text[C][0] = static_cast<char>(C);
      Length[C] = 1;
    }
    const char Short[][2] = {{'\b', 'b'}, {'\t', 't'}, {'\n', 'n'}, {'\f', 'f'},
                             {'\r', 'r'}, {'"', '"'},   {'\\', '\\'}};
    for (const auto& [C, Letter] : Short) {
      const auto I = static_cast<unsigned char>(C);
      Text[I][0] = '\\';
      Text[I][1] = Letter;
      Length[I] = 2;
    }
  }
};
constexpr TEscapeTable Escapes;

char* WriteU(char* D, uint32_t Code) {
  static const char Hex[] = "0123456789abcdef";
  D[0] = '\\';
  D[1] = 'u';
  D[2] = Hex[(Code >> 12) & 0xF];
  D[3] = Hex[(Code >> 8) & 0xF];
  D[4] = Hex[(Code >> 4) & 0xF];
  D[5] = Hex[Code & 0xF];
  return D + 6;
}

}  // namespace

// Byte by byte through the table: the generated SQL is dense in quotes and
// line breaks, so runs of plain bytes are short and a test of several bytes
// at a time seldom pays for itself.
char* WriteJsonText(char* D, std::string_view S) {
  *D++ = '"';
  const char* P = S.data();
  const char* const End = P + S.size();
  while (P < End) {
    const unsigned char C = static_cast<unsigned char>(*P);
    if (const unsigned char Length = Escapes.Length[C]) {
      // Both characters are copied; a plain byte keeps only the first, the
      // next one written overwrites the second.
      std::memcpy(D, Escapes.Text[C], 2);
      D += Length;
      ++P;
      continue;
    }
    uint32_t Code;
    const size_t N = C < 0x80 ? 0 : Utf8Decode(S, static_cast<size_t>(P - S.data()), Code);
    if (N == 0) {
      // A control character, DEL, or a byte that is not UTF-8 standing
      // for the code point of the same value.
      D = WriteU(D, C);
      ++P;
    } else {
      if (Code <= 0xFFFF) {
        D = WriteU(D, Code);
      } else {
        D = WriteU(D, 0xD7C0 + (Code >> 10));
        D = WriteU(D, 0xDC00 + (Code & 0x3FF));
      }
      P += N;
    }
  }
  *D++ = '"';
  return D;
}

void AppendJsonText(std::string& Out, std::string_view S) {
  const size_t Start = Out.size();
  Out.resize(Start + JsonTextRoom(S.size()));
  char* End = WriteJsonText(Out.data() + Start, S);
  Out.resize(static_cast<size_t>(End - Out.data()));
}

std::string ErrorMessage(const EVXParserError& Error) {
  return EVXParserError::MessageFor(Error.ErrorCode(), Error.Token(), Error.LineNo(),
                                    Error.LinePos());
}

Json ErrorToJson(const EVXParserError& Error) {
  Json J = Json::object();
  J["ErrorCode"] = Error.ErrorCode();
  J["Message"] = JsonText(ErrorMessage(Error));
  J["Token"] = JsonText(Error.Token());
  J["LineNo"] = Error.LineNo();
  J["LinePos"] = Error.LinePos();
  return J;
}

Json ModelToJson(const TVXSelectParser& Parser) {
  Json J = Json::object();
  J["Distinct"] = Parser.GetDistinct();
  Json Tables = Json::array();
  for (int i = 0; i < Parser.TableDefs()->Count(); ++i)
    Tables.push_back(Table(*Parser.TableDefs()->Items(i)));
  J["TableDefs"] = std::move(Tables);
  J["WhereItems"] = Group(*Parser.WhereItems());
  J["HavingItems"] = Group(*Parser.HavingItems());
  Json GroupBy = Json::array();
  for (int i = 0; i < Parser.GroupByItems()->Count(); ++i)
    GroupBy.push_back(JsonText(Parser.GroupByItems()->Strings(i)));
  J["GroupByItems"] = std::move(GroupBy);
  Json OrderBy = Json::array();
  for (int i = 0; i < Parser.OrderByItems()->Count(); ++i) {
    Json E = Json::object();
    E["Entry"] = JsonText(Parser.OrderByItems()->Strings(i));
    E["Order"] = Parser.OrderByItems()->Orders(i) == okDesc ? "okDesc" : "okAsc";
    OrderBy.push_back(std::move(E));
  }
  J["OrderByItems"] = std::move(OrderBy);

  if (const auto* IB = dynamic_cast<const TVXIBSelectParser*>(&Parser)) {
    J["FBOptions"] = {{"First", IB->FBOptions()->First()}, {"Skip", IB->FBOptions()->Skip()}};
    const TVXIBOptions* O = IB->IBOptions();
    J["IBOptions"] = {{"Rows", O->Rows()},       {"RowsTo", O->RowsTo()},
                      {"RowsBy", O->RowsBy()},   {"Percent", O->Percent()},
                      {"WithTies", O->WithTies()}};
  }
  if (const auto* My = dynamic_cast<const TVXMySelectParser*>(&Parser)) {
    const TVXMySQLOptions* O = My->MySQLOptions();
    static const char* const Filters[] = {"myfoNone", "myfoDistinct", "myfoDistinctRow",
                                          "myfoAll"};
    static const char* const Options[] = {"mysoStraightJoin", "mysoSQLSmallResult",
                                          "mysoSQLBigResult", "mysoSQLBufferResult",
                                          "mysoHighPriority"};
    Json Sel = Json::array();
    for (int k = mysoStraightJoin; k <= mysoHighPriority; ++k)
      if (O->SelectOptions().Contains(static_cast<TVXMySQLSelectOption>(k))) Sel.push_back(Options[k]);
    Json M = Json::object();
    M["Filter"] = Filters[O->Filter()];
    M["SelectOptions"] = std::move(Sel);
    M["LimitRows"] = O->LimitRows();
    M["LimitOffset"] = O->LimitOffset();
    J["MySQLOptions"] = std::move(M);
  }
  return J;
}

}  // namespace Vexar
