// SPDX-License-Identifier: MIT
#include "bus_dispatcher.h"

#include <chrono>

#include "platform/bus/notification_center.h"

namespace platform {

QtBusDispatcher::QtBusDispatcher(DistributedNotificationCenter& center) : center_(center) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { center_.process(); });
  center_.setWaitChanged([this] { follow(); });
  follow();
}

QtBusDispatcher::~QtBusDispatcher() {
  center_.setWaitChanged({});
  delete readable_;
  delete writable_;
}

void QtBusDispatcher::retireNotifiers() {
  // Possibly called from a notifier's own signal: disabled now, deleted later.
  for (QSocketNotifier* notifier : {readable_, writable_}) {
    if (!notifier) continue;
    notifier->setEnabled(false);
    notifier->deleteLater();
  }
  readable_ = writable_ = nullptr;
}

void QtBusDispatcher::follow() {
  const DistributedNotificationCenter::Wait wait = center_.wait();
  if (wait.fd != fd_) {
    // A connection that ended or was made anew.
    retireNotifiers();
    fd_ = wait.fd;
    if (fd_ >= 0) {
      readable_ = new QSocketNotifier(fd_, QSocketNotifier::Read);
      writable_ = new QSocketNotifier(fd_, QSocketNotifier::Write);
      for (QSocketNotifier* notifier : {readable_, writable_})
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this] { center_.process(); });
    }
  }
  if (readable_) readable_->setEnabled(wait.readable);
  if (writable_) writable_->setEnabled(wait.writable);
  if (wait.timeout)
    timer_.start(std::chrono::ceil<std::chrono::milliseconds>(*wait.timeout));
  else
    timer_.stop();
}

}  // namespace platform
