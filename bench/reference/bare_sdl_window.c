/* bare_sdl_window: the least an SDL2 program does to show a screen, as a yardstick for the
 * program's own start-up time, memory and idle CPU.
 *
 * It opens one window (480x640 unless told otherwise), fills it through the window surface,
 * presents that one frame and then sleeps in SDL's event wait until the window is closed,
 * Ctrl+Q is pressed or the given number of seconds has passed. Expose events present again.
 *
 * Framebuffer acceleration is off (SDL_HINT_FRAMEBUFFER_ACCELERATION "0"), because SDL's default
 * window framebuffer loads OpenGL and costs ~90 MB; --accelerated leaves SDL's default.
 *
 * On standard error, after the first present:
 *   first-present-ms=<n>        from process start (/proc/self/stat, clock ticks: 10 ms steps)
 *   first-present-clock-ms=<n>  CLOCK_MONOTONIC at the present, for a caller that noted the
 *                               same clock just before exec and wants finer than 10 ms
 *
 * Usage: bare_sdl_window [--seconds N] [--size WxH] [--title TEXT] [--accelerated]
 */
#define _GNU_SOURCE
#include <SDL.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double ClockMs(clockid_t clock) {
  struct timespec t;
  clock_gettime(clock, &t);
  return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

/* Milliseconds since this process started, or -1. Field 22 of /proc/self/stat is the start
 * time in clock ticks since boot, counted on the clock that CLOCK_BOOTTIME reads. */
static double SinceProcessStartMs(void) {
  FILE* f = fopen("/proc/self/stat", "r");
  if (!f) return -1;
  char line[1024];
  const int ok = fgets(line, sizeof line, f) != NULL;
  fclose(f);
  if (!ok) return -1;
  const char* p = strrchr(line, ')'); /* the command name may hold spaces */
  if (!p) return -1;
  unsigned long long start = 0;
  /* After ')': state(3) ppid pgrp session tty_nr tpgid flags minflt cminflt majflt cmajflt utime
   * stime cutime cstime priority nice num_threads itrealvalue starttime(22). */
  if (sscanf(p + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
             &start) != 1)
    return -1;
  const long ticks = sysconf(_SC_CLK_TCK);
  return ClockMs(CLOCK_BOOTTIME) - (double)start * 1e3 / (double)ticks;
}

static void Usage(const char* program) {
  fprintf(stderr, "usage: %s [--seconds N] [--size WxH] [--title TEXT] [--accelerated]\n", program);
  exit(2);
}

int main(int argc, char** argv) {
  double seconds = 0; /* 0: until closed */
  int width = 480, height = 640, accelerated = 0;
  const char* title = "bare_sdl_window";
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = atof(argv[++i]);
    } else if (strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
      if (sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) Usage(argv[0]);
    } else if (strcmp(argv[i], "--title") == 0 && i + 1 < argc) {
      title = argv[++i];
    } else if (strcmp(argv[i], "--accelerated") == 0) {
      accelerated = 1;
    } else {
      Usage(argv[0]);
    }
  }

  if (!accelerated) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                                        height, SDL_WINDOW_SHOWN);
  SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : NULL;
  if (!surface) {
    fprintf(stderr, "window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  /* The program's gradient top colour, so a screenshot shows which program drew. */
  SDL_FillRect(surface, NULL, SDL_MapRGB(surface->format, 0x5C, 0x62, 0x68));
  if (SDL_UpdateWindowSurface(window) != 0) {
    fprintf(stderr, "SDL_UpdateWindowSurface: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  const double presentedAt = ClockMs(CLOCK_MONOTONIC);
  fprintf(stderr, "first-present-ms=%.1f\nfirst-present-clock-ms=%.3f\n", SinceProcessStartMs(), presentedAt);

  const double deadline = presentedAt + seconds * 1e3;
  for (int running = 1; running;) {
    int wait = -1;
    if (seconds > 0) {
      const double left = deadline - ClockMs(CLOCK_MONOTONIC);
      if (left <= 0) break;
      wait = (int)left + 1;
    }
    SDL_Event event;
    const int got = wait < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, wait);
    if (!got) continue; /* the time-out; the loop head decides */
    switch (event.type) {
      case SDL_QUIT:
        running = 0;
        break;
      case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_q && (event.key.keysym.mod & KMOD_CTRL)) running = 0;
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) SDL_UpdateWindowSurface(window);
        break;
      default:
        break;
    }
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
