// A deterministic generator of SELECT statements in the generic grammar, in
// the shape reporting tools write them: qualified columns, aggregates,
// arithmetic and aliases in the select list, chains of joins of every kind,
// WHERE conditions mixing AND and OR, GROUP BY, HAVING and ORDER BY. The
// same size and variant always give the same text.
#pragma once

#include <string>
#include <vector>

namespace Vexar::Bench {

struct TQuerySize {
  const char* Label;  // small, medium, large, xl
  int Tables;
  int Columns;     // items of the select list
  int Joins;       // tables written as JOIN clauses; the others are comma entries
  int Conditions;  // comparisons of the WHERE clause
};

// The four sizes the benchmarks measure.
const std::vector<TQuerySize>& QuerySizes();

struct TGeneratedQuery {
  std::string Sql;                  // one line, no terminator
  std::vector<std::string> Schema;  // CREATE TABLE statements for every table it names
};

// The statement of the given size; Variant shifts which output kinds,
// columns and operators land where, so that a batch holds different texts.
TGeneratedQuery GenerateQuery(const TQuerySize& Size, int Variant = 0);

}  // namespace Vexar::Bench
