// Reading a statement and writing it back keeps its meaning: on a small
// SQLite database, the statement as written and the statement the model
// writes return the same rows, and writing, reading and writing again gives
// the same text.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "parser/parsererror.h"
#include "parser/selectparser.h"

namespace Vexar {
namespace {

const char kSchema[] = R"sql(
CREATE TABLE customers (id INTEGER PRIMARY KEY, name TEXT NOT NULL, city TEXT);
CREATE TABLE products (id INTEGER PRIMARY KEY, title TEXT NOT NULL, category TEXT, price REAL);
CREATE TABLE orders (id INTEGER PRIMARY KEY, customer_id INTEGER, status TEXT,
                     "order date" TEXT);
CREATE TABLE order_lines (order_id INTEGER, product_id INTEGER, qty INTEGER, price REAL);

INSERT INTO customers VALUES
  (1, 'Ann', 'Oslo'), (2, 'Bob', NULL), (3, 'O''Hara', 'Cork'), (4, 'Dee', 'Oslo'),
  (5, 'Ann', 'Bergen'), (6, '"Quoted"', 'Cork');
INSERT INTO products VALUES
  (1, 'Tea', 'drink', 2.5), (2, 'Scone''s jam', 'food', 4.0), (3, 'Coffee', 'drink', 3.0),
  (4, 'Mystery', NULL, NULL), (5, '50% off', 'food', 1.0);
INSERT INTO orders VALUES
  (10, 1, 'open', '2024-01-02'), (11, 1, 'paid', '2024-01-05'), (12, 2, 'paid', NULL),
  (13, 3, NULL, '2024-02-01'), (14, 9, 'open', '2024-02-03'), (15, 4, 'paid', '2024-03-01'),
  (16, 4, 'paid', '2024-03-01');
INSERT INTO order_lines VALUES
  (10, 1, 2, 2.5), (10, 2, 1, 4.0), (11, 3, 5, 3.0), (12, 1, 1, 2.5), (12, 1, 1, 2.5),
  (13, 4, 3, NULL), (15, 5, 10, 1.0), (16, 2, NULL, 4.0), (14, 3, 1, 3.0);
CREATE TABLE "Product Tags" ("Tag" TEXT, "product id" INTEGER);
INSERT INTO "Product Tags" VALUES ('hot', 1), ('hot', 3), ('sweet', 2), ('it''s "new"', 5),
  ('hot', 1);
)sql";

class SQLiteRoundTrip : public ::testing::Test {
 protected:
  sqlite3* Db = nullptr;

  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &Db), SQLITE_OK);
    char* Error = nullptr;
    ASSERT_EQ(sqlite3_exec(Db, kSchema, nullptr, nullptr, &Error), SQLITE_OK) << Error;
  }
  void TearDown() override { sqlite3_close(Db); }

  // The rows of S, each as one text with a marker for NULL; the statement
  // must run.
  std::vector<std::string> Rows(const std::string& S) {
    std::vector<std::string> R;
    sqlite3_stmt* Stmt = nullptr;
    const int Prepared = sqlite3_prepare_v2(Db, S.c_str(), -1, &Stmt, nullptr);
    EXPECT_EQ(Prepared, SQLITE_OK) << sqlite3_errmsg(Db) << "\n" << S;
    if (Prepared != SQLITE_OK)
      return R;
    while (sqlite3_step(Stmt) == SQLITE_ROW) {
      std::string Row;
      for (int i = 0; i < sqlite3_column_count(Stmt); ++i) {
        const unsigned char* V = sqlite3_column_text(Stmt, i);
        Row += (V ? reinterpret_cast<const char*>(V) : "<null>") + std::string("|");
      }
      R.push_back(Row);
    }
    sqlite3_finalize(Stmt);
    return R;
  }
};

std::string Regenerate(const std::string& S) {
  auto P = TVXSelectParser::Create<TVXSelectParser>();
  P->SetExpression(S);
  return P->GetExpression();
}

TEST_F(SQLiteRoundTrip, RegeneratedStatementsReturnTheSameRows) {
  struct TCase {
    const char* Statement;
    bool Ordered;  // ORDER BY fixes the order of every row
  } Cases[] = {
      {"SELECT id, name FROM customers WHERE city = 'Oslo' OR city = 'Cork' AND id > 3", false},
      {"SELECT id FROM customers WHERE NOT city = 'Oslo' OR name = 'Bob'", false},
      {"SELECT id FROM customers WHERE NOT (city = 'Oslo' OR name LIKE 'A%') AND id < 6", false},
      {"SELECT id FROM customers WHERE (id = 1 OR id = 2) AND (city IS NULL OR city <> 'Oslo')",
       false},
      {"SELECT id FROM orders WHERE customer_id IN (1, 3, 9) AND status NOT IN ('open')", false},
      {"SELECT id FROM orders WHERE status IS NULL OR id BETWEEN 11 AND 12", false},
      {"SELECT id FROM orders WHERE id NOT BETWEEN 11 AND 15 AND status IS NOT NULL", false},
      {"SELECT id, title FROM products WHERE title LIKE '%''%' OR title NOT LIKE '%e%'", false},
      {"SELECT id, price * 2 + 1, -price FROM products WHERE price < -1 OR price > -+2", false},
      {"SELECT c.name, o.id FROM customers c LEFT JOIN orders o ON c.id = o.customer_id", false},
      {"SELECT c.name, o.id FROM orders o LEFT OUTER JOIN customers c ON c.id = o.customer_id",
       false},
      {"SELECT c.id, o.id FROM customers c RIGHT JOIN orders o ON o.customer_id = c.id", false},
      {"SELECT c.id, o.id FROM customers c FULL OUTER JOIN orders o ON o.customer_id = c.id",
       false},
      // A star schema: order lines joined to orders and to products.
      {"SELECT l.qty, p.title, o.status FROM order_lines l INNER JOIN orders o ON "
       "l.order_id = o.id JOIN products p ON p.id = l.product_id WHERE p.category = 'drink'",
       false},
      {"SELECT l.qty, p.title FROM order_lines l JOIN products p ON (p.id = l.product_id AND "
       "p.price = l.price)",
       false},
      {"SELECT a.id, b.id FROM orders a JOIN orders b ON a.customer_id = b.customer_id AND "
       "a.id < b.id",
       false},
      {"SELECT o.customer_id, COUNT(*), SUM(l.qty) FROM orders o JOIN order_lines l ON "
       "l.order_id = o.id GROUP BY o.customer_id",
       false},
      {"SELECT o.customer_id, COUNT(*) AS n FROM orders o GROUP BY o.customer_id "
       "HAVING COUNT(*) > 1 OR o.customer_id = 2",
       false},
      {"SELECT COUNT(*) FROM orders o GROUP BY o.customer_id", false},
      {"SELECT city FROM customers GROUP BY city", false},
      {"SELECT DISTINCT name FROM customers", false},
      {"SELECT name, id FROM customers ORDER BY name DESC, id", true},
      {"SELECT id, city FROM customers ORDER BY 2, 1 DESC", true},
      {"SELECT o.id, o.\"order date\" AS \"when\" FROM orders o WHERE o.\"order date\" >= "
       "'2024-02-01' ORDER BY o.\"order date\" ASC, o.id DESC",
       true},
      {"SELECT id, name n FROM customers WHERE name = '\"Quoted\"' OR name = 'O''Hara'", false},
      {"SELECT UPPER(LOWER(name)), LENGTH(city) FROM customers WHERE ABS(-id) > 2", false},
      {"SELECT o.id, c.name FROM orders o, customers c WHERE o.customer_id = c.id", false},
      // Unqualified columns over several tables stay unqualified.
      {"SELECT name, status, UPPER(title) FROM customers c JOIN orders o ON o.customer_id = c.id "
       "JOIN order_lines l ON l.order_id = o.id JOIN products p ON p.id = l.product_id", false},
      {"SELECT c.*, o.id FROM customers c JOIN orders o ON o.customer_id = c.id", false},
      // Star schemas: the lines in the middle, orders, customers and products around.
      {"SELECT c.name, p.title, l.qty FROM order_lines l JOIN orders o ON o.id = l.order_id "
       "JOIN customers c ON c.id = o.customer_id JOIN products p ON p.id = l.product_id",
       false},
      {"SELECT o.id, c.name, p.title FROM orders o LEFT JOIN customers c ON c.id = "
       "o.customer_id INNER JOIN order_lines l ON l.order_id = o.id LEFT OUTER JOIN products p "
       "ON p.id = l.product_id AND p.price = l.price",
       false},
      {"SELECT c.name, o.id, l.qty FROM customers c LEFT JOIN orders o ON o.customer_id = c.id "
       "LEFT JOIN order_lines l ON l.order_id = o.id",
       false},
      {"SELECT p.title, o.id FROM orders o RIGHT JOIN order_lines l ON l.order_id = o.id "
       "RIGHT OUTER JOIN products p ON p.id = l.product_id",
       false},
      {"SELECT p.title, t.\"Tag\" FROM products p JOIN \"Product Tags\" t ON t.\"product id\" = p.id "
       "WHERE t.\"Tag\" <> 'hot' OR p.title = 'Tea'",
       false},
      {"SELECT \"Tag\", COUNT(*) FROM \"Product Tags\" GROUP BY \"Tag\"", false},
      {"SELECT id FROM products WHERE title IN ('Tea', 'Scone''s jam', '50% off') OR category "
       "NOT IN ('food', 'drink')",
       false},
      {"SELECT id FROM orders WHERE customer_id NOT IN (1, 2) AND NOT (status = 'paid' OR "
       "status IS NULL)",
       false},
      {"SELECT id, 'say \"hi\", it''s', name FROM customers WHERE name <> 'it''s' AND NOT name "
       "LIKE '%\"%'",
       false},
      {"SELECT o.customer_id, SUM(l.qty) AS total, MIN(l.price), MAX(l.price), AVG(l.price) "
       "FROM orders o JOIN order_lines l ON l.order_id = o.id GROUP BY o.customer_id HAVING "
       "NOT COUNT(*) = 1 AND (SUM(l.qty) > 2 OR MIN(l.price) IS NULL)",
       false},
      {"SELECT customer_id, status, COUNT(*) FROM orders GROUP BY customer_id, status ORDER BY "
       "3 DESC, 1, 2 DESC",
       true},
      {"SELECT DISTINCT city, name FROM customers WHERE city IS NOT NULL", false},
      {"SELECT DISTINCT c.city FROM customers c JOIN orders o ON o.customer_id = c.id", false},
      {"SELECT DISTINCT l.product_id, l.price FROM order_lines l", false},
      {"SELECT c.city, c.id FROM customers c ORDER BY c.city DESC, c.id ASC", true},
      {"SELECT o.id, c.name FROM orders o INNER JOIN customers c ON c.id = o.customer_id "
       "ORDER BY c.name, o.id DESC",
       true},
  };
  for (const TCase& C : Cases) {
    std::string Text;
    try {
      Text = Regenerate(C.Statement);
    } catch (const EVXParserError& E) {
      ADD_FAILURE() << E.Message() << "\n" << C.Statement;
      continue;
    }
    ASSERT_FALSE(Text.empty()) << C.Statement;
    std::vector<std::string> Want = Rows(C.Statement), Got = Rows(Text);
    EXPECT_FALSE(Want.empty()) << "the statement should return rows: " << C.Statement;
    if (!C.Ordered) {
      std::sort(Want.begin(), Want.end());
      std::sort(Got.begin(), Got.end());
    }
    EXPECT_EQ(Got, Want) << C.Statement << "\nwritten back as:\n" << Text;
    EXPECT_EQ(Regenerate(Text), Text) << C.Statement;
  }
}

}  // namespace
}  // namespace Vexar
