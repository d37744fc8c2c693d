// The InterBase/Firebird dialect on a real engine: the embedded Firebird
// engine, with a private configuration root and lock folder, opens two
// databases in a temporary folder (SQL dialect 3 and SQL dialect 1) and runs
// each statement and the text the parser writes back from it; both must be
// accepted and return the same rows, and writing the text read back gives
// that text again.
#include <ibase.h>

#include <memory>
#include <string>
#include <vector>

#include "dialects/ibparser.h"
#include "parser/parsererror.h"
#include "serverkit.h"

namespace Vexar {
namespace {

using namespace ServerKit;

// Tables with mixed-case and keyword names (dialect 3), and a selectable
// procedure with two parameters.
const char* const kSchema3[] = {
    "CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40) NOT NULL, "
    "CITY VARCHAR(40))",
    "CREATE TABLE PRODUCTS (ID INTEGER NOT NULL PRIMARY KEY, TITLE VARCHAR(40) NOT NULL, "
    "CATEGORY VARCHAR(20), PRICE NUMERIC(6,2))",
    "CREATE TABLE ORDERS (ID INTEGER NOT NULL PRIMARY KEY, CUSTOMER_ID INTEGER, "
    "STATUS VARCHAR(10), \"DATE\" DATE, \"TYPE\" VARCHAR(10))",
    "CREATE TABLE \"Order Lines\" (\"OrderId\" INTEGER, \"ProductId\" INTEGER, QTY INTEGER, "
    "PRICE NUMERIC(6,2))",
    "CREATE TABLE \"notes\" (\"id\" INTEGER, \"Note\" VARCHAR(40))",
    "CREATE PROCEDURE ORDERS_OF (CUST INTEGER, MIN_QTY INTEGER) "
    "RETURNS (ORDER_ID INTEGER, TOTAL INTEGER) AS BEGIN "
    "  FOR SELECT O.ID, SUM(L.QTY) FROM ORDERS O JOIN \"Order Lines\" L "
    "  ON L.\"OrderId\" = O.ID WHERE O.CUSTOMER_ID = :CUST GROUP BY O.ID "
    "  HAVING SUM(L.QTY) >= :MIN_QTY INTO :ORDER_ID, :TOTAL DO SUSPEND; "
    "END",
};
const char* const kRows3[] = {
    "INSERT INTO CUSTOMERS VALUES (1, 'Ann', 'Oslo')",
    "INSERT INTO CUSTOMERS VALUES (2, 'Bob', NULL)",
    "INSERT INTO CUSTOMERS VALUES (3, 'O''Hara', 'Cork')",
    "INSERT INTO CUSTOMERS VALUES (4, 'Dee', 'Oslo')",
    "INSERT INTO CUSTOMERS VALUES (5, 'Ann', 'Bergen')",
    "INSERT INTO CUSTOMERS VALUES (6, '\"Quoted\"', 'Cork')",
    "INSERT INTO PRODUCTS VALUES (1, 'Tea', 'drink', 2.5)",
    "INSERT INTO PRODUCTS VALUES (2, 'Scone''s jam', 'food', 4.0)",
    "INSERT INTO PRODUCTS VALUES (3, 'Coffee', 'drink', 3.0)",
    "INSERT INTO PRODUCTS VALUES (4, 'Mystery', NULL, NULL)",
    "INSERT INTO PRODUCTS VALUES (5, '50% off', 'food', 1.0)",
    "INSERT INTO ORDERS VALUES (10, 1, 'open', '2024-01-02', 'web')",
    "INSERT INTO ORDERS VALUES (11, 1, 'paid', '2024-01-05', 'shop')",
    "INSERT INTO ORDERS VALUES (12, 2, 'paid', NULL, NULL)",
    "INSERT INTO ORDERS VALUES (13, 3, NULL, '2024-02-01', 'web')",
    "INSERT INTO ORDERS VALUES (14, 9, 'open', '2024-02-03', 'web')",
    "INSERT INTO ORDERS VALUES (15, 4, 'paid', '2024-03-01', 'shop')",
    "INSERT INTO ORDERS VALUES (16, 4, 'paid', '2024-03-01', 'web')",
    "INSERT INTO \"Order Lines\" VALUES (10, 1, 2, 2.5)",
    "INSERT INTO \"Order Lines\" VALUES (10, 2, 1, 4.0)",
    "INSERT INTO \"Order Lines\" VALUES (11, 3, 5, 3.0)",
    "INSERT INTO \"Order Lines\" VALUES (12, 1, 1, 2.5)",
    "INSERT INTO \"Order Lines\" VALUES (12, 1, 1, 2.5)",
    "INSERT INTO \"Order Lines\" VALUES (13, 4, 3, NULL)",
    "INSERT INTO \"Order Lines\" VALUES (15, 5, 10, 1.0)",
    "INSERT INTO \"Order Lines\" VALUES (16, 2, NULL, 4.0)",
    "INSERT INTO \"Order Lines\" VALUES (14, 3, 1, 3.0)",
    "INSERT INTO \"notes\" VALUES (1, 'first')",
    "INSERT INTO \"notes\" VALUES (3, 'it''s late')",
};

// Dialect 1 knows no quoted names: plain upper-case tables.
const char* const kSchema1[] = {
    "CREATE TABLE CUSTOMERS (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(40), "
    "CITY VARCHAR(40))",
    "CREATE TABLE ORDERS (ID INTEGER NOT NULL PRIMARY KEY, CUSTOMER_ID INTEGER, "
    "STATUS VARCHAR(10))",
};
const char* const kRows1[] = {
    "INSERT INTO CUSTOMERS VALUES (1, 'Ann', 'Oslo')",
    "INSERT INTO CUSTOMERS VALUES (2, 'Bob', NULL)",
    "INSERT INTO CUSTOMERS VALUES (3, 'O''Hara', 'Cork')",
    "INSERT INTO CUSTOMERS VALUES (4, 'Dee', 'Oslo')",
    "INSERT INTO ORDERS VALUES (10, 1, 'open')",
    "INSERT INTO ORDERS VALUES (11, 1, 'paid')",
    "INSERT INTO ORDERS VALUES (12, 3, NULL)",
    "INSERT INTO ORDERS VALUES (13, 9, 'open')",
};

std::string StatusText(const ISC_STATUS* Status) {
  std::string R;
  char Buffer[512];
  const ISC_STATUS* P = Status;
  while (fb_interpret(Buffer, sizeof Buffer, &P) > 0)
    R += std::string(Buffer) + "\n";
  return R.empty() ? "unknown error" : R;
}

// One database of the embedded engine, opened with one SQL dialect.
class TFirebirdDatabase {
 public:
  TFirebirdDatabase(std::string File, unsigned short Dialect)
      : FFile(std::move(File)), FDialect(Dialect) {}
  ~TFirebirdDatabase() {
    ISC_STATUS_ARRAY Status;
    if (FDb)
      isc_detach_database(Status, &FDb);
  }

  // Creates the database and runs each statement in its own transaction;
  // the engine's message on failure.
  std::string Create(const std::vector<const char*>& Statements) {
    ISC_STATUS_ARRAY Status;
    isc_tr_handle Tr = 0;
    const std::string Create =
        "CREATE DATABASE '" + FFile + "' USER 'SYSDBA' DEFAULT CHARACTER SET UTF8";
    if (isc_dsql_execute_immediate(Status, &FDb, &Tr, 0, Create.c_str(), FDialect, nullptr))
      return StatusText(Status);
    for (const char* S : Statements) {
      Tr = 0;
      if (isc_start_transaction(Status, &Tr, 1, &FDb, 0, nullptr) ||
          isc_dsql_execute_immediate(Status, &FDb, &Tr, 0, S, FDialect, nullptr))
        return StatusText(Status) + S;
      if (isc_commit_transaction(Status, &Tr))
        return StatusText(Status) + S;
    }
    return "";
  }

  // The rows of S, each one text with a marker for NULL; the engine's
  // message instead when it rejects S. Every column is fetched as text.
  std::vector<std::string> Rows(const std::string& S, std::string& Error) {
    std::vector<std::string> R;
    ISC_STATUS_ARRAY Status;
    isc_tr_handle Tr = 0;
    isc_stmt_handle Stmt = 0;
    if (isc_start_transaction(Status, &Tr, 1, &FDb, 0, nullptr)) {
      Error = StatusText(Status);
      return R;
    }
    std::vector<char> Area(XSQLDA_LENGTH(64));
    auto* Da = reinterpret_cast<XSQLDA*>(Area.data());
    Da->version = SQLDA_VERSION1;
    Da->sqln = 64;
    constexpr short Width = 200;
    std::vector<std::vector<char>> Data;
    std::vector<short> Nulls(64);
    if (isc_dsql_allocate_statement(Status, &FDb, &Stmt) ||
        isc_dsql_prepare(Status, &Tr, &Stmt, 0, S.c_str(), FDialect, Da)) {
      Error = StatusText(Status);
    } else {
      for (int i = 0; i < Da->sqld; ++i) {
        XSQLVAR& V = Da->sqlvar[i];
        Data.emplace_back(Width + sizeof(short));
        V.sqltype = SQL_VARYING | 1;
        V.sqlsubtype = 0;
        V.sqlscale = 0;
        V.sqllen = Width;
        V.sqldata = Data.back().data();
        V.sqlind = &Nulls[i];
      }
      if (isc_dsql_execute(Status, &Tr, &Stmt, 1, nullptr)) {
        Error = StatusText(Status);
      } else {
        ISC_STATUS Fetched;
        while ((Fetched = isc_dsql_fetch(Status, &Stmt, 1, Da)) == 0) {
          std::string Line;
          for (int i = 0; i < Da->sqld; ++i) {
            if (Nulls[i]) {
              Line += "<null>|";
              continue;
            }
            short Length;
            memcpy(&Length, Data[i].data(), sizeof Length);
            Line += std::string(Data[i].data() + sizeof Length, Length) + "|";
          }
          R.push_back(Line);
        }
        if (Fetched != 100)
          Error = StatusText(Status);
      }
      isc_dsql_free_statement(Status, &Stmt, DSQL_drop);
    }
    isc_rollback_transaction(Status, &Tr);
    return R;
  }

 private:
  std::string FFile;
  unsigned short FDialect;
  isc_db_handle FDb = 0;
};

class FirebirdRoundTrip : public ::testing::Test {
 protected:
  static inline TTempDir* Dir = nullptr;
  static inline TFirebirdDatabase* Db3 = nullptr;
  static inline TFirebirdDatabase* Db1 = nullptr;
  static inline std::string SetupError;

  // The engine reads its configuration from a private root that borrows
  // the installed plug-ins and messages, and keeps its lock files in the
  // temporary folder: nothing of the system's own Firebird is touched.
  static void SetUpTestSuite() {
    Dir = new TTempDir;
    const std::string T = Dir->Path();
    if (T.empty()) {
      SetupError = "cannot make a temporary folder";
      return;
    }
    namespace fs = std::filesystem;
    const fs::path Root = T + "/root", Lib = VEXAR_FIREBIRD_ROOT;
    fs::create_directories(Root);
    fs::create_directories(T + "/lock");
    for (const char* Name : {"plugins", "intl", "UDF", "firebird.msg", "plugins.conf"})
      if (fs::exists(Lib / Name))
        fs::create_symlink(Lib / Name, Root / Name);
    WriteFile((Root / "firebird.conf").string(), "SecurityDatabase = " + T + "/security3.fdb\n");
    setenv("FIREBIRD", Root.c_str(), 1);
    setenv("FIREBIRD_LOCK", (T + "/lock").c_str(), 1);

    std::vector<const char*> All3(std::begin(kSchema3), std::end(kSchema3));
    All3.insert(All3.end(), std::begin(kRows3), std::end(kRows3));
    std::vector<const char*> All1(std::begin(kSchema1), std::end(kSchema1));
    All1.insert(All1.end(), std::begin(kRows1), std::end(kRows1));
    Db3 = new TFirebirdDatabase(T + "/shop3.fdb", 3);
    Db1 = new TFirebirdDatabase(T + "/shop1.fdb", 1);
    SetupError = Db3->Create(All3);
    if (SetupError.empty())
      SetupError = Db1->Create(All1);
  }
  static void TearDownTestSuite() {
    delete Db1;
    delete Db3;
    fb_shutdown(0, fb_shutrsn_app_stopped);
    delete Dir;
  }
  void SetUp() override {
    if (!SetupError.empty())
      FAIL() << "Firebird: " << SetupError;
  }
};

struct TCase {
  TVXIBSQLServer Server;
  const char* Statement;
  bool Ordered;         // ORDER BY fixes the order of every row
  bool NoRows = false;  // the statement returns no row
};

// Statement and written-back text must run on Db with the same rows.
void CheckCases(TFirebirdDatabase& Db, TVXSQLDialect Dialect, const std::vector<TCase>& Cases) {
  for (const TCase& C : Cases) {
    auto P = TVXSelectParser::Create<TVXIBSelectParser>();
    P->SetSQLServer(C.Server);
    P->IBScanner()->SetSQLDialect(Dialect);
    std::string Text;
    if (!WriteBack(*P, C.Statement, Text))
      continue;
    std::string WantError, GotError;
    const auto Want = Db.Rows(C.Statement, WantError);
    const auto Got = Db.Rows(Text, GotError);
    EXPECT_EQ(WantError, "") << C.Statement;
    if (!WantError.empty())
      continue;
    EXPECT_EQ(GotError, "") << "the engine rejects the text written from\n"
                            << C.Statement << "\n"
                            << Text;
    EXPECT_EQ(Want.empty(), C.NoRows) << C.Statement;
    ExpectSameRows(Want, Got, C.Ordered, C.Statement, Text);
  }
}

const auto IB = qssInterBase;
const auto FB = qssFireBird;

TEST_F(FirebirdRoundTrip, Dialect3StatementsReturnTheSameRows) {
  CheckCases(
      *Db3, qibDialect3,
      {
          {FB, "SELECT FIRST 2 ID, NAME FROM CUSTOMERS ORDER BY ID", true},
          {FB, "SELECT FIRST 2 SKIP 1 ID, NAME FROM CUSTOMERS ORDER BY NAME DESC, ID", true},
          {FB, "SELECT SKIP 4 ID FROM CUSTOMERS ORDER BY ID DESC", true},
          {FB, "SELECT FIRST 3 DISTINCT CITY FROM CUSTOMERS WHERE CITY IS NOT NULL ORDER BY CITY",
           true},
          {FB, "SELECT FIRST 0 ID FROM CUSTOMERS", false, true},
          {FB, "SELECT FIRST 2 SKIP 0 ID FROM CUSTOMERS ORDER BY ID", true},
          // Small letters outside quotes are the server's upper-case names.
          {FB, "select c.name, o.id from customers c join orders o on o.customer_id = c.id", false},
          {FB,
           "SELECT O.ID, O.\"DATE\", O.\"TYPE\" FROM ORDERS O WHERE O.\"TYPE\" = 'web' AND "
           "O.\"DATE\" >= '2024-02-01' ORDER BY O.\"DATE\" DESC, O.ID",
           true},
          {FB,
           "SELECT \"id\", \"Note\" FROM \"notes\" WHERE \"Note\" <> 'it''s late' OR \"id\" = 3",
           false},
          {FB,
           "SELECT C.NAME, N.\"Note\" FROM CUSTOMERS C LEFT JOIN \"notes\" N ON N.\"id\" = C.ID",
           false},
          {FB,
           "SELECT L.\"OrderId\", P.TITLE, L.QTY FROM \"Order Lines\" L JOIN PRODUCTS P ON "
           "P.ID = L.\"ProductId\" WHERE P.TITLE LIKE '%''%' OR P.CATEGORY IS NULL",
           false},
          {FB,
           "SELECT C.NAME, P.TITLE FROM \"Order Lines\" L INNER JOIN ORDERS O ON O.ID = "
           "L.\"OrderId\" INNER JOIN CUSTOMERS C ON C.ID = O.CUSTOMER_ID INNER JOIN PRODUCTS P ON "
           "P.ID = L.\"ProductId\" AND P.PRICE = L.PRICE",
           false},
          {FB, "SELECT C.ID, O.ID FROM CUSTOMERS C RIGHT JOIN ORDERS O ON O.CUSTOMER_ID = C.ID",
           false},
          {FB,
           "SELECT C.ID, O.ID FROM CUSTOMERS C FULL OUTER JOIN ORDERS O ON O.CUSTOMER_ID = C.ID",
           false},
          {FB,
           "SELECT O.CUSTOMER_ID, COUNT(*), SUM(L.QTY) FROM ORDERS O JOIN \"Order Lines\" L ON "
           "L.\"OrderId\" = O.ID WHERE O.STATUS IN ('paid', 'open') OR O.STATUS IS NULL GROUP BY "
           "O.CUSTOMER_ID HAVING NOT COUNT(*) = 1 OR SUM(L.QTY) > 4 ORDER BY 1",
           true},
          {FB,
           "SELECT NAME || ' from ' || CITY, UPPER(NAME) FROM CUSTOMERS WHERE NOT ID BETWEEN 2 "
           "AND 4",
           false},
          // Selectable procedures with their parameters.
          {FB, "SELECT * FROM ORDERS_OF(1, 0)", false},
          {FB, "SELECT P.ORDER_ID, P.TOTAL FROM ORDERS_OF(4, 1) P WHERE P.TOTAL > 1", false},
          {FB, "SELECT FIRST 1 ORDER_ID FROM ORDERS_OF(1, 2) ORDER BY ORDER_ID DESC", true},
          // The ROWS clause written for InterBase servers is Firebird's too.
          {IB, "SELECT ID FROM CUSTOMERS ORDER BY ID ROWS 2", true},
          {IB, "SELECT ID FROM CUSTOMERS ROWS 0", false, true},
          {IB, "SELECT ID, NAME FROM CUSTOMERS ORDER BY NAME, ID ROWS 2 TO 4", true},
          {IB, "SELECT CITY, COUNT(*) FROM CUSTOMERS GROUP BY CITY ORDER BY 2 DESC, 1 ROWS 1 TO 1",
           true},
      });
}

TEST_F(FirebirdRoundTrip, Dialect1NamesAreUpperCased) {
  CheckCases(
      *Db1, qibDialect1,
      {
          {FB, "select c.name, o.id from customers c left join orders o on o.customer_id = c.id",
           false},
          {FB, "select first 2 skip 1 name from customers order by id", true},
          // Double quotes enclose strings in dialect 1.
          {FB, "SELECT id, \"x\" FROM customers WHERE city = \"Oslo\" OR name = 'O''Hara'", false},
          {IB, "select Id from Customers order by Id rows 2 to 3", true},
      });
}

}  // namespace
}  // namespace Vexar
