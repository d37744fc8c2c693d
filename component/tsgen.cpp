// Writes the translation source file of the message catalogue: one message
// per entry in the context "VXResource", its default text as the source text
// and the entry's name as a note for the translator, untranslated. Usage: vexar-tsgen FILE
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "parser/resource.h"

namespace {

std::string XmlEscape(const char* Text) {
  std::string R;
  for (const char* P = Text; *P; ++P) {
    switch (*P) {
      case '&':
        R += "&amp;";
        break;
      case '<':
        R += "&lt;";
        break;
      case '>':
        R += "&gt;";
        break;
      case '"':
        R += "&quot;";
        break;
      case '\'':
        R += "&apos;";
        break;
      default:
        R += *P;
    }
  }
  return R;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace Vexar;
  if (argc != 2) {
    std::cerr << "usage: vexar-tsgen FILE\n";
    return 2;
  }
  std::ofstream Out(argv[1], std::ios::binary);
  Out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      << "<!DOCTYPE TS>\n"
      << "<TS version=\"2.1\" sourcelanguage=\"en\">\n"
      << "<context>\n"
      << "    <name>VXResource</name>\n";
  for (int i = 0; i < rsResStringCount; ++i) {
    const auto Id = static_cast<TVXResString>(i);
    Out << "    <message>\n"
        << "        <source>" << XmlEscape(DefaultResString(Id)) << "</source>\n"
        << "        <extracomment>" << ResStringName(Id) << "</extracomment>\n"
        << "        <translation type=\"unfinished\"></translation>\n"
        << "    </message>\n";
  }
  Out << "</context>\n</TS>\n";
  Out.close();
  if (!Out) {
    std::cerr << "vexar-tsgen: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
