#include "peers/LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

int ListenOnLoopback(unsigned short& port, const char* who) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error(std::string(who) + ": socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || ::listen(fd, 4) < 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
    ::close(fd);
    throw std::runtime_error(std::string(who) + ": cannot listen on loopback");
  }
  port = ntohs(address.sin_port);
  return fd;
}
