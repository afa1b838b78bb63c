// Runs a command and writes its exit status and peak resident size in KiB to a file.
// Usage: pemconv_peak_memory RESULT_FILE COMMAND [ARGUMENT ...]
// Linux counts the resident size of the process a command replaces into the command's peak, so a
// large test process that started pem2txt directly would be measured too. This small process
// forks the command from itself, so that only the command's own memory counts.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: pemconv_peak_memory RESULT_FILE COMMAND [ARGUMENT ...]\n", stderr);
    return 2;
  }
  const pid_t child = fork();
  if (child < 0) return 1;
  if (child == 0) {
    execv(argv[2], argv + 2);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return 1;
  FILE* result = std::fopen(argv[1], "w");
  if (result == nullptr) return 1;
  std::fprintf(result, "%d %ld\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss);
  return std::fclose(result) == 0 ? 0 : 1;
}
