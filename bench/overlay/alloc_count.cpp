// SPDX-License-Identifier: MIT
// Preloaded into RetikonX by run_bench: counts the calls that allocate from
// the C heap (operator new comes here too) and, on SIGUSR1, writes the count
// so far to the file named by RETIKON_ALLOC_COUNT_FILE.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<unsigned long> allocations{0};

using MallocFn = void* (*)(size_t);
using CallocFn = void* (*)(size_t, size_t);
using ReallocFn = void* (*)(void*, size_t);
using MemalignFn = int (*)(void**, size_t, size_t);
using AlignedAllocFn = void* (*)(size_t, size_t);
using FreeFn = void (*)(void*);

MallocFn realMalloc;
CallocFn realCalloc;
ReallocFn realRealloc;
MemalignFn realMemalign;
AlignedAllocFn realAlignedAlloc;
FreeFn realFree;

// dlsym itself may ask calloc for memory before realCalloc is known.
char bootstrap[4096];
size_t bootstrapUsed;

void* fromBootstrap(size_t size) {
  size = (size + 15) & ~size_t{15};
  if (bootstrapUsed + size > sizeof bootstrap) return nullptr;
  void* p = bootstrap + bootstrapUsed;
  bootstrapUsed += size;
  return p;
}

bool inBootstrap(void* p) {
  return static_cast<char*>(p) >= bootstrap && static_cast<char*>(p) < bootstrap + sizeof bootstrap;
}

void report(int) {
  const char* path = getenv("RETIKON_ALLOC_COUNT_FILE");
  if (!path) return;
  char text[32];
  const int length = snprintf(text, sizeof text, "%lu\n", allocations.load());
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return;
  if (write(fd, text, static_cast<size_t>(length)) < 0) {
  }
  close(fd);
}

bool resolving;

// Looked up on first use, since other libraries' constructors allocate
// before this one's would run; dlsym's own early calloc is served from the
// static block.
void resolve() {
  if (realMalloc || resolving) return;
  resolving = true;
  realCalloc = reinterpret_cast<CallocFn>(dlsym(RTLD_NEXT, "calloc"));
  realRealloc = reinterpret_cast<ReallocFn>(dlsym(RTLD_NEXT, "realloc"));
  realMemalign = reinterpret_cast<MemalignFn>(dlsym(RTLD_NEXT, "posix_memalign"));
  realAlignedAlloc = reinterpret_cast<AlignedAllocFn>(dlsym(RTLD_NEXT, "aligned_alloc"));
  realFree = reinterpret_cast<FreeFn>(dlsym(RTLD_NEXT, "free"));
  realMalloc = reinterpret_cast<MallocFn>(dlsym(RTLD_NEXT, "malloc"));
  resolving = false;
}

__attribute__((constructor)) void start() {
  resolve();
  struct sigaction action {};
  action.sa_handler = report;
  action.sa_flags = SA_RESTART;
  sigaction(SIGUSR1, &action, nullptr);
}

}  // namespace

extern "C" {

void* malloc(size_t size) {
  resolve();
  if (!realMalloc) return fromBootstrap(size);
  allocations.fetch_add(1, std::memory_order_relaxed);
  return realMalloc(size);
}

void* calloc(size_t count, size_t size) {
  resolve();
  if (!realCalloc) return fromBootstrap(count * size);  // static storage is zeroed
  allocations.fetch_add(1, std::memory_order_relaxed);
  return realCalloc(count, size);
}

void free(void* p) {
  resolve();
  if (p && !inBootstrap(p) && realFree) realFree(p);
}

void* realloc(void* p, size_t size) {
  if (inBootstrap(p)) return nullptr;  // never asked of the few early blocks
  resolve();
  allocations.fetch_add(1, std::memory_order_relaxed);
  return realRealloc(p, size);
}

int posix_memalign(void** p, size_t alignment, size_t size) {
  resolve();
  allocations.fetch_add(1, std::memory_order_relaxed);
  return realMemalign(p, alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size) {
  resolve();
  allocations.fetch_add(1, std::memory_order_relaxed);
  return realAlignedAlloc(alignment, size);
}

}
