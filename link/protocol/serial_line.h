// Line facts of the serial link, free of I/O: the baud-rate table, the time
// characters take on the line and the terminal settings a port is given.
#pragma once

#include <termios.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "zelvo/serial_tables.h"

namespace zelvo {

using tables::kBaudRates;
// Index used when probing ports for the port list.
inline constexpr uint16_t kProbeBaudIndex = tables::kDefaultBaudIndex;
using tables::kBitsPerCharacter;

std::optional<unsigned> baudRate(uint16_t baudIndex);
// The rate a terminal speed constant stands for, for the rates of the table; none otherwise.
std::optional<unsigned> baudOfSpeed(speed_t speed);

// Time the given number of characters occupy the line at the baud rate.
std::chrono::microseconds lineTime(std::size_t characters, unsigned baud);

// The settings a port gets from its current ones: the indexed baud rate, 8 data
// bits, odd parity (none when withParity is false), one stop bit, no hardware
// handshake, receiver on and modem status ignored.  The link carries binary
// frames, so a terminal's line editing, echo, signal characters, software flow
// control and character translations are switched off; everything else is kept.
// None for an index outside the table.
std::optional<termios> lineSettings(const termios& current, uint16_t baudIndex, bool withParity);

}  // namespace zelvo
