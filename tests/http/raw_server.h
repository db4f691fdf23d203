#pragma once
// A few-line HTTP server on 127.0.0.1 for the cases the station does not
// serve: exact header bytes (a Set-Cookie without the blank), charsets,
// redirects to other schemes, a listener that never completes a handshake.
// Each route answers with raw bytes and closes the connection.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvane::testing {

class RawServer {
 public:
  // Answers a request (its raw text) with raw response bytes.
  using Handler = std::function<std::string(const std::string& request)>;

  // `accepting` false: the socket listens but nobody ever reads or answers
  // (the kernel still completes TCP connections into the backlog).
  explicit RawServer(bool accepting = true) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(fd_, 16);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    if (accepting) thread_ = std::thread([this] { Serve(); });
  }

  ~RawServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    ::close(fd_);
  }

  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  void Route(const std::string& path, Handler handler) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(handler);
  }
  void Route(const std::string& path, const std::string& response) {
    Route(path, [response](const std::string&) { return response; });
  }

  int port() const { return port_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::vector<std::string> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  // A whole response with a Content-Length.
  static std::string Response(const std::string& head, const std::string& body) {
    return "HTTP/1.1 " + head + "Content-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const int client = ::accept(fd_, nullptr, nullptr);
      if (client < 0) continue;
      Answer(client);
      ::close(client);
    }
  }

  void Answer(int client) {
    std::string request;
    char buf[4096];
    while (request.find("\r\n\r\n") == std::string::npos && !stop_) {
      pollfd p{client, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const ssize_t n = ::recv(client, buf, sizeof buf, 0);
      if (n <= 0) return;
      request.append(buf, static_cast<std::size_t>(n));
    }
    const std::size_t sp1 = request.find(' ');
    const std::size_t sp2 = request.find(' ', sp1 + 1);
    std::string path = request.substr(sp1 + 1, sp2 - sp1 - 1);
    path = path.substr(0, path.find('?'));
    Handler handler;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
      auto it = routes_.find(path);
      if (it != routes_.end()) handler = it->second;
    }
    const std::string response =
        handler ? handler(request) : Response("404 Not Found\r\n", "no such page");
    std::size_t sent = 0;
    while (sent < response.size()) {
      const ssize_t n =
          ::send(client, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<std::size_t>(n);
    }
  }

  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::map<std::string, Handler> routes_;
  std::vector<std::string> requests_;
};

}  // namespace orvane::testing
