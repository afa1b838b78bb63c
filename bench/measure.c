/* Runs a command and prints, on one line, its wall-clock time and its processor time (user plus
 * system) in seconds, its peak resident set in KiB and its exit status. The command's standard
 * output goes to standard error, so that the line stays alone on standard output.
 * Usage: measure COMMAND [ARG...] */
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (double)ts.tv_sec + (double)ts.tv_nsec / 1e9;
}

static double Seconds(struct timeval tv) {
  return (double)tv.tv_sec + (double)tv.tv_usec / 1e6;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: measure COMMAND [ARG...]\n");
    return 2;
  }
  const double start = Now();
  const pid_t child = fork();
  if (child < 0) {
    perror("fork");
    return 1;
  }
  if (child == 0) {
    dup2(STDERR_FILENO, STDOUT_FILENO);
    execvp(argv[1], argv + 1);
    perror(argv[1]);
    _exit(127);
  }
  int status = 0;
  struct rusage usage;
  if (wait4(child, &status, 0, &usage) != child) {
    perror("wait4");
    return 1;
  }
  const double elapsed = Now() - start;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  printf("%.6f %.6f %ld %d\n", elapsed, cpu, usage.ru_maxrss, code);
  return 0;
}
