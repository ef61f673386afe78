/* Starts a program on the X display and reports how long it took until its first
 * top-level window was mapped (MapNotify on the root window, which sees every top-level
 * window without a window manager in between), then its resident memory once idle.
 * With --enter it then presses Return in that window and measures the next window too.
 *
 * Usage: map_watch [--idle SECONDS] [--enter] -- PROGRAM [ARGS...]
 * Prints: first_window_ms N (wall clock), first_window_cpu_ms N (the program's own CPU
 * time by then, which a busy machine disturbs far less), rss_kb N (and second_window_ms,
 * rss2_kb with --enter). */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

/* Waits for the next top-level MapNotify; returns the window or 0 after timeout_ms. */
static Window WaitForMap(Display* d, Window root, double timeout_ms) {
  const double end = Now() + timeout_ms;
  for (;;) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == MapNotify && e.xmap.event == root && !e.xmap.override_redirect)
        return e.xmap.window;
    }
    const double left = end - Now();
    if (left <= 0) return 0;
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(ConnectionNumber(d), &fds);
    struct timeval tv = {(time_t)(left / 1000), (suseconds_t)((long)left % 1000 * 1000)};
    select(ConnectionNumber(d) + 1, &fds, NULL, NULL, &tv);
  }
}

static void Sleep(double seconds) {
  struct timespec t = {(time_t)seconds, (long)((seconds - (time_t)seconds) * 1e9)};
  nanosleep(&t, NULL);
}

static long ResidentKb(pid_t pid) {
  char path[64], line[256];
  snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
  FILE* f = fopen(path, "r");
  long kb = -1;
  if (!f) return -1;
  while (fgets(line, sizeof line, f))
    if (sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
  fclose(f);
  return kb;
}

/* CPU time the process has used so far, all its threads, in ms (from schedstat, in ns). */
static double CpuMs(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
  DIR* dir = opendir(path);
  if (!dir) return -1;
  double ns = 0;
  struct dirent* e;
  while ((e = readdir(dir)) != NULL) {
    if (e->d_name[0] == '.') continue;
    char stat[320];
    snprintf(stat, sizeof stat, "/proc/%d/task/%s/schedstat", (int)pid, e->d_name);
    FILE* f = fopen(stat, "r");
    unsigned long long run = 0;
    if (f && fscanf(f, "%llu", &run) == 1) ns += (double)run;
    if (f) fclose(f);
  }
  closedir(dir);
  return ns / 1e6;
}

static void PressReturn(Display* d, Window w) {
  XSetInputFocus(d, w, RevertToParent, CurrentTime);
  XSync(d, False);
  for (int type = KeyPress; type <= KeyRelease; ++type) {
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xkey.type = type;
    e.xkey.display = d;
    e.xkey.window = w;
    e.xkey.root = DefaultRootWindow(d);
    e.xkey.subwindow = None;
    e.xkey.time = CurrentTime;
    e.xkey.same_screen = True;
    e.xkey.keycode = XKeysymToKeycode(d, XK_Return);
    XSendEvent(d, w, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &e);
  }
  XFlush(d);
}

int main(int argc, char** argv) {
  double idle = 2.0;
  int enter = 0, i = 1;
  for (; i < argc && strcmp(argv[i], "--") != 0; ++i) {
    if (strcmp(argv[i], "--idle") == 0 && i + 1 < argc) idle = atof(argv[++i]);
    if (strcmp(argv[i], "--enter") == 0) enter = 1;
  }
  if (i + 1 >= argc) {
    fprintf(stderr, "usage: map_watch [--idle SECONDS] [--enter] -- PROGRAM [ARGS...]\n");
    return 2;
  }
  /* A server that has just dropped the previous client may refuse for a moment. */
  Display* d = NULL;
  for (int tries = 0; tries < 20 && !(d = XOpenDisplay(NULL)); ++tries) Sleep(0.1);
  if (!d) {
    fprintf(stderr, "map_watch: no X display\n");
    return 2;
  }
  const Window root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureNotifyMask);
  XSync(d, False);

  const double start = Now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[i + 1], argv + i + 1);
    _exit(127);
  }
  int status = 1;
  const Window first = WaitForMap(d, root, 30000);
  if (first) {
    const double mapped = Now() - start;
    printf("first_window_ms %.1f\n", mapped);
    printf("first_window_cpu_ms %.1f\n", CpuMs(pid));
    Sleep(idle);
    printf("rss_kb %ld\n", ResidentKb(pid));
    status = 0;
    if (enter) {
      const double pressed = Now();
      PressReturn(d, first);
      if (WaitForMap(d, root, 10000)) {
        printf("second_window_ms %.1f\n", Now() - pressed);
        Sleep(idle);
        printf("rss2_kb %ld\n", ResidentKb(pid));
      } else {
        fprintf(stderr, "map_watch: no second window\n");
        status = 1;
      }
    }
  } else {
    fprintf(stderr, "map_watch: no window within 30 s\n");
  }
  fflush(stdout);
  kill(pid, SIGTERM);
  waitpid(pid, NULL, 0);
  XCloseDisplay(d);
  return status;
}
