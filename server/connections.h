// The open connections of the HTTP front, whatever library serves them: how many
// each client address holds, and how long each may take over a request.
#pragma once
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "address.h"
#include "deadlines.h"

namespace pondaro::scores {

class Connections {
 public:
  struct Connection {
    std::string peer;
    std::string key;  // what the cap counts: the address, an IPv6 address's /64
    int fd = -1;
    SocketDeadlines::Id deadline = 0;
    std::string target;  // of the request being read, as it arrived
  };

  // `perAddress` 0: no cap; an IPv6 /64 counts as one address. Addresses in `uncapped` (the trusted proxies, which
  // carry everybody's connections) have none either. A request, from the
  // connection's start or the end of the previous reply to its last byte, must
  // arrive within `requestTime`, however it trickles in.
  Connections(int perAddress, std::chrono::milliseconds requestTime, std::vector<Network> uncapped);

  // Whether `peer` may open one more.
  bool MayOpen(const std::string& peer);
  Connection* Opened(const std::string& peer, int fd);
  // The request is in: no deadline while it is answered.
  void Received(Connection* c);
  // The reply is out: the next request has `requestTime` again.
  void Replied(Connection* c);
  void Closed(Connection* c);
  size_t Count();

 private:
  void Arm(Connection* c);

  int perAddress_;
  std::chrono::milliseconds requestTime_;
  std::vector<Network> uncapped_;
  std::mutex mutex_;
  std::unordered_map<std::string, int> open_;
  size_t total_ = 0;
  SocketDeadlines deadlines_;
};

}  // namespace pondaro::scores
