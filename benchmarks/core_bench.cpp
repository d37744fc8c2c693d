// Speed and memory of the SQL core, with SQLite's own front end beside it.
//
// For each statement size (querygen.h): scanning only, parsing
// (SetExpression), writing (GetExpression), both, and the vexar-sql command
// in batch mode over a file of statements; SQLite's prepare and finalize of
// the same statement against an in-memory database that holds its tables
// (small, medium and large; SQLite joins at most 64 tables), alone and side
// by side with ours in the same iterations; and the heap the model of a
// parsed statement holds. After the runs a summary compares the
// medians with the targets: parse and write at most half of SQLite's prepare,
// the batch command likewise per statement, xl at most 1.3 times the cost
// per byte of large, and the model at most 30 times its text.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <new>
#include <sstream>

#include "benchmarks/querygen.h"
#include "parser/selectparser.h"
#include "tools/vexarsql.h"

// ---------------------------------------------------------------------------
// Heap accounting: while CountHeap is set, every allocation through operator
// new adds its usable size and every release subtracts it. Only the memory
// benchmark sets it (the benchmarks run on one thread), so that the timed
// runs pay nothing for it.

namespace {
bool CountHeap = false;
long long HeapBytes = 0;
}  // namespace

void* operator new(std::size_t Size) {
  void* P = std::malloc(Size ? Size : 1);
  if (!P) throw std::bad_alloc();
  if (CountHeap) HeapBytes += static_cast<long long>(malloc_usable_size(P));
  return P;
}

namespace {
void Release(void* P) {
  if (!P) return;
  if (CountHeap) HeapBytes -= static_cast<long long>(malloc_usable_size(P));
  std::free(P);
}
}  // namespace

void operator delete(void* P) noexcept { Release(P); }
void operator delete(void* P, std::size_t) noexcept { Release(P); }

namespace Vexar::Bench {
namespace {

constexpr int BatchStatements = 16;

struct TPrepared {
  TQuerySize Size;
  TGeneratedQuery Query;
  std::string BatchFile;  // BatchStatements variants, one per line
  std::vector<std::string> Variants;  // the same statements, one by one
};

std::vector<TPrepared>& Prepared() {
  static std::vector<TPrepared> P;
  return P;
}

std::unique_ptr<TVXSelectParser> NewParser() {
  auto P = TVXSelectParser::Create<TVXSelectParser>();
  P->Scanner()->SetQuoteIdentifiers(false);
  return P;
}

// An in-memory database holding the tables of Q.
sqlite3* OpenDatabase(const TGeneratedQuery& Q) {
  sqlite3* Db = nullptr;
  sqlite3_open(":memory:", &Db);
  for (const std::string& S : Q.Schema) sqlite3_exec(Db, S.c_str(), nullptr, nullptr, nullptr);
  return Db;
}

bool SqliteAccepts(sqlite3* Db, const std::string& Sql, std::string& Error) {
  sqlite3_stmt* St = nullptr;
  int Rc = sqlite3_prepare_v2(Db, Sql.c_str(), static_cast<int>(Sql.size()), &St, nullptr);
  if (Rc != SQLITE_OK) Error = sqlite3_errmsg(Db);
  sqlite3_finalize(St);
  return Rc == SQLITE_OK;
}

// Every statement must survive the round trip unchanged (the written text
// reads back to the same text) and, within SQLite's limits, be valid SQL
// before and after; otherwise the numbers would measure error paths.
bool CheckStatements() {
  bool Ok = true;
  for (const TPrepared& P : Prepared()) {
    auto Parser = NewParser();
    Parser->SetExpression(P.Query.Sql);
    const std::string First = Parser->GetExpression();
    Parser->SetExpression(First);
    const std::string Second = Parser->GetExpression();
    int Fields = 0, Joins = 0;
    for (int i = 0; i < Parser->TableDefs()->Count(); ++i) {
      Fields += Parser->TableDefs()->Items(i)->FieldDefs()->Count();
      Joins += Parser->TableDefs()->Items(i)->JoinDefs()->Count();
    }
    std::printf("%-6s %8zu bytes, %4d tables, %5d fields, %4d join conditions\n", P.Size.Label,
                P.Query.Sql.size(), Parser->TableDefs()->Count(), Fields, Joins);
    if (First != Second || Parser->TableDefs()->Count() != P.Size.Tables ||
        Fields != P.Size.Columns) {
      std::printf("  %s: the model does not round-trip the statement\n", P.Size.Label);
      Ok = false;
    }
    if (P.Size.Tables <= 64) {
      sqlite3* Db = OpenDatabase(P.Query);
      std::string Error;
      if (!SqliteAccepts(Db, P.Query.Sql, Error) || !SqliteAccepts(Db, First, Error)) {
        std::printf("  %s: SQLite refuses the statement: %s\n", P.Size.Label, Error.c_str());
        Ok = false;
      }
      sqlite3_close(Db);
    }
  }
  return Ok;
}

void Scan(benchmark::State& State, const TPrepared* P) {
  auto Parser = NewParser();
  TVXSQLScanner* S = Parser->Scanner();
  for (auto _ : State) {
    S->SetExpression(P->Query.Sql);
    while (S->TokenKind() != tkEnd) S->GetNextToken();
    benchmark::DoNotOptimize(S->Token());
  }
  State.SetBytesProcessed(State.iterations() * P->Query.Sql.size());
}

void Parse(benchmark::State& State, const TPrepared* P) {
  auto Parser = NewParser();
  for (auto _ : State) Parser->SetExpression(P->Query.Sql);
  State.SetBytesProcessed(State.iterations() * P->Query.Sql.size());
}

void Generate(benchmark::State& State, const TPrepared* P) {
  auto Parser = NewParser();
  Parser->SetExpression(P->Query.Sql);
  for (auto _ : State) benchmark::DoNotOptimize(Parser->GetExpression());
  State.SetBytesProcessed(State.iterations() * P->Query.Sql.size());
}

void ParseGenerate(benchmark::State& State, const TPrepared* P) {
  auto Parser = NewParser();
  for (auto _ : State) {
    Parser->SetExpression(P->Query.Sql);
    benchmark::DoNotOptimize(Parser->GetExpression());
  }
  State.SetBytesProcessed(State.iterations() * P->Query.Sql.size());
}

// The command as run from a shell: its own parser, the file read line by
// line, one JSON result written per statement.
void Batch(benchmark::State& State, const TPrepared* P) {
  const std::string Path = "vexar_bench_batch_" + std::string(P->Size.Label) + ".sql";
  {
    std::ofstream F(Path, std::ios::binary);
    F << P->BatchFile;
  }
  for (auto _ : State) {
    std::istringstream In;
    std::ostringstream Out, Err;
    if (RunVexarSql({"--batch", Path}, In, Out, Err) != vsOk) State.SkipWithError("batch failed");
    benchmark::DoNotOptimize(Out.str());
  }
  std::remove(Path.c_str());
  State.counters["statements"] = BatchStatements;
  State.SetBytesProcessed(State.iterations() * P->BatchFile.size());
}

void SqlitePrepare(benchmark::State& State, const TPrepared* P) {
  sqlite3* Db = OpenDatabase(P->Query);
  const std::string& Sql = P->Query.Sql;
  for (auto _ : State) {
    if (std::string Error; !SqliteAccepts(Db, Sql, Error)) State.SkipWithError(Error.c_str());
  }
  sqlite3_close(Db);
  State.SetBytesProcessed(State.iterations() * Sql.size());
}

// CPU time of the calling thread, in microseconds.
double ThreadMicroseconds() {
  timespec T;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
  return T.tv_sec * 1e6 + T.tv_nsec / 1e3;
}

// Side by side: each iteration parses and writes one statement and has
// SQLite prepare the same one, timing both, so that a change in the load of
// a shared machine hits both sides alike. The counters give the mean time
// per statement of each side and their ratio.
void Versus(benchmark::State& State, const TPrepared* P) {
  auto Parser = NewParser();
  sqlite3* Db = OpenDatabase(P->Query);
  double Ours = 0, Theirs = 0;
  size_t v = 0;
  for (auto _ : State) {
    const std::string& Sql = P->Variants[v++ % P->Variants.size()];
    const double T0 = ThreadMicroseconds();
    Parser->SetExpression(Sql);
    benchmark::DoNotOptimize(Parser->GetExpression());
    const double T1 = ThreadMicroseconds();
    if (std::string Error; !SqliteAccepts(Db, Sql, Error)) State.SkipWithError(Error.c_str());
    const double T2 = ThreadMicroseconds();
    Ours += T1 - T0;
    Theirs += T2 - T1;
  }
  sqlite3_close(Db);
  const double N = static_cast<double>(State.iterations());
  State.counters["vexar_us"] = Ours / N;
  State.counters["sqlite_us"] = Theirs / N;
  State.counters["ratio"] = Ours / Theirs;
}

// The batch command over the file of statements, then SQLite's prepare of
// each of them, in every iteration.
void BatchVersus(benchmark::State& State, const TPrepared* P) {
  const std::string Path = "vexar_bench_versus_" + std::string(P->Size.Label) + ".sql";
  {
    std::ofstream F(Path, std::ios::binary);
    F << P->BatchFile;
  }
  sqlite3* Db = OpenDatabase(P->Query);
  double Ours = 0, Theirs = 0;
  for (auto _ : State) {
    const double T0 = ThreadMicroseconds();
    std::istringstream In;
    std::ostringstream Out, Err;
    if (RunVexarSql({"--batch", Path}, In, Out, Err) != vsOk) State.SkipWithError("batch failed");
    benchmark::DoNotOptimize(Out.str());
    const double T1 = ThreadMicroseconds();
    for (const std::string& Sql : P->Variants) {
      if (std::string Error; !SqliteAccepts(Db, Sql, Error)) State.SkipWithError(Error.c_str());
    }
    const double T2 = ThreadMicroseconds();
    Ours += T1 - T0;
    Theirs += T2 - T1;
  }
  sqlite3_close(Db);
  std::remove(Path.c_str());
  const double N = static_cast<double>(State.iterations()) * P->Variants.size();
  State.counters["vexar_us"] = Ours / N;
  State.counters["sqlite_us"] = Theirs / N;
  State.counters["ratio"] = Ours / Theirs;
}

// The heap a parsed statement's model holds, against the length of its text.
void ModelMemory(benchmark::State& State, const TPrepared* P) {
  auto Parser = NewParser();
  // Vocabularies, lists and the reader's scratch room in place: a first
  // reading of the statement leaves them as every later reading finds them.
  Parser->SetExpression(P->Query.Sql);
  Parser->SetExpression("");
  // The model is empty here: everything released while counting was made
  // while counting, and what remains is what the new model holds.
  HeapBytes = 0;
  CountHeap = true;
  Parser->SetExpression(P->Query.Sql);
  CountHeap = false;
  const long long Model = HeapBytes;
  for (auto _ : State) benchmark::DoNotOptimize(Parser->TableDefs()->Count());
  State.counters["text_bytes"] = static_cast<double>(P->Query.Sql.size());
  State.counters["model_bytes"] = static_cast<double>(Model);
  State.counters["model_per_text"] = static_cast<double>(Model) / P->Query.Sql.size();
}

// ---------------------------------------------------------------------------
// The summary of the targets, from the medians of the repetitions (or the
// single run without repetitions). CPU time is used: the machine is shared.

class TSummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& Runs) override {
    ConsoleReporter::ReportRuns(Runs);
    for (const Run& R : Runs) {
      const bool Median = R.run_type == Run::RT_Aggregate && R.aggregate_name == "median";
      if (R.run_type == Run::RT_Aggregate && !Median) continue;
      if (R.run_type == Run::RT_Iteration && R.repetitions > 1) continue;
      FCpu[R.run_name.str()] = R.GetAdjustedCPUTime();
      for (const auto& [Name, C] : R.counters) FCounters[R.run_name.str() + ":" + Name] = C.value;
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::ostream& O = GetOutputStream();
    char Line[256];
    O << "\nSummary (CPU time per statement, microseconds; medians)\n";
    std::snprintf(Line, sizeof Line, "%-7s %10s %10s %10s %10s %10s %8s %8s\n", "size", "parse",
                  "generate", "parse+gen", "batch/stmt", "sqlite", "p+g/sql", "batch/sql");
    O << Line;
    for (const TPrepared& P : Prepared()) {
      const std::string L = P.Size.Label;
      const double Pa = Get("Parse/" + L), Ge = Get("Generate/" + L), PG = Get("ParseGenerate/" + L);
      const double Ba = Get("Batch/" + L) / BatchStatements, Sq = Get("SqlitePrepare/" + L);
      const std::string SqText = Sq > 0 ? Fixed(Sq, 1) : "-";
      std::snprintf(Line, sizeof Line, "%-7s %10.1f %10.1f %10.1f %10.1f %10s %8s %8s\n",
                    L.c_str(), Pa, Ge, PG, Ba, SqText.c_str(), Sq > 0 ? Ratio(PG / Sq).c_str() : "-",
                    Sq > 0 ? Ratio(Ba / Sq).c_str() : "-");
      O << Line;
    }
    O << "\nSide by side (each iteration times both; mean per statement, medians of "
         "the repetitions)\n";
    std::snprintf(Line, sizeof Line, "%-7s %12s %10s %8s %12s %10s %8s\n", "size", "parse+gen",
                  "sqlite", "ratio", "batch/stmt", "sqlite", "ratio");
    O << Line;
    for (const TPrepared& P : Prepared()) {
      const std::string L = P.Size.Label;
      auto C = [&](const std::string& Name) {
        auto It = FCounters.find(Name);
        return It == FCounters.end() ? 0.0 : It->second;
      };
      if (C("Versus/" + L + ":ratio") <= 0) continue;
      std::snprintf(Line, sizeof Line, "%-7s %12.1f %10.1f %8.2f %12.1f %10.1f %8.2f\n",
                    L.c_str(), C("Versus/" + L + ":vexar_us"), C("Versus/" + L + ":sqlite_us"),
                    C("Versus/" + L + ":ratio"), C("BatchVersus/" + L + ":vexar_us"),
                    C("BatchVersus/" + L + ":sqlite_us"), C("BatchVersus/" + L + ":ratio"));
      O << Line;
    }
    const TPrepared* Large = Find("large");
    const TPrepared* Xl = Find("xl");
    if (Large && Xl) {
      const double PerLarge = Get("ParseGenerate/large") / Large->Query.Sql.size();
      const double PerXl = Get("ParseGenerate/xl") / Xl->Query.Sql.size();
      if (PerLarge > 0 && PerXl > 0)
        O << "cost per byte, parse+generate, xl / large: " << Ratio(PerXl / PerLarge)
          << " (target at most 1.30)\n";
    }
    for (const TPrepared& P : Prepared()) {
      auto It = FCounters.find("ModelMemory/" + std::string(P.Size.Label) + ":model_per_text");
      if (It != FCounters.end())
        O << "model heap / text, " << P.Size.Label << ": " << Ratio(It->second)
          << (std::string(P.Size.Label) == "xl" ? " (target at most 30)" : "") << "\n";
    }
    O << "targets: parse+generate and batch per statement at most 0.50 of SQLite's prepare\n";
  }

 private:
  double Get(const std::string& Name) const {
    auto It = FCpu.find(Name);
    return It == FCpu.end() ? 0 : It->second;
  }
  static const TPrepared* Find(const std::string& Label) {
    for (const TPrepared& P : Prepared())
      if (Label == P.Size.Label) return &P;
    return nullptr;
  }
  static std::string Fixed(double V, int Digits) {
    char B[32];
    std::snprintf(B, sizeof B, "%.*f", Digits, V);
    return B;
  }
  static std::string Ratio(double V) { return Fixed(V, 2); }
  std::map<std::string, double> FCpu;
  std::map<std::string, double> FCounters;
};

}  // namespace
}  // namespace Vexar::Bench

int main(int argc, char** argv) {
  using namespace Vexar::Bench;
  for (const TQuerySize& S : QuerySizes()) {
    TPrepared P{S, GenerateQuery(S), {}, {}};
    for (int v = 0; v < BatchStatements; ++v) {
      P.Variants.push_back(GenerateQuery(S, v).Sql);
      P.BatchFile += P.Variants.back() + "\n";
    }
    Prepared().push_back(std::move(P));
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  if (!CheckStatements()) return 1;
  for (const TPrepared& P : Prepared()) {
    const std::string L = P.Size.Label;
    auto Unit = [](benchmark::internal::Benchmark* B) { B->Unit(benchmark::kMicrosecond); };
    Unit(benchmark::RegisterBenchmark(("Scan/" + L).c_str(), Scan, &P));
    Unit(benchmark::RegisterBenchmark(("Parse/" + L).c_str(), Parse, &P));
    Unit(benchmark::RegisterBenchmark(("Generate/" + L).c_str(), Generate, &P));
    Unit(benchmark::RegisterBenchmark(("ParseGenerate/" + L).c_str(), ParseGenerate, &P));
    Unit(benchmark::RegisterBenchmark(("Batch/" + L).c_str(), Batch, &P));
    if (P.Size.Tables <= 64) {
      Unit(benchmark::RegisterBenchmark(("SqlitePrepare/" + L).c_str(), SqlitePrepare, &P));
      Unit(benchmark::RegisterBenchmark(("Versus/" + L).c_str(), Versus, &P));
      Unit(benchmark::RegisterBenchmark(("BatchVersus/" + L).c_str(), BatchVersus, &P));
    }
    Unit(benchmark::RegisterBenchmark(("ModelMemory/" + L).c_str(), ModelMemory, &P)
             ->Iterations(1)
             ->Repetitions(1));
  }
  TSummaryReporter Reporter;
  benchmark::RunSpecifiedBenchmarks(&Reporter);
  benchmark::Shutdown();
  return 0;
}
