// Building command records and sending them to the driver.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "zelvo/driver/driver.h"
#include "zelvo/zdev_record.h"

namespace zelvo::zdev {

// A record for command with the given payload, with room for `room` data
// bytes in the reply (at least the payload's size).
std::vector<uint8_t> makeRecord(DriverCommand command, uint32_t length,
                                std::span<const uint8_t> payload = {}, std::size_t room = 0);

struct Completed {
    bool ok;          // the driver completed the record with success
    uint32_t length;  // data bytes in the completed record
};
// Sends the first inSize bytes of record; the completed record replaces it.
Completed sendRecord(driver::FileHandle handle, std::span<uint8_t> record, std::size_t inSize);
// A record of command with a 4-byte payload word; true on success.
bool sendWord(driver::FileHandle handle, DriverCommand command, uint32_t word);

uint32_t recordLength(std::span<const uint8_t> record);

}  // namespace zelvo::zdev
