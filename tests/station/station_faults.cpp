#include "station/station_faults.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <random>

namespace orvane::station {
namespace {

std::uint32_t Crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutBigEndian32(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>(v >> 16);
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v);
}

void PutChunk(std::string& out, std::string_view type, std::string_view data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  std::string typed(type);
  typed += data;
  out += typed;
  PutBigEndian32(out, Crc32(typed));
}

// Offset of the first byte after the marker FF <code>, or npos.
std::size_t FindMarker(std::string_view jpeg, unsigned char code) {
  for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF &&
        static_cast<unsigned char>(jpeg[i + 1]) == code) {
      return i + 2;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string RandomBytes(std::size_t count) {
  std::mt19937 rng(std::random_device{}());
  std::string bytes(count, '\0');
  for (char& b : bytes) b = static_cast<char>(rng() & 0xFF);
  return bytes;
}

std::string CutJpegMidScan(std::string_view jpeg) {
  std::size_t scan = FindMarker(jpeg, 0xDA);
  if (scan == std::string_view::npos) return std::string(jpeg.substr(0, jpeg.size() / 2));
  return std::string(jpeg.substr(0, scan + (jpeg.size() - scan) / 2));
}

std::string JpegClaimingSize(std::string_view jpeg, int width, int height) {
  std::string out(jpeg);
  for (unsigned char sof : {0xC0, 0xC1, 0xC2}) {
    std::size_t at = FindMarker(out, sof);
    if (at == std::string::npos || at + 7 > out.size()) continue;
    // length(2) precision(1) height(2) width(2)
    out[at + 3] = static_cast<char>(height >> 8);
    out[at + 4] = static_cast<char>(height & 0xFF);
    out[at + 5] = static_cast<char>(width >> 8);
    out[at + 6] = static_cast<char>(width & 0xFF);
    return out;
  }
  return out;
}

std::string PngClaimingSize(int width, int height) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string ihdr;
  PutBigEndian32(ihdr, static_cast<std::uint32_t>(width));
  PutBigEndian32(ihdr, static_cast<std::uint32_t>(height));
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  PutChunk(png, "IHDR", ihdr);
  // A stored (uncompressed) zlib stream of a few zero bytes: the start of row 0.
  PutChunk(png, "IDAT", std::string("\x78\x01\x01\x04\x00\xfb\xff\x00\x00\x00\x00", 11));
  PutChunk(png, "IEND", "");
  return png;
}

bool ResetConnection(int localPort, int remotePort) {
  // The scan looks at every descriptor of the process, other threads' too; it
  // only acts on the one whose addresses match, which belongs to the calling
  // worker and cannot be closed under it.
  for (int fd = 3; fd < 4096; ++fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISSOCK(st.st_mode)) continue;
    sockaddr_storage local{}, peer{};
    socklen_t localLen = sizeof local, peerLen = sizeof peer;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLen) != 0) continue;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLen) != 0) continue;
    if (local.ss_family != AF_INET || peer.ss_family != AF_INET) continue;
    auto* l = reinterpret_cast<sockaddr_in*>(&local);
    auto* p = reinterpret_cast<sockaddr_in*>(&peer);
    if (ntohs(l->sin_port) != localPort || ntohs(p->sin_port) != remotePort) continue;
    // With a zero linger time the last close of the connection sends RST. The
    // server would shut the socket down (FIN) before closing it, so the
    // connection is closed here: dup2 swaps in an unconnected socket under the
    // same descriptor, which the server then shuts down and closes harmlessly.
    linger hard{1, 0};
    if (setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard) != 0) return false;
    int standIn = socket(AF_INET, SOCK_STREAM, 0);
    if (standIn < 0) return false;
    bool swapped = dup2(standIn, fd) == fd;
    close(standIn);
    return swapped;
  }
  return false;
}

}  // namespace orvane::station
