#include "protocol/serial_line.h"

namespace zelvo {
namespace {

constexpr std::array<speed_t, kBaudRates.size()> kSpeeds = {B300, B600, B1200, B2400, B4800, B9600};

}  // namespace

std::optional<unsigned> baudRate(uint16_t baudIndex) {
    if (baudIndex >= kBaudRates.size()) return std::nullopt;
    return kBaudRates[baudIndex];
}

std::optional<unsigned> baudOfSpeed(speed_t speed) {
    for (std::size_t i = 0; i < kSpeeds.size(); ++i)
        if (kSpeeds[i] == speed) return kBaudRates[i];
    return std::nullopt;
}

std::chrono::microseconds lineTime(std::size_t characters, unsigned baud) {
    const auto bits = static_cast<int64_t>(characters) * kBitsPerCharacter;
    return std::chrono::microseconds(bits * 1'000'000 / baud);
}

std::optional<termios> lineSettings(const termios& current, uint16_t baudIndex, bool withParity) {
    if (baudIndex >= kSpeeds.size()) return std::nullopt;
    termios t = current;
    cfsetispeed(&t, kSpeeds[baudIndex]);
    cfsetospeed(&t, kSpeeds[baudIndex]);

    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    if (withParity) t.c_cflag |= PARENB | PARODD;

    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                        IUCLC | IXON | IXOFF | IXANY | IMAXBEL);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    return t;
}

}  // namespace zelvo
