#pragma once
// Bodies and socket tricks for the station's misbehaviours.

#include <string>
#include <string_view>

namespace orvane::station {

std::string RandomBytes(std::size_t count);
// The JPEG cut in the middle of its scan data (after the start-of-scan
// marker), so a decoder runs out of data while decoding pixels.
std::string CutJpegMidScan(std::string_view jpeg);
// The JPEG with its frame header patched to claim width x height.
std::string JpegClaimingSize(std::string_view jpeg, int width, int height);
// A PNG whose IHDR (with a valid CRC) claims width x height, followed by a
// little image data and IEND.
std::string PngClaimingSize(int width, int height);
// Resets (TCP RST) the accepted connection from remotePort on localPort:
// finds its socket, sets SO_LINGER to 0 and closes it.
bool ResetConnection(int localPort, int remotePort);

}  // namespace orvane::station
