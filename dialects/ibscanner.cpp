#include "dialects/ibscanner.h"

#include <algorithm>

#include "platform/strutils.h"

namespace Vexar {

// The server folds unquoted names to upper case; reading them the same way
// keeps «select name from customer» naming CUSTOMER.NAME when it is written
// back, where dialect 3 would otherwise quote the small letters and name a
// different object. Quoted names and every other kind of token are kept.
void TVXIBScanner::TokenRead() {
  if (FTokenKind == tkIdent && !FTokenQuoted) {
    std::string& Text = TokenText();
    Text = UpperCase(Text);
  }
}

// Only capitals are letters: a word with small letters is an identifier only
// through its upper-case form (ProcessIdent).
bool TVXIBScanner::IsAlpha(char C) const {
  return C >= 'A' && C <= 'Z';
}

const TVXSQLScanner::TCharClasses* TVXIBScanner::SharedCharClasses() const {
  if (typeid(*this) != typeid(TVXIBScanner))
    return nullptr;
  if (FSQLDialect == qibDialect1) {
    static const TCharClasses Dialect1 = AskCharClasses();
    return &Dialect1;
  }
  static const TCharClasses Dialect3 = AskCharClasses();
  return &Dialect3;
}

bool TVXIBScanner::IsQuote(char C) const {
  if (FSQLDialect == qibDialect1)
    return C == '"' || C == '\'';
  return C == '\'';
}

bool TVXIBScanner::IsLegalSymbol(char C) const {
  return TVXSQLScanner::IsLegalSymbol(C) || C == '$';
}

bool TVXIBScanner::IsIdentQuote(char C) const {
  return FSQLDialect == qibDialect3 && C == '"';
}

char TVXIBScanner::GetIdentQuote() const {
  return '"';
}

bool TVXIBScanner::GetProcessAliases() const {
  return true;
}

bool TVXIBScanner::GetQuoteIdentifiers() const {
  return FSQLDialect == qibDialect3;
}

// A name stays bare only when it is already quoted, or when it is an
// identifier of this dialect (capitals, digits, '-', '_', '$') that is no
// keyword and no function name.
bool TVXIBScanner::NeedQuotes(std::string_view S) const {
  if (IsKeyword(S) || IsFunction(S))
    return true;
  return TVXSQLScanner::NeedQuotes(S) && !IsIdentifier(S);
}

// Word lists in sorted order (case ignored): loading one puts every word at
// the end of the list.
std::string TVXIBScanner::GetCommaKeywords() const {
  return "ACTION,ACTIVE,ADD,ADMIN,AFTER,ALL,ALTER,AND,ANY,AS,ASC,ASCENDING,AT,AUTO,AUTODDL,AVG,"
         "BASED,BASENAME,BASE_NAME,BEFORE,BEGIN,BETWEEN,BLOB,BLOBEDIT,BREAK,BUFFER,BY,CACHE,"
         "CASCADE,CAST,CHAR,CHARACTER,CHARACTER_LENGTH,CHAR_LENGTH,CHECK,CHECK_POINT_LEN,"
         "CHECK_POINT_LENGTH,CLOSE,COLLATE,COLLATION,COLUMN,COMMIT,COMMITTED,COMPILETIME,COMPUTED,"
         "CONDITIONAL,CONNECT,CONSTRAINT,CONTAINING,CONTINUE,COUNT,CREATE,CSTRING,CURRENT,"
         "CURRENT_DATE,CURRENT_ROLE,CURRENT_TIME,CURRENT_TIMESTAMP,CURRENT_USER,CURSOR,DATABASE,"
         "DATE,DAY,DB_KEY,DEBUG,DEC,DECIMAL,DECLARE,DEFAULT,DELETE,DESC,DESCENDING,DESCRIBE,"
         "DESCRIPTOR,DISCONNECT,DISPLAY,DISTINCT,DO,DOMAIN,DOUBLE,DROP,ECHO,EDIT,ELSE,END,"
         "ENTRY_POINT,ESCAPE,EVENT,EXCEPTION,EXECUTE,EXISTS,EXIT,EXTERN,EXTERNAL,EXTRACT,FETCH,"
         "FILE,FILTER,FIRST,FLOAT,FOR,FOREIGN,FOUND,FREE_IT,FROM,FULL,FUNCTION,GDSCODE,GENERATOR,"
         "GEN_ID,GLOBAL,GOTO,GRANT,GROUP,GROUP_COMMIT_WAIT,GROUP_COMMIT_WAIT_TIME,HAVING,HELP,"
         "HOUR,IF,IMMEDIATE,IN,INACTIVE,INDEX,INDICATOR,INIT,INNER,INPUT,INPUT_TYPE,INSERT,INT,"
         "INTEGER,INTO,IS,ISOLATION,ISQL,JOIN,KEY,LC_MESSAGES,LC_TYPE,LEFT,LENGTH,LEV,LEVEL,LIKE,"
         "LOGFILE,LOG_BUFFER_SIZE,LOG_BUF_SIZE,LONG,MANUAL,MAX,MAXIMUM,MAXIMUM_SEGMENT,"
         "MAX_SEGMENT,MERGE,MESSAGE,MIN,MINIMUM,MINUTE,MODULE_NAME,MONTH,NAMES,NATIONAL,NATURAL,"
         "NCHAR,NO,NOAUTO,NOT,NULL,NUMERIC,NUM_LOG_BUFFERS,NUM_LOG_BUFS,OCTET_LENGTH,OF,ON,ONLY,"
         "OPEN,OPTIONOR,OR,ORDER,OUTER,OUTPUT,OUTPUT_TYPE,OVERFLOW,PAGE,PAGELENGTH,PAGES,"
         "PAGE_SIZE,PARAMETER,PASSWORD,PERCENT,PLAN,POSITION,POST_EVENT,PRECISION,PREPARE,PRIMARY,"
         "PRIVILEGES,PROCEDURE,PROTECTED,PUBLIC,QUIT,RAW_PARTITIONS,RDB$DB_KEY,READ,REAL,"
         "RECORD_VERSION,RECREATE,REFERENCES,RELEASE,RESERV,RESERVING,RESTRICT,RETAIN,RETURN,"
         "RETURNING_VALUES,RETURNS,REVOKE,RIGHT,ROLE,ROLLBACK,ROWS,RUNTIME,SCHEMA,SECOND,SEGMENT,"
         "SELECT,SET,SHADOW,SHARED,SHELL,SHOW,SINGULAR,SIZE,SKIP,SMALLINT,SNAPSHOT,SOME,SORT,"
         "SQLCODE,SQLERROR,SQLWARNING,STABILITY,STARTING,STARTS,STATEMENT,STATIC,STATISTICS,"
         "SUBSTRING,SUB_TYPE,SUM,SUSPEND,TABLE,TERMINATOR,THEN,TIES,TIME,TIMESTAMP,TO,TRANSACTION,"
         "TRANSLATE,TRANSLATION,TRIGGER,TRIM,TYPE,UNCOMMITTED,UNION,UNIQUE,UPDATE,UPPER,USER,"
         "USING,VALUE,VALUES,VARCHAR,VARIABLE,VARYING,VERSION,VIEW,WAIT,WEEKDAY,WHEN,WHENEVER,"
         "WHERE,WHILE,WITH,WORK,WRITE,YEAR,YEARDAY";
}

std::string TVXIBScanner::GetCommaFunctions() const {
  return "AVG,CAST,COUNT,GEN_ID,MAX,MIN,SUM,UPPER";
}

// The double vertical bar concatenates strings.
std::string TVXIBScanner::GetCommaOperations() const {
  return "*,+,-,/,||";
}

std::string TVXIBScanner::ProcessIdent(std::string_view S) const {
  return UpperCase(S);
}

// Dialect 1 has no quoted names: a name is written in upper case with its
// blanks turned into underscores. A part that the parser kept in its quoted
// form (text read between double quotes that is no plain word) is written
// as it stands: it reads back as the same quoted text, where changing its
// letters or blanks would turn it into another, bare name. Dialect 3 quotes
// each part of a dotted name that needs it, while the QuoteIdentifiers switch
// is on.
std::string TVXIBScanner::ProcessName(std::string_view S) const {
  if (FSQLDialect == qibDialect1) {
    std::string R;
    R.reserve(S.size());
    size_t I = 0;
    while (I < S.size()) {
      if (S[I] == '"') {
        // A quoted part: up to its closing quote (doubled quotes inside).
        size_t J = I + 1;
        while (J < S.size() && !(S[J] == '"' && (J + 1 == S.size() || S[J + 1] != '"')))
          J += S[J] == '"' ? 2 : 1;
        J = std::min(J + 1, S.size());
        R.append(S.substr(I, J - I));
        I = J;
        continue;
      }
      const char C = S[I++];
      R += C == ' ' ? '_' : (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C;
    }
    return R;
  }
  if (!QuoteIdentifiers())
    return std::string(S);
  return TVXSQLScanner::ProcessName(S);
}

}  // namespace Vexar
