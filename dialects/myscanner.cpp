#include "dialects/myscanner.h"

namespace Vexar {

namespace {

constexpr char Backquote = '`';
constexpr char Backslash = '\\';

}  // namespace

const TVXSQLScanner::TCharClasses* TVXMySQLScanner::SharedCharClasses() const {
  if (typeid(*this) != typeid(TVXMySQLScanner))
    return nullptr;
  static const TCharClasses Table = AskCharClasses();
  return &Table;
}

// Single and double quotes both enclose strings.
bool TVXMySQLScanner::IsQuote(char C) const {
  return C == '"' || C == '\'';
}

bool TVXMySQLScanner::IsIdentQuote(char C) const {
  return C == Backquote;
}

// Inside a string the quote C closes it when it stands on its own: it is not
// escaped by a backslash, it does not complete a doubled quote, and it does
// not start one (Next differs). Token is the string's text as written so far.
//
// The text is a run of units: a backslash with the character it escapes, a
// doubled quote, or a plain character. A maximal run of backslashes always
// starts on a unit boundary (the character before it is no backslash and
// cannot open a unit that a backslash completes), so only the runs at the
// end of Token matter: Q quotes, and before them B backslashes. An odd B
// escapes the first of the quotes (or, with Q = 0, C itself); the remaining
// quotes pair up. So «'C:\\'» is closed by its last quote, «'it\'s'» is not
// closed by its second one. The count is bounded by those two runs, so a
// whole string costs time linear in its length.
//
// Backquoted names know no escapes: a doubled backquote is the only rule.
bool TVXMySQLScanner::IsTerminator(char C, std::string_view Token, char Quote, char Next) const {
  if (Quote == Backquote)
    return TVXSQLScanner::IsTerminator(C, Token, Quote, Next);
  if (C != Quote || Next == Quote)
    return false;
  size_t I = Token.size();
  size_t Quotes = 0;
  while (I > 0 && Token[I - 1] == Quote) {
    --I;
    ++Quotes;
  }
  size_t Backslashes = 0;
  while (I > 0 && Token[I - 1] == Backslash) {
    --I;
    ++Backslashes;
  }
  if (Backslashes % 2 == 1) {
    if (Quotes == 0)
      return false;  // C itself is escaped
    --Quotes;        // the first quote is escaped
  }
  return Quotes % 2 == 0;
}

char TVXMySQLScanner::GetIdentQuote() const {
  return Backquote;
}

// Output-field aliases are quoted exactly when names are.
bool TVXMySQLScanner::GetProcessAliases() const {
  return GetQuoteIdentifiers();
}

// Word lists in sorted order (case ignored): loading one puts every word at
// the end of the list.
std::string TVXMySQLScanner::GetCommaKeywords() const {
  return "ACTION,ADD,AFTER,AGGREGATE,ALL,ALTER,AND,AS,ASC,AUTO_INCREMENT,AVG_ROW_LENGTH,BETWEEN,"
         "BIGINT,BINARY,BIT,BLOB,BOOL,BOTH,BY,CASCADE,CASE,CHANGE,CHAR,CHARACTER,CHECK,CHECKSUM,"
         "COLUMN,COLUMNS,COMMENT,CONSTRAINT,CREATE,CROSS,CURRENT_DATE,CURRENT_TIME,"
         "CURRENT_TIMESTAMP,DATA,DATABASE,DATABASES,DATE,DATETIME,DAY,DAYOFMONTH,DAYOFWEEK,"
         "DAYOFYEAR,DAY_HOUR,DAY_MINUTE,DAY_SECOND,DEC,DECIMAL,DEFAULT,DELAYED,DELAY_KEY_WRITE,"
         "DELETE,DESC,DESCRIBE,DISTINCT,DISTINCTROW,DOUBLE,DROP,ELSE,ENCLOSED,END,ENUM,ESCAPE,"
         "ESCAPED,EXISTS,EXPLAIN,FIELDS,FILE,FIRST,FLOAT,FLOAT4,FLOAT8,FLUSH,FOR,FOREIGN,FROM,"
         "FULL,FUNCTION,GLOBAL,GRANT,GRANTS,GROUP,HAVING,HEAP,HIGH_PRIORITY,HOSTS,HOUR,"
         "HOUR_MINUTE,HOUR_SECOND,IDENTIFIED,IF,IGNORE,IN,INDEX,INFILE,INNER,INSERT,INSERT_ID,INT,"
         "INT1,INT2,INT3,INT4,INT8,INTEGER,INTERVAL,INTO,IS,ISAM,JOIN,KEY,KEYS,KILL,"
         "LAST_INSERT_ID,LEADING,LEFT,LENGTH,LIKE,LIMIT,LINES,LOAD,LOCAL,LOCK,LOGS,LONG,LONGBLOB,"
         "LONGTEXT,LOW_PRIORITY,MATCH,MAX,MAX_ROWS,MEDIUMBLOB,MEDIUMINT,MEDIUMTEXT,MIDDLEINT,"
         "MINUTE,MINUTE_SECOND,MIN_ROWS,MODIFY,MONTH,MONTHNAME,MYISAM,NATURAL,NO,NOT,NULL,NUMERIC,"
         "ON,OPTIMIZE,OPTION,OPTIONALLY,OR,ORDER,OUTER,OUTFILE,PACK_KEYS,PARTIAL,PRECISION,"
         "PRIMARY,PRIVILEGES,PROCEDURE,PROCESS,PROCESSLIST,READ,REAL,REFERENCES,REGEXP,RELOAD,"
         "RENAME,REPLACE,RESTRICT,RETURNS,REVOKE,RIGHT,RLIKE,ROW,ROWS,SECOND,SELECT,SET,SHOW,"
         "SHUTDOWN,SMALLINT,SONAME,SQL_BIG_RESULT,SQL_BIG_SELECTS,SQL_BIG_TABLES,"
         "SQL_BUFFER_RESULT,SQL_LOG_OFF,SQL_LOG_UPDATE,SQL_LOW_PRIORITY_UPDATES,SQL_SELECT_LIMIT,"
         "SQL_SMALL_RESULT,SQL_WARNINGS,STARTING,STATUS,STRAIGHT_JOIN,STRING,TABLE,TABLES,"
         "TEMPORARY,TERMINATED,TEXT,THEN,TIME,TIMESTAMP,TINYBLOB,TINYINT,TINYTEXT,TO,TRAILING,"
         "TYPE,UNIQUE,UNLOCK,UNSIGNED,UPDATE,USAGE,USE,USING,VALUES,VARBINARY,VARCHAR,VARIABLES,"
         "VARYING,WHEN,WHERE,WITH,WRITE,YEAR,YEAR_MONTH,ZEROFILL";
}

std::string TVXMySQLScanner::GetCommaFunctions() const {
  return "ABS,ACOS,ADDDATE,ASCII,ASIN,ATAN,ATAN2,AVG,BENCHMARK,BIN,BIT_AND,BIT_COUNT,BIT_OR,"
         "CEILING,CHAR,CHARACTER_LENGTH,CHAR_LENGTH,COALESCE,CONCAT,CONCAT_WS,CONNECTION_ID,CONV,"
         "COS,COT,COUNT,CURDATE,CURRENT_DATE,CURRENT_TIME,CURRENT_TIMESTAMP,CURTIME,DATABASE,"
         "DATE_ADD,DATE_FORMAT,DATE_SUB,DAYNAME,DAYOFMONTH,DAYOFWEEK,DAYOFYEAR,DECODE,DEGREES,ELT,"
         "ENCODE,ENCRYPT,EXP,EXPORT_SET,FIELD,FIND_IN_SET,FLOOR,FORMAT,FROM_DAYS,FROM_UNIXTIME,"
         "GET_LOCK,GREATEST,HEX,HOUR,IF,IFNULL,INET_ATON,INET_NTOA,INSTR,LAST_INSERT_ID,LCASE,"
         "LEAST,LEFT,LENGTH,LOAD_FILE,LOCATE,LOG,LOG10,LOWER,LPAD,LTRIM,MAKE_SET,MASTER_POS_WAIT,"
         "MAX,MD5,MID,MIN,MINUTE,MOD,MONTH,MONTHNAME,NOW,NULLIF,OCT,OCTET_LENGTH,ORD,PASSWORD,"
         "PERIOD_ADD,PERIOD_DIFF,PI,POSITION,POW,POWER,QUARTER,RADIANS,RAND,RELEASE_LOCK,REPEAT,"
         "REPLACE,REVERSE,RIGHT,ROUND,RPAD,RTRIM,SECOND,SEC_TO_TIME,SESSION_USER,SIGN,SIN,SOUNDEX,"
         "SPACE,SQRT,STD,STDDEV,SUBDATE,SUBSTRING,SUBSTRING_INDEX,SUM,SYSDATE,SYSTEM_USER,TAN,"
         "TIME_FORMAT,TIME_TO_SEC,TO_DAYS,TRIM,TRUNCATE,UCASE,UNIX_TIMESTAMP,UPPER,USER,VERSION,"
         "WEEK,WEEKDAY,YEAR,YEARWEEK";
}

// The value of quoted text. In a backquoted name a doubled backquote is one
// backquote. In a string a doubled quote is one quote, and a backslash escapes
// the next character the way MySQL reads it: \0 \b \n \r \t \Z stand for
// NUL, backspace, line feed, carriage return, tab and Ctrl-Z; \% and \_ keep
// their backslash (they are LIKE-pattern escapes); any other character stands
// for itself.
std::string TVXMySQLScanner::UnquoteText(std::string_view Raw, char Quote) const {
  if (Quote == Backquote)
    return TVXSQLScanner::UnquoteText(Raw, Quote);
  std::string R;
  R.reserve(Raw.size());
  for (size_t I = 0; I < Raw.size(); ++I) {
    const char C = Raw[I];
    if (C == Quote && I + 1 < Raw.size() && Raw[I + 1] == Quote) {
      R += Quote;
      ++I;
    } else if (C == Backslash && I + 1 < Raw.size()) {
      const char E = Raw[++I];
      switch (E) {
        case '0':
          R += '\0';
          break;
        case 'b':
          R += '\b';
          break;
        case 'n':
          R += '\n';
          break;
        case 'r':
          R += '\r';
          break;
        case 't':
          R += '\t';
          break;
        case 'Z':
          R += '\x1A';
          break;
        case '%':
        case '_':
          R += Backslash;
          R += E;
          break;
        default:
          R += E;
          break;
      }
    } else {
      R += C;
    }
  }
  return R;
}

// A string literal in single quotes that MySQL reads as Value: the quote and
// the backslash are escaped with a backslash, and so are the characters that
// would otherwise break the statement's text (NUL, line feed, carriage
// return, Ctrl-Z). \% and \_ in Value are written as \\% and \\_, which MySQL
// reads back as the same two characters.
std::string TVXMySQLScanner::QuoteString(std::string_view Value) const {
  std::string R;
  R.reserve(Value.size() + 2);
  R += '\'';
  for (char C : Value) {
    switch (C) {
      case '\0':
        R += "\\0";
        break;
      case '\n':
        R += "\\n";
        break;
      case '\r':
        R += "\\r";
        break;
      case '\x1A':
        R += "\\Z";
        break;
      case '\'':
        R += "\\'";
        break;
      case Backslash:
        R += "\\\\";
        break;
      default:
        R += C;
        break;
    }
  }
  R += '\'';
  return R;
}

// A name in backquotes, each backquote inside doubled.
std::string TVXMySQLScanner::QuoteIdent(std::string_view Name) const {
  std::string R;
  R.reserve(Name.size() + 2);
  R += Backquote;
  for (char C : Name) {
    if (C == Backquote)
      R += Backquote;
    R += C;
  }
  R += Backquote;
  return R;
}

}  // namespace Vexar
