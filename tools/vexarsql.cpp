#include "tools/vexarsql.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "dialects/ibparser.h"
#include "dialects/myparser.h"
#include "parser/schemaloader.h"
#include "parser/selectparser.h"
#include "tools/modeljson.h"
#include "tools/schemafile.h"

namespace Vexar {

namespace {

const char kUsage[] =
    "Usage: vexar-sql [OPTIONS] [FILE]\n"
    "Reads one SELECT statement from FILE (standard input when FILE is absent or \"-\"),\n"
    "parses it and writes the statement generated from its model to standard output.\n"
    "\n"
    "  --dialect NAME      generic (default), interbase, firebird, mysql\n"
    "  --sql-dialect N     1 or 3 (default 3): the InterBase/Firebird SQL dialect\n"
    "  --no-quote          do not quote identifiers (generic and mysql)\n"
    "  --keywords MODE     asis (default), upper, lower, firstupper\n"
    "  --functions MODE    asis (default), upper, lower, firstupper\n"
    "  --schema FILE       table columns, one table a line: NAME: col1, col2 [| in1, in2];\n"
    "                      output fields that name no column of their table are dropped\n"
    "  --json              write the model as JSON instead of the SQL text\n"
    "  --batch             one statement per input line; one JSON line per statement:\n"
    "                      {\"sql\": ...} or {\"error\": ...}\n"
    "  --help              show this text\n"
    "  --version           show the version\n"
    "\n"
    "Exit status: 0 success, 1 the statement could not be read, 2 usage or I/O error.\n";

struct TOptions {
  std::string Dialect = "generic";
  int SQLDialect = 3;
  bool Quote = true;
  TVXFormatMode Keywords = qfmAsIs;
  TVXFormatMode Functions = qfmAsIs;
  std::string Schema;
  bool Json = false;
  bool Batch = false;
  std::optional<std::string> File;
};

bool ParseMode(const std::string& S, TVXFormatMode& Mode) {
  if (S == "asis") Mode = qfmAsIs;
  else if (S == "upper") Mode = qfmUpperCase;
  else if (S == "lower") Mode = qfmLowerCase;
  else if (S == "firstupper") Mode = qfmFirstUpper;
  else return false;
  return true;
}

// Fills Opt from Args; on a usage error returns false with the reason.
bool ParseArgs(const std::vector<std::string>& Args, TOptions& Opt, std::string& Error,
               bool& Help, bool& Version) {
  for (size_t i = 0; i < Args.size(); ++i) {
    std::string A = Args[i];
    std::string Value;
    bool HasValue = false;
    if (A.rfind("--", 0) == 0) {
      size_t Eq = A.find('=');
      if (Eq != std::string::npos) {
        Value = A.substr(Eq + 1);
        A = A.substr(0, Eq);
        HasValue = true;
      }
    }
    auto NeedValue = [&]() {
      if (HasValue) return true;
      if (i + 1 >= Args.size()) {
        Error = "option '" + A + "' needs a value";
        return false;
      }
      Value = Args[++i];
      return true;
    };
    if (A == "--help") {
      Help = true;
    } else if (A == "--version") {
      Version = true;
    } else if (A == "--dialect") {
      if (!NeedValue()) return false;
      if (Value != "generic" && Value != "interbase" && Value != "firebird" && Value != "mysql") {
        Error = "unknown dialect '" + Value + "' (generic, interbase, firebird, mysql)";
        return false;
      }
      Opt.Dialect = Value;
    } else if (A == "--sql-dialect") {
      if (!NeedValue()) return false;
      if (Value != "1" && Value != "3") {
        Error = "SQL dialect must be 1 or 3, not '" + Value + "'";
        return false;
      }
      Opt.SQLDialect = Value == "1" ? 1 : 3;
    } else if (A == "--no-quote") {
      Opt.Quote = false;
    } else if (A == "--keywords" || A == "--functions") {
      if (!NeedValue()) return false;
      if (!ParseMode(Value, A == "--keywords" ? Opt.Keywords : Opt.Functions)) {
        Error = "unknown mode '" + Value + "' for " + A + " (asis, upper, lower, firstupper)";
        return false;
      }
    } else if (A == "--schema") {
      if (!NeedValue()) return false;
      Opt.Schema = Value;
    } else if (A == "--json") {
      Opt.Json = true;
    } else if (A == "--batch") {
      Opt.Batch = true;
    } else if (A.size() > 1 && A[0] == '-' && A != "-") {
      Error = "unknown option '" + A + "'";
      return false;
    } else if (Opt.File) {
      Error = "only one input file may be given";
      return false;
    } else {
      Opt.File = A;
    }
    if (HasValue && (A == "--help" || A == "--version" || A == "--no-quote" || A == "--json" ||
                     A == "--batch")) {
      Error = "option '" + A + "' takes no value";
      return false;
    }
  }
  if (Opt.Json && Opt.Batch) {
    Error = "--json and --batch cannot be combined";
    return false;
  }
  return true;
}

std::unique_ptr<TVXSelectParser> MakeParser(const TOptions& Opt) {
  std::unique_ptr<TVXSelectParser> P;
  if (Opt.Dialect == "interbase" || Opt.Dialect == "firebird") {
    auto IB = TVXSelectParser::Create<TVXIBSelectParser>();
    IB->SetSQLServer(Opt.Dialect == "firebird" ? qssFireBird : qssInterBase);
    IB->IBScanner()->SetSQLDialect(Opt.SQLDialect == 1 ? qibDialect1 : qibDialect3);
    P = std::move(IB);
  } else if (Opt.Dialect == "mysql") {
    P = TVXSelectParser::Create<TVXMySelectParser>();
  } else {
    P = TVXSelectParser::Create<TVXSelectParser>();
  }
  P->Scanner()->SetQuoteIdentifiers(Opt.Quote);
  P->ScriptFormat()->SetKeywordsFormat(Opt.Keywords);
  P->ScriptFormat()->SetFunctionsFormat(Opt.Functions);
  return P;
}

// A message on one line: line breaks inside a quoted token become blanks.
std::string OneLine(std::string S) {
  for (char& C : S)
    if (C == '\r' || C == '\n') C = ' ';
  return S;
}

// Parses Text; returns the error when it could not be read.
std::optional<EVXParserError> Parse(TVXSelectParser& P, const std::string& Text) {
  std::optional<EVXParserError> Error;
  P.OnParserError = [&](TVXSelectParser*, const std::string&, const std::string& Token, int LineNo,
                        int LinePos) {
    if (!Error) Error.emplace(Token.empty() ? 2 : 1, Token, LineNo, LinePos);
  };
  try {
    P.SetExpression(Text);
  } catch (const EVXParserError& E) {
    if (!Error) Error.emplace(E);
  } catch (const std::exception& E) {
    // Nothing but a parse error is expected here; report it like one.
    if (!Error) Error.emplace(99, std::string(), 0, 0);
  }
  return Error;
}

// The lines of a stream, one by one, as std::getline splits them. It takes
// from the stream's buffer what is there without waiting, in chunks, and
// waits for more only when no whole line is left: BeforeWait runs then, so
// that a caller feeding the input one line at a time gets the answers so far
// before it is waited on.
class TLineReader {
 public:
  explicit TLineReader(std::istream& In) : FIn(In) {
    if (!In.good()) {
      FEnd = true;
      FFailed = In.bad();
    }
  }

  // The next line, without its '\n'; false at the end of the input.
  template <class F>
  bool Next(std::string& Line, F&& BeforeWait) {
    for (;;) {
      const char* Begin = FBuf.data() + FPos;
      const size_t Left = FBuf.size() - FPos;
      if (const void* NL = std::memchr(FBuf.data() + FScan, '\n', FBuf.size() - FScan)) {
        const size_t Length = static_cast<const char*>(NL) - Begin;
        Line.assign(Begin, Length);
        FPos += Length + 1;
        FScan = FPos;
        return true;
      }
      FScan = FBuf.size();
      if (FEnd) {
        if (Left == 0) return false;
        Line.assign(Begin, Left);  // the last line, without a line break
        FPos = FScan = FBuf.size();
        return true;
      }
      Fill(BeforeWait);
    }
  }

  // Reading stopped on an error of the stream.
  bool Failed() const { return FFailed; }

 private:
  static constexpr std::streamsize kChunk = 64 * 1024;

  template <class F>
  void Fill(F& BeforeWait) {
    FBuf.erase(0, FPos);  // what is left is the start of a line
    FScan -= FPos;
    FPos = 0;
    std::streambuf* Sb = FIn.rdbuf();
    try {
      std::streamsize N = Sb->in_avail();
      if (N <= 0) {
        BeforeWait();
        if (std::istream::traits_type::eq_int_type(Sb->sgetc(), std::istream::traits_type::eof())) {
          FEnd = true;
          return;
        }
        N = std::max<std::streamsize>(Sb->in_avail(), 1);
      }
      N = std::min(N, kChunk);
      const size_t Old = FBuf.size();
      FBuf.resize(Old + static_cast<size_t>(N));
      const std::streamsize Got = Sb->sgetn(FBuf.data() + Old, N);
      FBuf.resize(Old + static_cast<size_t>(std::max<std::streamsize>(Got, 0)));
      if (Got <= 0) FEnd = true;
    } catch (...) {
      // A read error (a directory given as the file, for one).
      FEnd = FFailed = true;
    }
  }

  std::istream& FIn;
  std::string FBuf;
  size_t FPos = 0;   // start of the next line in FBuf
  size_t FScan = 0;  // FBuf before this has no '\n' past FPos
  bool FEnd = false;
  bool FFailed = false;
};

// Appends the whole of In to Text; false on a read error, which the stream
// buffer may throw (a directory given as the file, for one).
bool ReadAll(std::istream& In, std::string& Text) {
  try {
    char Chunk[64 * 1024];
    while (const std::streamsize N = In.rdbuf()->sgetn(Chunk, sizeof Chunk)) {
      if (N < 0) break;
      Text.append(Chunk, static_cast<size_t>(N));
    }
  } catch (...) {
    return false;
  }
  return !In.bad();
}

}  // namespace

const char* VexarSqlUsage() { return kUsage; }

int RunVexarSql(const std::vector<std::string>& Args, std::istream& In, std::ostream& Out,
                std::ostream& Err) {
  TOptions Opt;
  std::string Error;
  bool Help = false, Version = false;
  if (!ParseArgs(Args, Opt, Error, Help, Version)) {
    Err << "vexar-sql: " << Error << "\n";
    return vsUsageError;
  }
  if (Help) {
    Out << kUsage;
    return vsOk;
  }
  if (Version) {
    Out << "vexar-sql 2.02\n";
    return vsOk;
  }

  TVXSchemaFile Schema;
  if (!Opt.Schema.empty()) {
    std::ifstream S(Opt.Schema, std::ios::binary);
    if (!S) {
      Err << "vexar-sql: cannot open schema file '" << Opt.Schema << "'\n";
      return vsUsageError;
    }
    if (!Schema.Load(S, Error)) {
      Err << "vexar-sql: " << Error << "\n";
      return vsUsageError;
    }
  }

  std::ifstream File;
  std::istream* Input = &In;
  if (Opt.File && *Opt.File != "-") {
    File.open(*Opt.File, std::ios::binary);
    if (!File) {
      Err << "vexar-sql: cannot open '" << *Opt.File << "'\n";
      return vsUsageError;
    }
    Input = &File;
  }

  std::unique_ptr<TVXSelectParser> P = MakeParser(Opt);

  if (Opt.Batch) {
    // Before waiting for input, the results so far go out where the input
    // asks for it (standard input tied to standard output), as a line
    // read with the stream's own functions would have flushed them.
    auto BeforeWait = [&]() {
      if (std::ostream* Tied = Input->tie()) Tied->flush();
    };
    // Each result is written into Result, which only grows: a line costs
    // its escaping and one write.
    std::vector<char> Result;
    auto Write = [&](std::string_view Head, std::string_view Text) {
      const size_t Need = Head.size() + JsonTextRoom(Text.size()) + 2;
      if (Result.size() < Need) Result.resize(std::max(Need, 2 * Result.size()));
      char* D = std::copy(Head.begin(), Head.end(), Result.data());
      D = WriteJsonText(D, Text);
      *D++ = '}';
      *D++ = '\n';
      Out.write(Result.data(), D - Result.data());
    };
    TLineReader Reader(*Input);
    std::string Line;
    while (Reader.Next(Line, BeforeWait)) {
      if (!Line.empty() && Line.back() == '\r') Line.pop_back();
      if (auto E = Parse(*P, Line)) {
        Write("{\"error\":", OneLine(ErrorMessage(*E)));
      } else {
        if (!Opt.Schema.empty()) LoadSchema(*P, Schema.Lookup());
        Write("{\"sql\":", P->GetExpression());
      }
    }
    if (Reader.Failed()) {
      Err << "vexar-sql: cannot read the input\n";
      return vsUsageError;
    }
    return vsOk;
  }

  std::string Text;
  if (!ReadAll(*Input, Text)) {
    Err << "vexar-sql: cannot read the input\n";
    return vsUsageError;
  }
  std::optional<EVXParserError> E = Parse(*P, Text);
  if (!E && !Opt.Schema.empty()) LoadSchema(*P, Schema.Lookup());
  if (Opt.Json) {
    nlohmann::ordered_json Doc = ModelToJson(*P);
    if (E) Doc["Error"] = ErrorToJson(*E);
    Out << DumpJson(Doc, 2) << '\n';
  }
  if (E) {
    Err << OneLine(ErrorMessage(*E)) << "\n";
    return vsParseError;
  }
  if (!Opt.Json) Out << P->GetExpression();
  return vsOk;
}

}  // namespace Vexar
