// The vexar-sql command, end to end: the built program run with arguments,
// standard input and files, checked on its standard output, standard error
// and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#include "tools/modeljson.h"

namespace {

struct Result {
  int Status = -1;
  std::string Out, Err;
};

class VexarSqlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char Pattern[] = "/tmp/vexar-sql-test-XXXXXX";
    ASSERT_NE(mkdtemp(Pattern), nullptr);
    Dir = Pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + Dir + "'").c_str()); }

  std::string Write(const std::string& Name, const std::string& Text) {
    std::string Path = Dir + "/" + Name;
    std::ofstream(Path, std::ios::binary) << Text;
    return Path;
  }
  static std::string Read(const std::string& Path) {
    std::ifstream F(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(F), std::istreambuf_iterator<char>());
  }
  // Runs the command with Args and Input on standard input.
  Result Run(const std::string& Args, const std::string& Input = "") {
    std::string In = Write("stdin", Input);
    std::string Cmd = std::string("'") + VEXAR_SQL_PATH + "' " + Args + " < '" + In + "' > '" +
                      Dir + "/stdout' 2> '" + Dir + "/stderr'";
    int Raw = std::system(Cmd.c_str());
    Result R;
    R.Status = WIFEXITED(Raw) ? WEXITSTATUS(Raw) : -1;
    R.Out = Read(Dir + "/stdout");
    R.Err = Read(Dir + "/stderr");
    return R;
  }

  std::string Dir;
};

TEST_F(VexarSqlTest, WritesTheGeneratedStatementByteForByte) {
  const std::string Sql =
      "select c.name, count(*) from customer c left join orders o on c.id = o.cust_id\n"
      "group by c.name order by c.name desc;";
  Result R = Run("", Sql);
  EXPECT_EQ(R.Status, 0) << R.Err;
  EXPECT_EQ(R.Out,
            "SELECT \r\n  \"c\".\"name\",\r\n  count(*) AS FIELD_1\r\nFROM\r\n"
            "  \"customer\" \"c\" \r\n  LEFT OUTER JOIN \"orders\" \"o\" ON (\"c\".\"id\" = "
            "\"o\".\"cust_id\")\r\nGROUP BY\r\n  \"c\".\"name\"\r\nORDER BY\r\n  \"c\".\"name\" DESC\r\n")
      << R.Out;
  EXPECT_EQ(R.Err, "");
  // A file, and "-" for standard input, read the same.
  EXPECT_EQ(Run("'" + Write("q.sql", Sql) + "'").Out, R.Out);
  EXPECT_EQ(Run("-", Sql).Out, R.Out);
}

TEST_F(VexarSqlTest, OptionsChangeQuotingCasingAndDialect) {
  const std::string Sql = "SELECT Upper(t.a) AS x FROM t WHERE t.b = 1";
  struct Case {
    const char* Args;
    const char* Out;
  } Cases[] = {
      {"--no-quote --keywords lower --functions upper",
       "select \r\n  UPPER(t.a) as x\r\nfrom\r\n  t\r\nwhere\r\n  (t.b = 1)\r\n"},
      {"--no-quote --keywords=firstupper --functions lower",
       "Select \r\n  upper(t.a) As x\r\nFrom\r\n  t\r\nWhere\r\n  (t.b = 1)\r\n"},
      {"--dialect mysql --no-quote", "SELECT \r\n  Upper(t.a) AS x\r\nFROM\r\n  t\r\nWHERE\r\n  (t.b = 1)\r\n"},
  };
  for (const Case& C : Cases) {
    Result R = Run(C.Args, Sql);
    EXPECT_EQ(R.Status, 0) << C.Args << ": " << R.Err;
    EXPECT_EQ(R.Out, C.Out) << C.Args;
  }
  for (const char* Args : {"--dialect interbase", "--dialect firebird --sql-dialect 1",
                           "--dialect mysql"}) {
    Result R = Run(Args, Sql);
    EXPECT_EQ(R.Status, 0) << Args << ": " << R.Err;
    EXPECT_NE(R.Out.find("FROM\r\n"), std::string::npos) << Args;
  }
}

TEST_F(VexarSqlTest, ParseErrorsGoToStandardErrorWithStatusOne) {
  Result R = Run("", "SELECT a INTO x FROM t");
  EXPECT_EQ(R.Status, 1);
  EXPECT_EQ(R.Out, "");
  EXPECT_EQ(R.Err, "Invalid token 'INTO' at position 10 of line 1.\n");

  R = Run("", "SELECT");
  EXPECT_EQ(R.Status, 1);
  EXPECT_EQ(R.Err, "Unexpected end of statement.\n");

  // A NUL byte as the token: the message goes on past it, in every mode.
  using namespace std::string_literals;
  const std::string Nul = "SELECT \0 FROM t"s;
  R = Run("", Nul);
  EXPECT_EQ(R.Status, 1);
  EXPECT_EQ(R.Err, "Invalid token '\0' at position 8 of line 1.\n"s);
  EXPECT_EQ(Run("--batch", Nul).Out,
            "{\"error\":\"Invalid token '\\u0000' at position 8 of line 1.\"}\n");
  EXPECT_EQ(nlohmann::json::parse(Run("--json", Nul).Out)["Error"]["Message"],
            "Invalid token '\0' at position 8 of line 1."s);

  // With --json the partial model comes out with the error inside.
  R = Run("--json", "SELECT a, b FROM t WHERE");
  EXPECT_EQ(R.Status, 1);
  auto J = nlohmann::json::parse(R.Out);
  ASSERT_TRUE(J.contains("Error"));
  EXPECT_EQ(J["Error"]["ErrorCode"], 2);
  EXPECT_EQ(J["Error"]["Message"], "Unexpected end of statement.");
  EXPECT_EQ(J["TableDefs"][0]["Name"], "t");
}

TEST_F(VexarSqlTest, UsageAndInputErrorsExitWithTwo) {
  for (const char* Args : {"--frobnicate", "--dialect oracle", "--sql-dialect 2", "--keywords",
                           "--keywords shout", "a.sql b.sql", "/no/such/file.sql",
                           "--schema /no/such/schema", "--json --batch"}) {
    Result R = Run(Args, "SELECT a FROM t");
    EXPECT_EQ(R.Status, 2) << Args;
    EXPECT_EQ(R.Out, "") << Args;
    EXPECT_EQ(std::count(R.Err.begin(), R.Err.end(), '\n'), 1) << Args << ": " << R.Err;
  }
  Result R = Run("--schema '" + Write("bad", "no colon here\n") + "'", "SELECT a FROM t");
  EXPECT_EQ(R.Status, 2);
  EXPECT_EQ(R.Err, "vexar-sql: schema line 1: expected 'NAME: col1, col2, ...'\n");
  R = Run("--help");
  EXPECT_EQ(R.Status, 0);
  EXPECT_EQ(R.Out.rfind("Usage: vexar-sql [OPTIONS] [FILE]", 0), 0u);
  EXPECT_EQ(Run("--version").Out, "vexar-sql 2.02\n");
}

TEST_F(VexarSqlTest, JsonDumpHasTheModelsStructure) {
  Result R = Run("--json --no-quote",
                 "SELECT DISTINCT c.name AS n, SUM(o.total) FROM customer c "
                 "INNER JOIN orders o ON c.id = o.cust_id WHERE NOT c.x = 'caf\xe9' "
                 "ORDER BY 2 DESC");
  ASSERT_EQ(R.Status, 0) << R.Err;
  EXPECT_NE(R.Out.find("caf\\u00e9"), std::string::npos);  // a byte that is not UTF-8
  auto J = nlohmann::json::parse(R.Out);
  EXPECT_EQ(J["Distinct"], true);
  const auto& C = J["TableDefs"][0];
  EXPECT_EQ(C["Alias"], "c");
  EXPECT_EQ(C["TableType"], "qttTable");
  EXPECT_EQ(C["FieldDefs"][0]["Alias"], "n");
  EXPECT_EQ(C["FieldDefs"][0]["Kind"], "fkIdentifier");
  EXPECT_EQ(C["FieldDefs"][0]["ParamType"], "ptResult");
  const auto& Join = C["JoinDefs"][0];
  EXPECT_EQ(Join["JoinKind"], "vxjInnerJoin");
  EXPECT_EQ(Join["FieldName"], "id");
  EXPECT_EQ(Join["JoinAlias"], "o");
  EXPECT_EQ(Join["JoinField"], "cust_id");
  EXPECT_EQ(Join["Comparison"], "=");
  const auto& Sum = J["TableDefs"][1]["FieldDefs"][0];
  EXPECT_EQ(Sum["Kind"], "fkFunction");
  EXPECT_EQ(Sum["Arguments"][0]["Name"], "total");
  EXPECT_EQ(J["WhereItems"]["Filter"], "cfNone");
  EXPECT_EQ(J["WhereItems"]["Items"][0]["RightSide"][0]["Kind"], "fkString");
  EXPECT_EQ(J["OrderByItems"][0]["Entry"], "2");
  EXPECT_EQ(J["OrderByItems"][0]["Order"], "okDesc");
  EXPECT_FALSE(J.contains("Error"));
  EXPECT_FALSE(J.contains("MySQLOptions"));

  auto My = nlohmann::json::parse(Run("--json --dialect mysql", "SELECT a FROM t LIMIT 5, 10").Out);
  EXPECT_EQ(My["MySQLOptions"]["LimitRows"], 10);
  EXPECT_EQ(My["MySQLOptions"]["LimitOffset"], 5);
  auto Fb = nlohmann::json::parse(Run("--json --dialect firebird", "SELECT FIRST 3 a FROM t").Out);
  EXPECT_EQ(Fb["FBOptions"]["First"], 3);
  EXPECT_TRUE(Fb.contains("IBOptions"));
}

TEST_F(VexarSqlTest, BatchWritesOneJsonLinePerStatementAndGoesOn) {
  Result R = Run("--batch --no-quote", "SELECT a FROM t\nSELECT FROM\n\r\nselect 'it''s' x from u");
  EXPECT_EQ(R.Status, 0) << R.Err;
  EXPECT_EQ(R.Out,
            "{\"sql\":\"SELECT \\r\\n  t.a\\r\\nFROM\\r\\n  t\\r\\n\"}\n"
            "{\"error\":\"Invalid token 'FROM' at position 8 of line 1.\"}\n"
            "{\"sql\":\"\"}\n"
            "{\"sql\":\"SELECT \\r\\n  'it''s' AS x\\r\\nFROM\\r\\n  u\\r\\n\"}\n");
}

TEST_F(VexarSqlTest, BatchResultsAreTheSingleStatementResults) {
  // A line longer than the chunks the input is read in, texts that are not
  // ASCII, and a last line without a line break, from a file and from
  // standard input.
  std::string Long = "SELECT c0";
  for (int i = 1; i < 20000; ++i) Long += ", c" + std::to_string(i);
  Long += " FROM t";
  const std::string Lines[] = {Long, "SELECT 'caf\xe9', '\xe2\x82\xac' FROM t", "SELECT FROM",
                               "SELECT \"q\"\"x\" FROM \"a\\b\""};
  // Each line's result as the JSON value of the text the command writes for
  // the line alone, or of its error message.
  std::string Input, Expected;
  for (const std::string& L : Lines) {
    Input += L + "\n";
    Result One = Run("", L);
    nlohmann::ordered_json J;
    if (One.Status == 0)
      J["sql"] = Vexar::JsonText(One.Out);
    else
      J["error"] = Vexar::JsonText(One.Err.substr(0, One.Err.size() - 1));
    Expected += Vexar::DumpJson(J) + "\n";
  }
  Input.pop_back();
  ASSERT_NE(Expected.find("'caf\\u00e9' AS FIELD_1,\\r\\n  '\\u20ac'"), std::string::npos);
  ASSERT_NE(Expected.find("{\"error\":\"Invalid token 'FROM'"), std::string::npos);
  for (const std::string& Args : {"--batch '" + Write("batch.sql", Input) + "'", std::string("--batch")}) {
    Result R = Run(Args, Input);
    EXPECT_EQ(R.Status, 0) << R.Err;
    EXPECT_TRUE(R.Out == Expected) << Args;
  }
}

TEST_F(VexarSqlTest, AnInputThatCannotBeReadExitsWithTwo) {
  for (const char* Args : {"", "--batch ", "--json "}) {
    Result R = Run(std::string(Args) + "'" + Dir + "'");  // a directory
    EXPECT_EQ(R.Status, 2) << Args;
    EXPECT_EQ(R.Out, "") << Args;
    EXPECT_EQ(R.Err, "vexar-sql: cannot read the input\n") << Args;
  }
}

TEST_F(VexarSqlTest, SchemaDropsColumnsATableLacks) {
  std::string Schema = Write("schema", "# columns\ncustomer: id, name\norders: id, cust_id, total\n");
  Result R = Run("--no-quote --schema '" + Schema + "'",
                 "SELECT name, total FROM customer c, orders o WHERE c.id = o.cust_id");
  EXPECT_EQ(R.Status, 0) << R.Err;
  EXPECT_EQ(R.Out,
            "SELECT \r\n  c.name,\r\n  o.total\r\nFROM\r\n  customer c,\r\n  orders o\r\n"
            "WHERE\r\n  (c.id = o.cust_id)\r\n");
  // A column that two tables have stays unqualified, as the statement has it.
  R = Run("--no-quote --schema '" + Schema + "'",
          "SELECT id, name FROM customer c JOIN orders o ON c.id = o.cust_id");
  EXPECT_EQ(R.Out,
            "SELECT \r\n  id,\r\n  c.name\r\nFROM\r\n  customer c \r\n"
            "  INNER JOIN orders o ON (c.id = o.cust_id)\r\n");
  // A table the schema does not list stops the loading: its columns stay.
  R = Run("--no-quote --schema '" + Schema + "'", "SELECT x.a, y FROM x, customer");
  EXPECT_EQ(R.Status, 0) << R.Err;
  EXPECT_NE(R.Out.find("x.a"), std::string::npos) << R.Out;
}

}  // namespace
