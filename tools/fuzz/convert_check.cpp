#include "fuzz/convert_check.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <thread>

#include "ifc/model.h"

namespace fuzz {

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Starts the converter with standard output discarded and standard error into `errors`.
pid_t start(const fs::path& converter, const fs::path& input, const fs::path& output,
            const fs::path& errors) {
  const pid_t pid = fork();
  if (pid < 0) throw std::system_error(errno, std::generic_category(), "fork");
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (null < 0 || err < 0) _exit(127);
    dup2(null, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    const std::string program = converter.string(), in = input.string(), out = output.string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(in.c_str()),
                    const_cast<char*>(out.c_str()), nullptr};
    execv(argv[0], argv);
    _exit(127);
  }
  return pid;
}

// The exit status, or -signal, or no value after the limit (the process is then killed).
std::optional<int> waitFor(pid_t pid, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    if (done < 0) throw std::system_error(errno, std::generic_category(), "waitpid");
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

Verdict convertAndCheck(const fs::path& converter, const fs::path& input, const fs::path& output,
                        std::chrono::milliseconds limit) {
  const fs::path errors = fs::path(output).concat(".stderr");
  std::error_code ignored;
  fs::remove(output, ignored);
  const std::optional<int> status = waitFor(start(converter, input, output, errors), limit);
  const std::string stderrText = readAll(errors);
  fs::remove(errors, ignored);
  // The floor list the program writes beside its output, whatever the outcome: not judged.
  fs::remove(fs::path(output).concat(".json"), ignored);

  Verdict v;
  if (!status) {
    v.why = "no result within " + std::to_string(limit.count()) + " ms: a hang";
    return v;
  }
  if (*status < 0) {
    v.why = "ended by signal " + std::to_string(-*status) + ": " + stderrText;
    return v;
  }
  if (stderrText.find("Sanitizer") != std::string::npos ||
      stderrText.find("runtime error") != std::string::npos) {
    v.why = "sanitizer report: " + stderrText;
    return v;
  }
  if (*status == 1) {
    const auto lines = std::count(stderrText.begin(), stderrText.end(), '\n');
    if (lines != 1 || stderrText.size() < 2 || stderrText.back() != '\n') {
      v.why = "status 1 without exactly one line on standard error: '" + stderrText + "'";
    } else if (fs::exists(output)) {
      v.why = "status 1 but an IFC file was left at the output";
    } else {
      v.passed = true;
      v.why = stderrText.substr(0, stderrText.size() - 1);
    }
    return v;
  }
  if (*status != 0) {
    v.why = "status " + std::to_string(*status) + ": " + stderrText;
    return v;
  }
  if (!stderrText.empty()) {
    v.why = "converted, but wrote to standard error: " + stderrText;
    return v;
  }
  try {
    const auto model = ifc::Model::readFile(output);
    const std::vector<std::string> problems = model->validate();
    if (!problems.empty()) {
      v.why = "the written file fails validate(): " + problems.front() + " (" +
              std::to_string(problems.size()) + " problems)";
      return v;
    }
  } catch (const std::exception& e) {
    v.why = std::string("the written file does not read back: ") + e.what();
    return v;
  }
  v.passed = v.converted = true;
  return v;
}

}  // namespace fuzz
