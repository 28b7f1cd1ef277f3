// qelvar-replay: the modeller on the headless platform, driven by a script.
//
//   qelvar-replay [--home DIR] SCRIPT [ARG ...]
//
// SCRIPT "-" is read from standard input; the ARGs, joined by single blanks,
// are the modeller's command line; DIR stands for the program's directory.
// Exit status 2 for usage errors and script lines that cannot be parsed.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "app/startup.h"
#include "platform/command_line.h"
#include "platform/headless_platform.h"
#include "platform/replay_script.h"

namespace {

constexpr const char* kUsage = "usage: qelvar-replay [--home DIR] SCRIPT [ARG ...]\n";

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "qelvar-replay: %s\n%s", message.c_str(), kUsage);
  std::exit(2);
}

std::string ReadScript(const std::string& name) {
  std::stringstream text;
  if (name == "-") {
    text << std::cin.rdbuf();
  } else {
    std::ifstream in(name, std::ios::binary);
    if (!in) Fail("cannot read script " + name);
    text << in.rdbuf();
  }
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::string startDirectory = fs::current_path(ec).string();
  std::string home = startDirectory;
  int i = 1;
  if (i < argc && std::string(argv[i]) == "--home") {
    if (i + 1 >= argc) Fail("--home needs a directory");
    if (!fs::is_directory(argv[i + 1], ec)) Fail(std::string("not a directory: ") + argv[i + 1]);
    fs::path dir = fs::absolute(argv[i + 1], ec).lexically_normal();
    home = (dir.has_filename() ? dir : dir.parent_path()).string();
    i += 2;
  }
  if (i >= argc) Fail("no script given");
  const std::string scriptName = argv[i++];
  if (scriptName.size() > 1 && scriptName[0] == '-') Fail("unknown option " + scriptName);
  const std::string commandLine = qelvar::JoinArguments(argc, argv, i);

  qelvar::ParsedScript script = qelvar::ParseScript(ReadScript(scriptName));
  if (script.error) {
    std::fprintf(stderr, "qelvar-replay: %s: line %d: %s\n", scriptName.c_str(), script.error->line,
                 script.error->message.c_str());
    return 2;
  }
  qelvar::HeadlessPlatform platform(std::move(script.commands), home, commandLine, startDirectory);
  qelvar::RunStartup(platform);
}
