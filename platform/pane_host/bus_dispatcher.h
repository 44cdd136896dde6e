// SPDX-License-Identifier: MIT
#pragma once
// Services a notification centre's bus connection from Qt's event loop: the
// bus drops a connection whose handshake is left unfinished, and one that is
// never read fills up with the bus's own messages, so a window that stays
// open for hours must read it as it goes.
#include <QSocketNotifier>
#include <QTimer>

namespace platform {

class DistributedNotificationCenter;

class QtBusDispatcher {
 public:
  explicit QtBusDispatcher(DistributedNotificationCenter& center);
  ~QtBusDispatcher();
  QtBusDispatcher(const QtBusDispatcher&) = delete;
  QtBusDispatcher& operator=(const QtBusDispatcher&) = delete;

 private:
  void follow();
  void retireNotifiers();

  DistributedNotificationCenter& center_;
  int fd_ = -1;
  QSocketNotifier* readable_ = nullptr;
  QSocketNotifier* writable_ = nullptr;
  QTimer timer_;
};

}  // namespace platform
