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

std::string TVXMySQLScanner::GetCommaKeywords() const {
  return "ACTION,ADD,AGGREGATE,ALL,ALTER,AFTER,AND,AS,ASC,AVG_ROW_LENGTH,AUTO_INCREMENT,BETWEEN,"
         "BIGINT,BIT,BINARY,BLOB,BOOL,BOTH,BY,CASCADE,CASE,CHAR,CHARACTER,CHANGE,CHECK,CHECKSUM,"
         "COLUMN,COLUMNS,COMMENT,CONSTRAINT,CREATE,CROSS,CURRENT_DATE,CURRENT_TIME,"
         "CURRENT_TIMESTAMP,DATA,DATABASE,DATABASES,DATE,DATETIME,DAY,DAY_HOUR,DAY_MINUTE,"
         "DAY_SECOND,DAYOFMONTH,DAYOFWEEK,DAYOFYEAR,DEC,DECIMAL,DEFAULT,DELAYED,DELAY_KEY_WRITE,"
         "DELETE,DESC,DESCRIBE,DISTINCT,DISTINCTROW,DOUBLE,DROP,END,ELSE,ESCAPE,ESCAPED,"
         "ENCLOSED,ENUM,EXPLAIN,EXISTS,FIELDS,FILE,FIRST,FLOAT,FLOAT4,FLOAT8,FLUSH,FOREIGN,FROM,"
         "FOR,FULL,FUNCTION,GLOBAL,GRANT,GRANTS,GROUP,HAVING,HEAP,HIGH_PRIORITY,HOUR,"
         "HOUR_MINUTE,HOUR_SECOND,HOSTS,IDENTIFIED,IGNORE,IN,INDEX,INFILE,INNER,INSERT,"
         "INSERT_ID,INT,INTEGER,INTERVAL,INT1,INT2,INT3,INT4,INT8,INTO,IF,IS,ISAM,JOIN,KEY,KEYS,"
         "KILL,LAST_INSERT_ID,LEADING,LEFT,LENGTH,LIKE,LINES,LIMIT,LOAD,LOCAL,LOCK,LOGS,LONG,"
         "LONGBLOB,LONGTEXT,LOW_PRIORITY,MAX,MAX_ROWS,MATCH,MEDIUMBLOB,MEDIUMTEXT,MEDIUMINT,"
         "MIDDLEINT,MIN_ROWS,MINUTE,MINUTE_SECOND,MODIFY,MONTH,MONTHNAME,MYISAM,NATURAL,NUMERIC,"
         "NO,NOT,NULL,ON,OPTIMIZE,OPTION,OPTIONALLY,OR,ORDER,OUTER,OUTFILE,PACK_KEYS,PARTIAL,"
         "PRECISION,PRIMARY,PROCEDURE,PROCESS,PROCESSLIST,PRIVILEGES,READ,REAL,REFERENCES,"
         "RELOAD,REGEXP,RENAME,REPLACE,RESTRICT,RETURNS,REVOKE,RIGHT,RLIKE,ROW,ROWS,SECOND,"
         "SELECT,SET,SHOW,SHUTDOWN,SMALLINT,SONAME,SQL_BIG_TABLES,SQL_BIG_SELECTS,"
         "SQL_LOW_PRIORITY_UPDATES,SQL_LOG_OFF,SQL_LOG_UPDATE,SQL_SELECT_LIMIT,SQL_SMALL_RESULT,"
         "SQL_BIG_RESULT,SQL_BUFFER_RESULT,SQL_WARNINGS,STRAIGHT_JOIN,STARTING,STATUS,STRING,"
         "TABLE,TABLES,TEMPORARY,TERMINATED,TEXT,THEN,TIME,TIMESTAMP,TINYBLOB,TINYTEXT,TINYINT,"
         "TRAILING,TO,TYPE,USE,USING,UNIQUE,UNLOCK,UNSIGNED,UPDATE,USAGE,VALUES,VARCHAR,"
         "VARIABLES,VARYING,VARBINARY,WITH,WRITE,WHEN,WHERE,YEAR,YEAR_MONTH,ZEROFILL";
}

std::string TVXMySQLScanner::GetCommaFunctions() const {
  return "BIT_COUNT,IFNULL,NULLIF,IF,DAYOFWEEK,WEEKDAY,DAYOFMONTH,DAYOFYEAR,MONTH,DAYNAME,"
         "MONTHNAME,QUARTER,WEEK,YEAR,YEARWEEK,HOUR,MINUTE,SECOND,PERIOD_ADD,PERIOD_DIFF,"
         "DATE_ADD,DATE_SUB,ADDDATE,SUBDATE,TO_DAYS,FROM_DAYS,DATE_FORMAT,TIME_FORMAT,CURDATE,"
         "CURRENT_DATE,CURTIME,CURRENT_TIME,NOW,SYSDATE,CURRENT_TIMESTAMP,UNIX_TIMESTAMP,"
         "FROM_UNIXTIME,SEC_TO_TIME,TIME_TO_SEC,COUNT,AVG,MIN,MAX,SUM,STD,STDDEV,BIT_OR,BIT_AND,"
         "ABS,SIGN,MOD,FLOOR,CEILING,ROUND,EXP,LOG,LOG10,POW,POWER,SQRT,PI,COS,SIN,TAN,ACOS,"
         "ASIN,ATAN,ATAN2,COT,RAND,LEAST,GREATEST,DEGREES,RADIANS,TRUNCATE,DATABASE,USER,"
         "SYSTEM_USER,SESSION_USER,PASSWORD,ENCRYPT,ENCODE,DECODE,MD5,LAST_INSERT_ID,FORMAT,"
         "VERSION,CONNECTION_ID,GET_LOCK,RELEASE_LOCK,BENCHMARK,INET_NTOA,INET_ATON,"
         "MASTER_POS_WAIT,ASCII,ORD,CONV,BIN,OCT,HEX,CHAR,CONCAT,CONCAT_WS,LENGTH,OCTET_LENGTH,"
         "CHAR_LENGTH,CHARACTER_LENGTH,LOCATE,POSITION,INSTR,LPAD,RPAD,LEFT,RIGHT,SUBSTRING,MID,"
         "SUBSTRING_INDEX,LTRIM,RTRIM,TRIM,SOUNDEX,SPACE,REPLACE,REPEAT,REVERSE,ELT,FIELD,"
         "FIND_IN_SET,MAKE_SET,EXPORT_SET,LCASE,LOWER,UCASE,UPPER,LOAD_FILE,COALESCE";
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
