// Preloaded into the program by the interrupt tests, so that an interrupt
// arrives at one exact instant: SHIM_SIGNAL is raised right after call
// number SHIM_NTH (default 1) of SHIM_AFTER (rename or mkstemp), or that call
// fails with EIO when SHIM_SIGNAL is 0; SHIM_AFTER=exit raises it from an
// exit handler that runs after the program's own. SHIM_PLANT=NAME:TARGET
// makes the link NAME -> TARGET just before the program opens NAME, as a
// rival who wins the race between the program's checks and its open would.

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace {

int SignalNumber() {
  const char* text = std::getenv("SHIM_SIGNAL");
  return text != nullptr ? std::atoi(text) : 0;
}

bool Chosen(const char* call) {
  static int count = 0;
  const char* after = std::getenv("SHIM_AFTER");
  if (after == nullptr || std::strcmp(after, call) != 0) return false;
  const char* nth = std::getenv("SHIM_NTH");
  return ++count == (nth != nullptr ? std::atoi(nth) : 1);
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

__attribute__((constructor)) void RaiseAtExit() {
  const char* after = std::getenv("SHIM_AFTER");
  if (after != nullptr && std::strcmp(after, "exit") == 0) std::atexit([] { std::raise(SignalNumber()); });
}

}  // namespace

extern "C" int rename(const char* from, const char* to) {
  const bool chosen = Chosen("rename");
  if (chosen && SignalNumber() == 0) {
    errno = EIO;
    return -1;
  }
  const int result = Real<int (*)(const char*, const char*)>("rename")(from, to);
  if (chosen) std::raise(SignalNumber());
  return result;
}

extern "C" int mkstemp(char* pattern) {
  const bool chosen = Chosen("mkstemp");
  const int result = Real<int (*)(char*)>("mkstemp")(pattern);
  if (chosen) std::raise(SignalNumber());
  return result;
}

namespace {

void Plant(const char* path) {
  const char* plant = std::getenv("SHIM_PLANT");
  const char* colon = plant != nullptr ? std::strchr(plant, ':') : nullptr;
  const auto length = static_cast<std::size_t>(colon != nullptr ? colon - plant : 0);
  if (colon != nullptr && std::strncmp(path, plant, length) == 0 && path[length] == '\0') {
    [[maybe_unused]] const int ignored = symlink(colon + 1, path);
  }
}

}  // namespace

extern "C" int open(const char* path, int flags, ...) {
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0) {
    va_list args;
    va_start(args, flags);
    mode = va_arg(args, mode_t);
    va_end(args);
  }
  Plant(path);
  return Real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}
