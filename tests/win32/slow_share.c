// A slow share, for the Icinga test's time-out: preloaded into a Wine
// process, it holds every open and stat of a path that holds
// $QUARNEL_SLOW_SHARE for some seconds, as a file server that is slow to
// answer holds a search. Every other path is passed on at once. Wine makes
// these calls where its threads cannot be ended, so the process that gave
// up on the search ends only when the share has answered, as a process on
// Windows ends only when its pending I/O is done. A 64-bit Wine makes the
// plain calls; a 32-bit one the large-file calls (open64, stat64), built with
// 64-bit times as __stat64_time64 and __lstat64_time64, whose status it
// passes through unread. All of them are held.
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

// The open calls take a mode only when they create a file.
#define HELD_OPEN(name)                                   \
  int name(const char* path, int flags, ...) {            \
    va_list arguments;                                    \
    va_start(arguments, flags);                           \
    const mode_t mode = (mode_t)va_arg(arguments, int);   \
    va_end(arguments);                                    \
    HoldOnTheSlowShare(path);                             \
    return REAL(name)(path, flags, mode);                 \
  }
#define HELD_OPENAT(name)                                          \
  int name(int directory, const char* path, int flags, ...) {      \
    va_list arguments;                                             \
    va_start(arguments, flags);                                    \
    const mode_t mode = (mode_t)va_arg(arguments, int);            \
    va_end(arguments);                                             \
    HoldOnTheSlowShare(path);                                      \
    return REAL(name)(directory, path, flags, mode);               \
  }
#define HELD_STAT(name, status_type)                    \
  int name(const char* path, status_type* status) {     \
    HoldOnTheSlowShare(path);                           \
    return REAL(name)(path, status);                    \
  }

HELD_OPEN(open)
HELD_OPEN(open64)
HELD_OPENAT(openat)
HELD_OPENAT(openat64)
HELD_STAT(stat, struct stat)
HELD_STAT(stat64, struct stat64)
HELD_STAT(lstat, struct stat)
HELD_STAT(lstat64, struct stat64)
HELD_STAT(__stat64_time64, void)
HELD_STAT(__lstat64_time64, void)
