// Small helpers shared by the server tests: a private temporary folder,
// running and starting programs, and comparing the rows two statements
// return.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "parser/selectparser.h"

extern char** environ;

namespace Vexar::ServerKit {

// A new empty folder under the system's temporary folder; removed with
// everything in it when the object goes.
class TTempDir {
 public:
  TTempDir() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "vexar-XXXXXX").string();
    if (mkdtemp(Pattern.data()))
      FPath = Pattern;
  }
  ~TTempDir() {
    std::error_code E;
    if (!FPath.empty())
      std::filesystem::remove_all(FPath, E);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

inline std::string ReadFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

inline void WriteFile(const std::string& Name, const std::string& Text) {
  std::ofstream(Name, std::ios::binary) << Text;
}

// Starts Argv[0] with its standard output and error going to LogFile;
// the process id, or -1 when it could not be started.
inline pid_t Spawn(const std::vector<std::string>& Argv, const std::string& LogFile) {
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 1, LogFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                   0600);
  posix_spawn_file_actions_adddup2(&Actions, 1, 2);
  std::vector<char*> Args;
  for (const std::string& A : Argv)
    Args.push_back(const_cast<char*>(A.c_str()));
  Args.push_back(nullptr);
  pid_t Pid = -1;
  if (posix_spawn(&Pid, Args[0], &Actions, nullptr, Args.data(), environ) != 0)
    Pid = -1;
  posix_spawn_file_actions_destroy(&Actions);
  return Pid;
}

// Runs Argv to its end; its exit code (-1 when it could not run or was
// killed). Its output goes to LogFile.
inline int Run(const std::vector<std::string>& Argv, const std::string& LogFile) {
  const pid_t Pid = Spawn(Argv, LogFile);
  if (Pid < 0)
    return -1;
  int Status = 0;
  if (waitpid(Pid, &Status, 0) != Pid || !WIFEXITED(Status))
    return -1;
  return WEXITSTATUS(Status);
}

// Reads Statement with P and writes it back into Text; the text must read
// back to itself. False (with the failure recorded) when a reading fails.
inline bool WriteBack(TVXSelectParser& P, const std::string& Statement, std::string& Text) {
  try {
    P.SetExpression(Statement);
    Text = P.GetExpression();
    P.SetExpression(Text);
    EXPECT_EQ(P.GetExpression(), Text) << Statement;
    return true;
  } catch (const EVXParserError& E) {
    ADD_FAILURE() << E.Message() << "\n" << Statement << "\n" << Text;
    return false;
  }
}

// Checks that Got holds the rows of Want: the same multiset, and, when the
// statement's ORDER BY fixes the order, the same sequence.
inline void ExpectSameRows(std::vector<std::string> Want, std::vector<std::string> Got,
                           bool Ordered, const std::string& Statement, const std::string& Text) {
  if (!Ordered) {
    std::sort(Want.begin(), Want.end());
    std::sort(Got.begin(), Got.end());
  }
  EXPECT_EQ(Got, Want) << Statement << "\nwritten back as:\n" << Text;
}

}  // namespace Vexar::ServerKit
