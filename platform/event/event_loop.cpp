// SPDX-License-Identifier: MIT
#include "event_loop.h"

#include <signal.h>
#include <systemd/sd-event.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "platform/foundation/log.h"

namespace platform {

struct EventLoop::Source {
  std::function<void()> callback;
  std::function<void()> prepare;
  uint64_t interval = 0;
  OwnedEventSource source;
};

namespace {

Status check(int result, const char* what) {
  if (result < 0) return fail(std::string(what) + ": " + std::strerror(-result));
  return {};
}

// Runs a callback of the loop's; what it throws ends the loop instead of the process.
void guarded(sd_event* event, const std::function<void()>& callback) {
  try {
    callback();
  } catch (const std::exception& error) {
    logLine(error.what());
    sd_event_exit(event, 1);
  } catch (...) {
    logLine("an unknown error ended the event loop");
    sd_event_exit(event, 1);
  }
}

int onTimer(sd_event_source* source, uint64_t usec, void* userdata) {
  auto* entry = static_cast<EventLoop::Source*>(userdata);
  uint64_t now = 0;
  sd_event_now(sd_event_source_get_event(source), CLOCK_MONOTONIC, &now);
  uint64_t next = usec + entry->interval;
  if (next <= now) next = now + entry->interval;  // late: skip, keep the cadence from now
  sd_event_source_set_time(source, next);
  sd_event_source_set_enabled(source, SD_EVENT_ON);
  guarded(sd_event_source_get_event(source), entry->callback);
  return 0;
}

int onReadable(sd_event_source* source, int, uint32_t, void* userdata) {
  guarded(sd_event_source_get_event(source), static_cast<EventLoop::Source*>(userdata)->callback);
  return 0;
}

int onPrepare(sd_event_source* source, void* userdata) {
  guarded(sd_event_source_get_event(source), static_cast<EventLoop::Source*>(userdata)->prepare);
  return 0;
}

}  // namespace

EventLoop::EventLoop() {
  if (int result = sd_event_new(outPointer(event_)); result < 0) {
    logLine(std::string("cannot create the event loop: ") + std::strerror(-result));
    std::abort();
  }
}

EventLoop::~EventLoop() = default;

Status EventLoop::addRepeatingTimer(std::chrono::microseconds interval, std::function<void()> callback) {
  auto entry = std::make_unique<Source>();
  entry->callback = std::move(callback);
  entry->interval = static_cast<uint64_t>(interval.count());
  uint64_t now = 0;
  if (Status read = check(sd_event_now(event_.get(), CLOCK_MONOTONIC, &now), "cannot read the clock"); !read)
    return read;
  // An accuracy of 1 ms keeps the ten ticks a second where they belong
  // without waking the processor more often than needed.
  Status added = check(sd_event_add_time(event_.get(), outPointer(entry->source), CLOCK_MONOTONIC,
                                         now + entry->interval, 1000, onTimer, entry.get()),
                       "cannot add a timer");
  if (!added) return added;
  if (Status on = check(sd_event_source_set_enabled(entry->source.get(), SD_EVENT_ON), "cannot start a timer"); !on)
    return on;
  sources_.push_back(std::move(entry));
  return {};
}

Status EventLoop::addReadable(int fd, std::function<void()> callback, std::function<void()> beforeWait) {
  auto entry = std::make_unique<Source>();
  entry->callback = std::move(callback);
  entry->prepare = std::move(beforeWait);
  Status watched = check(sd_event_add_io(event_.get(), outPointer(entry->source), fd, EPOLLIN, onReadable, entry.get()),
                         "cannot watch a descriptor");
  if (!watched) return watched;
  if (entry->prepare) {
    Status prepared =
        check(sd_event_source_set_prepare(entry->source.get(), onPrepare), "cannot add a prepare callback");
    if (!prepared) return prepared;
  }
  sources_.push_back(std::move(entry));
  return {};
}

Status EventLoop::exitOnSignals(std::initializer_list<int> signals) {
  sigset_t blocked;
  sigemptyset(&blocked);
  for (int signal : signals) sigaddset(&blocked, signal);
  // sd-event takes only blocked signals, which it then reads from a signalfd.
  if (Status masked = check(-pthread_sigmask(SIG_BLOCK, &blocked, nullptr), "cannot block signals"); !masked)
    return masked;
  for (int signal : signals) {
    auto entry = std::make_unique<Source>();
    auto exitLoop = [](sd_event_source* source, const signalfd_siginfo*, void*) {
      return sd_event_exit(sd_event_source_get_event(source), 0);
    };
    Status added = check(sd_event_add_signal(event_.get(), outPointer(entry->source), signal, exitLoop, nullptr),
                         "cannot watch a signal");
    if (!added) return added;
    sources_.push_back(std::move(entry));
  }
  return {};
}

int EventLoop::run() {
  int result = sd_event_loop(event_.get());
  return result < 0 ? 1 : result;
}

void EventLoop::exit(int code) { sd_event_exit(event_.get(), code); }

void EventLoop::runOnce() { sd_event_run(event_.get(), UINT64_MAX); }

}  // namespace platform
