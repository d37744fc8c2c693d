#include "benchmarks/querygen.h"

#include <algorithm>

namespace Vexar::Bench {

const std::vector<TQuerySize>& QuerySizes() {
  static const std::vector<TQuerySize> Sizes{
      {"small", 3, 10, 2, 2},
      {"medium", 10, 50, 8, 6},
      {"large", 40, 400, 35, 20},
      {"xl", 200, 5000, 190, 100},
  };
  return Sizes;
}

namespace {

std::string Col(int Table, int Column) {
  return "A" + std::to_string(Table) + ".C" + std::to_string(Column);
}

// One comparison of the WHERE clause on a column of Table.
std::string Condition(int k, int Table, int Column) {
  const std::string C = Col(Table, Column);
  switch (k % 7) {
    case 0:
      return C + " > " + std::to_string(k * 3 + 1);
    case 1:
      return C + " = 'V" + std::to_string(k) + "'";
    case 2:
      return C + " BETWEEN " + std::to_string(k) + " AND " + std::to_string(k + 50);
    case 3:
      return C + " IN (1, 2, " + std::to_string(k + 3) + ")";
    case 4:
      return C + " IS NOT NULL";
    case 5:
      return C + " LIKE 'A%'";
    default:
      return C + " <> " + std::to_string(k);
  }
}

}  // namespace

TGeneratedQuery GenerateQuery(const TQuerySize& Size, int Variant) {
  const int T = Size.Tables;
  // Every output reads its own column, so no two outputs of one table clash;
  // two more columns per table carry the join keys.
  const int PerTable = (Size.Columns + T - 1) / T + 2;
  TGeneratedQuery Q;
  for (int t = 0; t < T; ++t) {
    std::string S = "CREATE TABLE TAB_" + std::to_string(t) + " (ID INTEGER, REF INTEGER";
    for (int c = 0; c < PerTable; ++c) S += ", C" + std::to_string(c) + " INTEGER";
    Q.Schema.push_back(S + ")");
  }

  // Select list: the output kind cycles over plain columns, aliased columns,
  // aggregates and arithmetic; plain columns are also the GROUP BY entries.
  std::string Select, GroupBy;
  std::vector<std::string> Plain;
  std::vector<std::string> Aggregates;
  for (int k = 0; k < Size.Columns; ++k) {
    const int t = k % T, c = k / T;
    const std::string C = Col(t, c);
    std::string Item;
    switch ((k + Variant) % 10) {
      case 6:
        Item = C + " AS OUT_" + std::to_string(k);
        Plain.push_back(C);
        break;
      case 7:
        Item = "SUM(" + C + ") AS SUM_" + std::to_string(k);
        Aggregates.push_back("SUM(" + C + ")");
        break;
      case 8:
        Item = C + " * 2 + A" + std::to_string(t) + ".ID AS CALC_" + std::to_string(k);
        break;
      case 9:
        Item = (k % 20 < 10 ? "MAX(" : "COUNT(") + C + ") AS AGG_" + std::to_string(k);
        Aggregates.push_back((k % 20 < 10 ? "MAX(" : "COUNT(") + C + ")");
        break;
      default:
        Item = C;
        Plain.push_back(C);
        break;
    }
    Select += (k ? ", " : "") + Item;
  }
  for (size_t i = 0; i < Plain.size(); ++i) GroupBy += (i ? ", " : "") + Plain[i];

  // FROM: Tables - Joins comma entries, each a chain of joins. A table joins
  // the one before it, every third one the first table of its chain; every
  // fifth join has a second comparison.
  static const char* const Kinds[] = {"INNER JOIN", "LEFT OUTER JOIN", "RIGHT OUTER JOIN",
                                      "FULL OUTER JOIN", "JOIN", "LEFT JOIN"};
  const int Entries = std::max(1, T - Size.Joins);
  std::vector<bool> Starts(T, false);
  for (int s = 0; s < Entries; ++s) Starts[s * T / Entries] = true;
  std::string From;
  int ChainStart = 0;
  for (int t = 0; t < T; ++t) {
    const std::string Entry = "TAB_" + std::to_string(t) + " A" + std::to_string(t);
    if (Starts[t]) {
      From += (t ? ", " : "") + Entry;
      ChainStart = t;
      continue;
    }
    const int Parent = (t - ChainStart) % 3 == 0 ? ChainStart : t - 1;
    const std::string P = "A" + std::to_string(Parent), R = "A" + std::to_string(t);
    From += std::string(" ") + Kinds[(t + Variant) % 6] + " " + Entry + " ON (" + P +
            ".ID = " + R + ".REF";
    if (t % 5 == 0) From += " AND " + P + ".C0 = " + R + ".C0";
    From += ")";
  }

  // WHERE: comparisons joined by AND, every third pair an OR group.
  std::string Where;
  for (int k = 0; k < Size.Conditions;) {
    if (!Where.empty()) Where += " AND ";
    const int t = (k * 7 + Variant) % T, c = k % PerTable;
    if (k % 3 == 1 && k + 1 < Size.Conditions) {
      Where += "(" + Condition(k + Variant, t, c) + " OR " +
               Condition(k + 1 + Variant, (t + 1) % T, (c + 1) % PerTable) + ")";
      k += 2;
    } else {
      Where += Condition(k + Variant, t, c);
      ++k;
    }
  }

  // HAVING on the aggregates, alternately AND and OR.
  std::string Having;
  const int HavingCount = std::min<int>(std::max(1, Size.Conditions / 5), Aggregates.size());
  for (int k = 0; k < HavingCount; ++k) {
    if (k) Having += k % 2 ? " OR " : " AND ";
    Having += Aggregates[k * Aggregates.size() / HavingCount] + " > " + std::to_string(k + 1);
  }

  // ORDER BY some of the plain columns, every other one descending.
  std::string OrderBy;
  const int OrderCount = std::min<int>(std::max(2, Size.Columns / 50), Plain.size());
  for (int k = 0; k < OrderCount; ++k) {
    OrderBy += (k ? ", " : "") + Plain[k * Plain.size() / OrderCount];
    if (k % 2) OrderBy += " DESC";
  }

  Q.Sql = "SELECT " + Select + " FROM " + From;
  if (!Where.empty()) Q.Sql += " WHERE " + Where;
  if (!GroupBy.empty() && !Aggregates.empty()) Q.Sql += " GROUP BY " + GroupBy;
  if (!Having.empty()) Q.Sql += " HAVING " + Having;
  if (!OrderBy.empty()) Q.Sql += " ORDER BY " + OrderBy;
  return Q;
}

}  // namespace Vexar::Bench
