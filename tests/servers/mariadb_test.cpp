// The MySQL dialect on a real server: a private MariaDB server, started in
// a temporary folder on a local socket, runs each statement and the text the
// MySQL parser writes back from it; both must be accepted and return the
// same rows, and writing the text read back gives that text again.
#include <mysql.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dialects/myparser.h"
#include "parser/parsererror.h"
#include "serverkit.h"

namespace Vexar {
namespace {

using namespace ServerKit;

const char kSchema[] = R"sql(
CREATE TABLE customers (id INT PRIMARY KEY, name VARCHAR(40) NOT NULL, city VARCHAR(40));
CREATE TABLE products (id INT PRIMARY KEY, title VARCHAR(40) NOT NULL, category VARCHAR(20),
                       price DECIMAL(6,2));
CREATE TABLE orders (id INT PRIMARY KEY, customer_id INT, status VARCHAR(10),
                     `order date` DATE);
CREATE TABLE order_lines (order_id INT, product_id INT, qty INT, price DECIMAL(6,2));
CREATE TABLE `Product Tags` (`Tag` VARCHAR(20), `product id` INT);
INSERT INTO customers VALUES
  (1, 'Ann', 'Oslo'), (2, 'Bob', NULL), (3, 'O''Hara', 'Cork'), (4, 'Dee', 'Oslo'),
  (5, 'Ann', 'Bergen'), (6, '"Quoted"', 'Cork');
INSERT INTO products VALUES
  (1, 'Tea', 'drink', 2.5), (2, 'Scone''s jam', 'food', 4.0), (3, 'Coffee', 'drink', 3.0),
  (4, 'Mystery', NULL, NULL), (5, '50% off', 'food', 1.0), (6, 'C:\\dir', 'path', 0.5);
INSERT INTO orders VALUES
  (10, 1, 'open', '2024-01-02'), (11, 1, 'paid', '2024-01-05'), (12, 2, 'paid', NULL),
  (13, 3, NULL, '2024-02-01'), (14, 9, 'open', '2024-02-03'), (15, 4, 'paid', '2024-03-01'),
  (16, 4, 'paid', '2024-03-01');
INSERT INTO order_lines VALUES
  (10, 1, 2, 2.5), (10, 2, 1, 4.0), (11, 3, 5, 3.0), (12, 1, 1, 2.5), (12, 1, 1, 2.5),
  (13, 4, 3, NULL), (15, 5, 10, 1.0), (16, 2, NULL, 4.0), (14, 3, 1, 3.0), (14, 7, 1, 9.0);
INSERT INTO `Product Tags` VALUES ('hot', 1), ('hot', 3), ('sweet', 2), ('it''s "new"', 5),
  ('hot', 1);
)sql";

// One private server for the whole suite. Start() leaves the reason in
// Error() when the server cannot be set up: the server's own log included.
class TMariaDBServer {
 public:
  bool Start() {
    if (FDir.Path().empty())
      return Failed("cannot make a temporary folder");
    const std::string& T = FDir.Path();
    FSocket = T + "/mysqld.sock";
    FConfig = T + "/my.cnf";
    // Both programs must see the same InnoDB file options.
    std::string Cnf = "[mariadbd]\ndatadir=" + T + "/data\nsocket=" + FSocket + "\npid-file=" + T +
                      "/mysqld.pid\nlog-error=" + T +
                      "/mysqld.err\nskip-networking\ninnodb-log-file-size=8M\n"
                      "innodb-buffer-pool-size=32M\n";
    if (geteuid() == 0)
      Cnf += "user=root\n";
    WriteFile(FConfig, Cnf);
    const std::string InstallLog = T + "/install.log";
    if (Run({VEXAR_MARIADB_INSTALL_DB, "--defaults-file=" + FConfig,
             "--auth-root-authentication-method=normal", "--skip-test-db"},
            InstallLog) != 0)
      return Failed("mariadb-install-db failed:\n" + ReadFile(InstallLog) +
                    ReadFile(T + "/mysqld.err"));
    FPid = Spawn({VEXAR_MARIADBD, "--defaults-file=" + FConfig}, T + "/mariadbd.out");
    if (FPid < 0)
      return Failed("cannot start " VEXAR_MARIADBD);
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
      if (Connect())
        return true;
      int Status = 0;
      if (waitpid(FPid, &Status, WNOHANG) == FPid) {
        FPid = -1;
        return Failed("the server stopped while starting:\n" + ReadFile(T + "/mysqld.err"));
      }
      if (std::chrono::steady_clock::now() > Deadline)
        return Failed("the server did not answer within 60 s:\n" + ReadFile(T + "/mysqld.err"));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  ~TMariaDBServer() {
    if (FDb)
      mysql_close(FDb);
    if (FPid > 0) {
      kill(FPid, SIGTERM);
      waitpid(FPid, nullptr, 0);
    }
  }

  const std::string& Error() const { return FError; }
  MYSQL* Db() const { return FDb; }

  // Runs a script of statements separated by «;»; the server's message on
  // failure.
  std::string Execute(const std::string& Script) {
    if (mysql_real_query(FDb, Script.c_str(), Script.size()) != 0)
      return mysql_error(FDb);
    do {
      if (MYSQL_RES* R = mysql_store_result(FDb))
        mysql_free_result(R);
    } while (mysql_next_result(FDb) == 0);
    return mysql_errno(FDb) ? mysql_error(FDb) : "";
  }

 private:
  bool Failed(const std::string& Why) {
    FError = Why;
    return false;
  }
  bool Connect() {
    MYSQL* Db = mysql_init(nullptr);
    if (mysql_real_connect(Db, nullptr, "root", "", nullptr, 0, FSocket.c_str(),
                           CLIENT_MULTI_STATEMENTS)) {
      FDb = Db;
      return true;
    }
    mysql_close(Db);
    return false;
  }

  TTempDir FDir;
  std::string FSocket, FConfig, FError;
  pid_t FPid = -1;
  MYSQL* FDb = nullptr;
};

class MariaDBRoundTrip : public ::testing::Test {
 protected:
  static inline TMariaDBServer* Server = nullptr;
  static inline std::string SetupError;

  static void SetUpTestSuite() {
    Server = new TMariaDBServer;
    if (!Server->Start())
      SetupError = Server->Error();
    else
      SetupError = Server->Execute("CREATE DATABASE shop; USE shop;" + std::string(kSchema));
  }
  static void TearDownTestSuite() {
    delete Server;
    Server = nullptr;
  }
  void SetUp() override {
    if (!SetupError.empty())
      FAIL() << "MariaDB: " << SetupError;
  }

  // The rows of S, each one text with a marker for NULL; the server's
  // message instead when it rejects S.
  static std::vector<std::string> Rows(const std::string& S, std::string& Error) {
    std::vector<std::string> R;
    MYSQL* Db = Server->Db();
    if (mysql_real_query(Db, S.c_str(), S.size()) != 0) {
      Error = mysql_error(Db);
      return R;
    }
    MYSQL_RES* Result = mysql_store_result(Db);
    if (!Result) {
      Error = mysql_error(Db);
      return R;
    }
    const unsigned Columns = mysql_num_fields(Result);
    while (MYSQL_ROW Row = mysql_fetch_row(Result)) {
      std::string Line;
      for (unsigned i = 0; i < Columns; ++i)
        Line += (Row[i] ? Row[i] : "<null>") + std::string("|");
      R.push_back(Line);
    }
    mysql_free_result(Result);
    return R;
  }
};

struct TCase {
  const char* Statement;
  bool Ordered;         // ORDER BY fixes the order of every row
  bool Quote = true;    // the scanner's QuoteIdentifiers
  bool NoRows = false;  // the statement returns no row
};

TEST_F(MariaDBRoundTrip, RegeneratedStatementsReturnTheSameRows) {
  const TCase Cases[] = {
      {"SELECT `c`.`name`, o.id FROM customers c JOIN orders o ON o.customer_id = c.id", false},
      {"SELECT c.name, o.id FROM customers c JOIN orders o ON o.customer_id = c.id", false, false},
      {"SELECT c.name, o.id FROM customers c LEFT JOIN orders o ON o.customer_id = c.id", false},
      {"SELECT c.id, o.id FROM customers c RIGHT JOIN orders o ON o.customer_id = c.id", false},
      {"SELECT p.title, l.qty FROM order_lines l RIGHT OUTER JOIN products p ON p.id = "
       "l.product_id LEFT JOIN orders o ON o.id = l.order_id AND o.customer_id = l.qty",
       false},
      {"SELECT c.name, p.title, l.qty FROM order_lines l JOIN orders o ON o.id = l.order_id "
       "JOIN customers c ON c.id = o.customer_id JOIN products p ON p.id = l.product_id "
       "WHERE p.category = 'drink' OR NOT c.city = 'Oslo'",
       false},
      {"SELECT STRAIGHT_JOIN c.name, o.id FROM customers c JOIN orders o ON o.customer_id = "
       "c.id",
       false},
      {"SELECT SQL_SMALL_RESULT SQL_BUFFER_RESULT HIGH_PRIORITY DISTINCT city FROM customers",
       false},
      {"SELECT DISTINCT HIGH_PRIORITY name FROM customers", false},
      {"SELECT SQL_BIG_RESULT customer_id, COUNT(*) FROM orders GROUP BY customer_id", false},
      {"SELECT DISTINCTROW name FROM customers", false},
      {"SELECT STRAIGHT_JOIN DISTINCTROW c.city FROM customers c JOIN orders o ON "
       "o.customer_id = c.id",
       false},
      {"SELECT ALL name FROM customers", false},
      {"SELECT id, name FROM customers ORDER BY id LIMIT 2", true},
      {"SELECT id, name FROM customers ORDER BY name DESC, id LIMIT 1, 3", true},
      {"SELECT id FROM customers ORDER BY id DESC LIMIT 2 OFFSET 1", true},
      {"SELECT id FROM customers ORDER BY id LIMIT 3, 0", true, true, true},
      {"SELECT id FROM customers ORDER BY id LIMIT 0", true, true, true},
      {"SELECT id, title FROM products WHERE title = 'Scone\\'s jam' OR title = 'C:\\\\dir' "
       "OR title = \"50% off\"",
       false},
      {"SELECT id, 'it\\'s', \"say \\\"hi\\\"\", 'back\\\\slash' FROM customers WHERE name = "
       "\"O'Hara\" OR name LIKE '\\\"%'",
       false},
      {"SELECT o.id, o.`order date` AS `when` FROM orders o WHERE o.`order date` >= "
       "'2024-02-01' ORDER BY o.`order date` ASC, o.id DESC",
       true},
      {"SELECT p.title, t.`Tag` FROM products p JOIN `Product Tags` t ON t.`product id` = p.id "
       "WHERE t.`Tag` <> 'hot' OR p.title = 'Tea'",
       false},
      {"SELECT p.title, t.`Tag` FROM products p JOIN `Product Tags` t ON t.`product id` = p.id",
       false, false},
      // STATUS is a word of the dialect: a column of that name is backquoted.
      {"SELECT id FROM orders WHERE customer_id IN (1, 3, 9) AND `status` NOT IN ('open') OR id "
       "BETWEEN 15 AND 16",
       false},
      {"SELECT id FROM orders WHERE NOT (`status` = 'paid' OR `status` IS NULL) AND customer_id "
       "NOT BETWEEN 2 AND 3",
       false},
      {"SELECT o.customer_id, SUM(l.qty) AS total, MIN(l.price), MAX(l.price) FROM orders o "
       "JOIN order_lines l ON l.order_id = o.id GROUP BY o.customer_id HAVING NOT COUNT(*) = 1 "
       "AND (SUM(l.qty) > 2 OR MIN(l.price) IS NULL) ORDER BY 2 DESC",
       true},
      {"SELECT HIGH_PRIORITY customer_id, `status`, COUNT(*) FROM orders GROUP BY "
       "customer_id, `status` ORDER BY 3 DESC, 1, 2 DESC LIMIT 4",
       true},
  };
  for (const TCase& C : Cases) {
    auto P = TVXSelectParser::Create<TVXMySelectParser>();
    P->Scanner()->SetQuoteIdentifiers(C.Quote);
    std::string Text;
    if (!WriteBack(*P, C.Statement, Text))
      continue;
    std::string WantError, GotError;
    const auto Want = Rows(C.Statement, WantError);
    const auto Got = Rows(Text, GotError);
    ASSERT_EQ(WantError, "") << C.Statement;
    EXPECT_EQ(GotError, "") << "the server rejects the text written from\n"
                            << C.Statement << "\n"
                            << Text;
    EXPECT_EQ(Want.empty(), C.NoRows) << C.Statement;
    ExpectSameRows(Want, Got, C.Ordered, C.Statement, Text);
  }
}

}  // namespace
}  // namespace Vexar
