// A slow share, for the Icinga test's time-out: preloaded into a Wine
// process, it holds every open and stat of a path that holds
// $QUARNEL_SLOW_SHARE for some seconds, as a file server that is slow to
// answer holds a search. Every other path is passed on at once. Wine makes
// these calls where its threads cannot be ended, so the process that gave
// up on the search ends only when the share has answered, as a process on
// Windows ends only when its pending I/O is done.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static const unsigned kAnswerSeconds = 5;

// The share answers the first call late and every later one at once: a
// process whose thread was held ends when its first answer comes.
static void HoldOnTheSlowShare(const char* path) {
  static int answered;
  const char* share = getenv("QUARNEL_SLOW_SHARE");
  if (share && *share && path && strstr(path, share) && !__atomic_exchange_n(&answered, 1, __ATOMIC_SEQ_CST)) {
    sleep(kAnswerSeconds);
  }
}

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = (mode_t)va_arg(arguments, int);
  va_end(arguments);
  HoldOnTheSlowShare(path);
  return REAL(open)(path, flags, mode);
}

int openat(int directory, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = (mode_t)va_arg(arguments, int);
  va_end(arguments);
  HoldOnTheSlowShare(path);
  return REAL(openat)(directory, path, flags, mode);
}

int stat(const char* path, struct stat* status) {
  HoldOnTheSlowShare(path);
  return REAL(stat)(path, status);
}

int lstat(const char* path, struct stat* status) {
  HoldOnTheSlowShare(path);
  return REAL(lstat)(path, status);
}
