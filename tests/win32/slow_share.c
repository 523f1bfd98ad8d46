// A share that never answers, for the Icinga test's time-out: preloaded
// into a Wine process, it holds every open and stat of a path that holds
// $QUARNEL_SLOW_SHARE for ten minutes, as a file server that has gone away
// holds a search. Every other path is passed on at once.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static void HoldOnTheSlowShare(const char* path) {
  const char* share = getenv("QUARNEL_SLOW_SHARE");
  if (share && *share && path && strstr(path, share)) sleep(600);
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
