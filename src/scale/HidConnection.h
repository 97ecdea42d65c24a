// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// Room for any input report with its report ID.
constexpr std::size_t MaxInputReportSize = 4096 + 1;

// One open HID device. Reports always begin with their report ID, 0x00 for a device that does not
// number its reports. Closing is destroying. One thread may read while another writes, as long as
// they use different connections.
class HidConnection {
public:
    virtual ~HidConnection() = default;

    // Writes one output report; returns the bytes taken, or -1 when the device refused it.
    virtual int Write(const std::uint8_t* report, std::size_t size) = 0;

    // Reads the oldest pending input report into buffer; waits up to timeoutMs (0: do not wait).
    // Returns its length, 0 when none came in time, or -1 when the device cannot be read (gone).
    virtual int Read(std::uint8_t* buffer, std::size_t size, int timeoutMs) = 0;
};
